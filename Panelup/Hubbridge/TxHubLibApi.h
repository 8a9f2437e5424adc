#pragma once

/* The entry points of the hub maker's vendor library as Hubbridge binds them.
 * Our virtual monitor (simulator/) implements the same names. */

#include "Hubbridge.h"

#include <stdint.h>

#if defined(_WIN32)
#define TXHUB_CALL __cdecl
#else
#define TXHUB_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* TvHubHandle;

typedef TvHubHandle(TXHUB_CALL* TvHub_Open_t)(uint32_t* index);
typedef int32_t(TXHUB_CALL* TvHub_Close_t)(TvHubHandle device);
typedef int32_t(TXHUB_CALL* TvHub_VdCmdEnable_t)(TvHubHandle device, int32_t enable);
typedef int32_t(TXHUB_CALL* TvHub_Status_t)(TvHubHandle device, uint8_t* buffer, int32_t length);
typedef int32_t(TXHUB_CALL* TvHub_Speed_t)(TvHubHandle device, uint32_t* speed);
typedef int32_t(TXHUB_CALL* TvHub_GetLocation_t)(TvHubHandle device, uint32_t* port,
                                                 uint32_t* parent);
typedef int32_t(TXHUB_CALL* TvHub_CtlPipeNoDataOut_t)(TvHubHandle device, const uint8_t* setup);
typedef int32_t(TXHUB_CALL* TvHub_CtlPipeOut_t)(TvHubHandle device, const uint8_t* setup,
                                                const uint8_t* data, int32_t length);
typedef int32_t(TXHUB_CALL* TvHub_CtlPipeIn_t)(TvHubHandle device, const uint8_t* setup,
                                               uint8_t* buffer, int32_t length);
typedef int32_t(TXHUB_CALL* TvHub_UpdateScalar_t)(const uint8_t* image, int32_t length, int32_t p1,
                                                  int32_t p2, int32_t p3, int32_t p4, int32_t p5,
                                                  HubProgressCallback progress, void* context);
typedef int32_t(TXHUB_CALL* TvHub_UpdateFW_t)(const uint8_t* image, int32_t length,
                                              HubProgressCallback progress, void* context);
/* The entries that are bound but never called. */
typedef int32_t(TXHUB_CALL* TvHub_Unused_t)(void);

/* The 28 names, in binding order. X(name, type). */
#define TXHUB_FUNCTIONS(X)                                                                         \
    X(TvHub_Open, TvHub_Open_t)                                                                    \
    X(TvHub_Close, TvHub_Close_t)                                                                  \
    X(TvHub_SendDescriptorRequest, TvHub_Unused_t)                                                 \
    X(TvHub_SWReset, TvHub_Unused_t)                                                               \
    X(TvHub_FWReset, TvHub_Unused_t)                                                               \
    X(TvHub_ResetCode, TvHub_Unused_t)                                                             \
    X(TvHub_WriteFlash2, TvHub_Unused_t)                                                           \
    X(TvHub_ReadFlash2, TvHub_Unused_t)                                                            \
    X(TvHub_EraseFlash2, TvHub_Unused_t)                                                           \
    X(TvHub_VdCmdEnable, TvHub_VdCmdEnable_t)                                                      \
    X(TvHub_Status, TvHub_Status_t)                                                                \
    X(TvHub_Speed, TvHub_Speed_t)                                                                  \
    X(TvHub_PortStatus, TvHub_Unused_t)                                                            \
    X(TvHub_GetLocation, TvHub_GetLocation_t)                                                      \
    X(TvMultiHub_Open, TvHub_Unused_t)                                                             \
    X(TvMultiHub_TurnOffSS, TvHub_Unused_t)                                                        \
    X(TvHub_ReadMem, TvHub_Unused_t)                                                               \
    X(TvHub_CtlPipeOut, TvHub_CtlPipeOut_t)                                                        \
    X(TvHub_CtlPipeIn, TvHub_CtlPipeIn_t)                                                          \
    X(TvHub_CtlPipeNoDataOut, TvHub_CtlPipeNoDataOut_t)                                            \
    X(TvHub_GetVendorSetting, TvHub_Unused_t)                                                      \
    X(TvHub_ReadEEPROM, TvHub_Unused_t)                                                            \
    X(TvHub_WriteEEPROM, TvHub_Unused_t)                                                           \
    X(TvHub_WriteEfuse, TvHub_Unused_t)                                                            \
    X(TvHub_ReadEfuse, TvHub_Unused_t)                                                             \
    X(TvHub_GetAddrCheckSum, TvHub_Unused_t)                                                       \
    X(TvHub_UpdateScalar, TvHub_UpdateScalar_t)                                                    \
    X(TvHub_UpdateFW, TvHub_UpdateFW_t)

#ifdef __cplusplus
}
#endif
