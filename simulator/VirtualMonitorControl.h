#pragma once

/* Extra exports of the virtual monitor (our stand-in for the hub maker's
 * library) for tests, the demo and the simulated platform layer: load a
 * world, inject faults, read the emulated state back. */

#include <stdint.h>

#if defined(_WIN32)
#define VM_API __declspec(dllexport)
#define VM_CALL __cdecl
#else
#define VM_API __attribute__((visibility("default")))
#define VM_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Replace the whole world by a JSON description. 1 on success; on a bad
 * description 0, the world unchanged and VM_LastError() telling why. */
VM_API int32_t VM_CALL VM_LoadDescription(const char* json);
VM_API int32_t VM_CALL VM_LoadDescriptionFile(const char* path);
/* The description file found beside the executable at load time, or "". */
VM_API const char* VM_CALL VM_DescriptionPath(void);
VM_API const char* VM_CALL VM_LastError(void);

/* Faults, by name; value 0 switches one off. Deterministic: counts and
 * percentages are drawn from a seeded generator ("seed"). Names:
 *   corruptReplyPercent, dropReplyPercent   every I2C reply, in percent
 *   corruptReplies, dropReplies             the next N I2C replies
 *   wrongOffsetFragments                    the next N capabilities fragments
 *   refuseMemoryWrites                      the next N vendor memory writes
 *   failStatus, failSpeed, failLocation     the queries fail (1) for every device
 *   failSpeedAtIndex                        only the device at index value-1 fails
 *   hubGone                                 every device has disappeared
 *   hubGoneAfterTransfers                   the devices disappear after N I2C transfers
 *   firmwareFailAtPercent                   a firmware write fails at that percentage
 *   refuseBusConfig                         the I2C configuration request fails
 *   seed                                    seed of the generator
 */
VM_API int32_t VM_CALL VM_SetFault(const char* name, int32_t value);
VM_API void VM_CALL VM_ClearFaults(void);

/* The emulated state. Monitors are numbered in description order. */
VM_API int32_t VM_CALL VM_MonitorCount(void);
VM_API int32_t VM_CALL VM_GetScalarFirmware(int32_t monitor, int32_t* major, int32_t* minor);
VM_API int32_t VM_CALL VM_GetHubFirmware(int32_t monitor);
VM_API int32_t VM_CALL VM_ReadMemory(int32_t monitor, int32_t address, uint8_t* out,
                                     int32_t length);
VM_API int32_t VM_CALL VM_WriteMemory(int32_t monitor, int32_t address, const uint8_t* data,
                                      int32_t length);
VM_API int32_t VM_CALL VM_FactoryResetCount(int32_t monitor);

/* What the operating system would report of a monitor (for the simulated
 * platform layer): its EDID (length returned, at most capacity copied), the
 * output technology in Windows' numbering and whether it answers DDC/CI. */
VM_API int32_t VM_CALL VM_GetMonitorEdid(int32_t monitor, uint8_t* out, int32_t capacity);
VM_API int32_t VM_CALL VM_GetMonitorOutputTechnology(int32_t monitor);
VM_API int32_t VM_CALL VM_GetMonitorDdc(int32_t monitor);

/* The log of requests that reached the vendor library, one text line each,
 * e.g. "CtlPipeOut 40 C6 51 00 00 00 05 00 | 83 F3 00 00 FF". */
VM_API int32_t VM_CALL VM_RequestCount(void);
VM_API int32_t VM_CALL VM_GetRequest(int32_t index, char* out, int32_t capacity);
VM_API void VM_CALL VM_ClearRequestLog(void);

/* The arguments of the last firmware write: kind 0 hub, 1 scalar. */
VM_API int32_t VM_CALL VM_LastUpdateArguments(int32_t kind, int32_t* length, int32_t* params5);

#ifdef __cplusplus
}
#endif
