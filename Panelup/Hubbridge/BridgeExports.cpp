#include "BridgeState.h"
#include "Hubbridge.h"

#include <cstdio>

namespace {

// The exports are C functions, outside the library's namespace.
using hubbridge::CMpFlow;
using hubbridge::theBridge;

// Returned by the firmware writers when the vendor writer cannot be reached
// (0 would read as success).
constexpr int32_t kUpdateUnavailable = HUBBRIDGE_ERROR_LIBRARY_MISSING;

bool scanReady(const CMpFlow& flow) {
    if (flow.canScan()) {
        return true;
    }
    flow.DebugLog(flow.loaded ? " TxHubLib lacks the device entries.\n"
                              : " TxHubLib is not loaded.\n");
    return false;
}

} // namespace

extern "C" {

HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetLastErrorCode(void) {
    return theBridge().lastError;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL AvailableDevices(void) {
    CMpFlow& flow = theBridge();
    if (!scanReady(flow)) {
        return 0;
    }
    int32_t superSpeedCount = 0;
    uint32_t index = 0;
    while (superSpeedCount < int32_t{CMpFlow::kDeviceIndexLimit} &&
           flow.MP_MultiOpenDevice_USB3(index)) {
        ++index;
        ++superSpeedCount;
        flow.releaseDevice();
    }
    int32_t usb2Count = 0;
    index = 0;
    while (usb2Count < int32_t{CMpFlow::kDeviceIndexLimit} && flow.MP_MultiOpenDevice_USB2(index)) {
        ++index;
        ++usb2Count;
        flow.releaseDevice();
    }
    if (superSpeedCount > 0) {
        flow.DebugLog("Get Usb3.0 Hub Devices=%d \n", superSpeedCount);
    }
    flow.DebugLog("Get Available Devices=%d \n", usb2Count);
    return usb2Count;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL OpenDevice(int32_t index) {
    CMpFlow& flow = theBridge();
    if (!scanReady(flow)) {
        return 0;
    }
    if (flow.deviceOpen) {
        flow.releaseDevice();
    }
    uint32_t scanIndex = static_cast<uint32_t>(index);
    flow.deviceOpen = flow.MP_MultiOpenDevice(scanIndex);
    return flow.deviceOpen ? 1 : 0;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetHIDDev(char* text, int32_t* index, int32_t* superSpeed) {
    CMpFlow& flow = theBridge();
    if (!text || !index) {
        flow.DebugLog(" GetHIDDev needs a text buffer and an index.\n");
        return 0;
    }
    if (!scanReady(flow)) {
        return 0;
    }
    const int32_t requested = *index;
    uint32_t scanIndex = static_cast<uint32_t>(requested);
    int32_t result = 0;
    if (flow.MP_MultiOpenDevice(scanIndex)) {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        uint16_t version = 0;
        uint32_t version32 = 0;
        flow.GetBasicInfo(vendorId, productId, version, version32);

        uint32_t speed = 2;
        flow.functions.TvHub_Speed(flow.device, &speed);
        if (superSpeed && speed == 3) {
            *superSpeed = 1;
        } else if (superSpeed && speed == 2) {
            *superSpeed = 0;
        }

        uint32_t port = 0;
        uint32_t parent = 0;
        if (flow.functions.TvHub_GetLocation &&
            flow.functions.TvHub_GetLocation(flow.device, &port, &parent) == 0) {
            // Bounded by the documented size whatever the numbers are.
            std::snprintf(text, HUBBRIDGE_DESCRIPTION_SIZE,
                          "Hub %d - USB\\VID_%04X&PID_%04X&Rev_%04x - port %d, parent %d",
                          static_cast<int>(requested), static_cast<unsigned>(vendorId),
                          static_cast<unsigned>(productId), static_cast<unsigned>(version),
                          static_cast<int>(port), static_cast<int>(parent));
            result = 1;
        }
    }
    flow.releaseDevice();
    *index = static_cast<int32_t>(scanIndex);
    return result;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL CloseDevice(void) {
    CMpFlow& flow = theBridge();
    if (!flow.loaded) {
        return 0;
    }
    flow.releaseDevice();
    return 1;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL SetBusSpeed(int32_t slaveAddress, int32_t memoryAddressLength,
                                                 int32_t speed) {
    CMpFlow& flow = theBridge();
    if (!flow.deviceOpen) {
        flow.DebugLog("     Invalid Handle on set_BusSpeed function .");
        return 0;
    }
    return flow.USB2I2C_Config(static_cast<uint8_t>(slaveAddress & 0xFF),
                               static_cast<uint8_t>(memoryAddressLength & 0xFF),
                               static_cast<uint8_t>(speed & 0xFF))
               ? 1
               : 0;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL GetfwVersion(void) {
    CMpFlow& flow = theBridge();
    if (!flow.deviceOpen) {
        flow.DebugLog(" Device has not been opened before Get Firmware Version Function.");
        return 0;
    }
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    uint32_t version32 = 0;
    if (!flow.GetBasicInfo(vendorId, productId, version, version32)) {
        flow.DebugLog(" Hub GetBasicInfo fail.\n");
        return 0;
    }
    return version;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL ReadI2C(uint32_t address, uint8_t* buffer, int32_t length) {
    CMpFlow& flow = theBridge();
    flow.DebugLog("Read 5830 USB2I2C function ... \n");
    if (!flow.loaded) {
        flow.DebugLog("     Invalid Handle.");
        return 0;
    }
    if (!flow.deviceOpen) {
        return 0;
    }
    // The count is one byte wide.
    return flow.USB2I2C_Read(address, buffer, static_cast<uint16_t>(length & 0xFF)) ? 1 : 0;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL WriteI2C(uint32_t address, const uint8_t* buffer,
                                              int32_t length) {
    CMpFlow& flow = theBridge();
    flow.DebugLog("Write 5830 I2C function... \n");
    if (!flow.loaded) {
        flow.DebugLog("     Invalid Handle.");
        return 0;
    }
    if (!flow.deviceOpen) {
        return 0;
    }
    return flow.USB2I2C_Write(address, buffer, static_cast<uint16_t>(length & 0xFFFF)) ? 1 : 0;
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL UpdateScalar(const uint8_t* image, int32_t length, int32_t p1,
                                                  int32_t p2, int32_t p3, int32_t p4, int32_t p5,
                                                  HubProgressCallback progress, void* context) {
    CMpFlow& flow = theBridge();
    if (!flow.loaded || !flow.functions.TvHub_UpdateScalar) {
        flow.DebugLog(" TxHubLib cannot write the scalar firmware.\n");
        return kUpdateUnavailable;
    }
    return flow.functions.TvHub_UpdateScalar(image, length, p1, p2, p3, p4, p5, progress, context);
}

HUBBRIDGE_API int32_t HUBBRIDGE_CALL UpdateHubFW(const uint8_t* image, int32_t length,
                                                 HubProgressCallback progress, void* context) {
    CMpFlow& flow = theBridge();
    if (!flow.loaded || !flow.functions.TvHub_UpdateFW) {
        flow.DebugLog(" TxHubLib cannot write the hub firmware.\n");
        return kUpdateUnavailable;
    }
    return flow.functions.TvHub_UpdateFW(image, length, progress, context);
}

} // extern "C"
