#pragma once

/* The bridge to the monitor's USB hub: hub enumeration, I2C transfers to the
 * monitor's scalar and the two firmware writers. Plain C linkage, cdecl,
 * undecorated names, 32-bit arguments and results. */

#include <stdint.h>

#if defined(_WIN32)
#define HUBBRIDGE_CALL __cdecl
#if defined(HUBBRIDGE_BUILD)
#define HUBBRIDGE_API __declspec(dllexport)
#else
#define HUBBRIDGE_API __declspec(dllimport)
#endif
#else
#define HUBBRIDGE_CALL
#define HUBBRIDGE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Filled by the vendor library and handed to the progress callback. Only
 * total (byte offset 8) and done (byte offset 12) are read by Panelup. */
typedef struct HubProgressRecord {
    int32_t reserved0;
    int32_t reserved1;
    int32_t total;
    int32_t done;
} HubProgressRecord;

#ifdef __cplusplus
static_assert(sizeof(HubProgressRecord) == 16, "total at offset 8, done at offset 12");
#endif

/* Called by the firmware writers with a HubProgressRecord. The result carries
 * no meaning. */
typedef int32_t(HUBBRIDGE_CALL* HubProgressCallback)(void* record);

/* Error codes kept in the sticky last-error value. */
enum {
    HUBBRIDGE_ERROR_BUS_CONFIG = 40000,
    HUBBRIDGE_ERROR_LIBRARY_MISSING = 40003,
    HUBBRIDGE_ERROR_BIND = 40004,
    HUBBRIDGE_ERROR_SPEED_QUERY = 40005,
    HUBBRIDGE_ERROR_STATUS_QUERY = 40006
};

/* The longest hub description GetHIDDev writes, terminating zero included. */
#define HUBBRIDGE_DESCRIPTION_SIZE 256

HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetLastErrorCode(void);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL AvailableDevices(void);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL OpenDevice(int32_t index);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetHIDDev(char* text, int32_t* index, int32_t* superSpeed);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL CloseDevice(void);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL SetBusSpeed(int32_t slaveAddress, int32_t memoryAddressLength,
                                                 int32_t speed);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetfwVersion(void);
/* Only the low byte of length counts. */
HUBBRIDGE_API int32_t HUBBRIDGE_CALL ReadI2C(uint32_t address, uint8_t* buffer, int32_t length);
/* Only the low 16 bits of length count. */
HUBBRIDGE_API int32_t HUBBRIDGE_CALL WriteI2C(uint32_t address, const uint8_t* buffer,
                                              int32_t length);
/* 0 means success for both writers. */
HUBBRIDGE_API int32_t HUBBRIDGE_CALL UpdateScalar(const uint8_t* image, int32_t length, int32_t p1,
                                                  int32_t p2, int32_t p3, int32_t p4, int32_t p5,
                                                  HubProgressCallback progress, void* context);
HUBBRIDGE_API int32_t HUBBRIDGE_CALL UpdateHubFW(const uint8_t* image, int32_t length,
                                                 HubProgressCallback progress, void* context);

#ifdef __cplusplus
}
#endif
