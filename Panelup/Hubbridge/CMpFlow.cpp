#include "CMpFlow.h"

#include "BridgeOs.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace hubbridge {

namespace {

using SetupPacket = std::array<uint8_t, 8>;

constexpr uint8_t kVendorOut = 0x40;
constexpr uint8_t kVendorIn = 0xC0;
constexpr uint8_t kRequestI2CConfig = 0xF6;
constexpr uint8_t kRequestI2CWrite = 0xC6;
constexpr uint8_t kRequestI2CRead = 0xD6;

constexpr uint32_t kSpeedSuper = 3;
constexpr uint32_t kSpeedHigh = 2;
constexpr uint32_t kSpeedFull = 1;

constexpr int kIdentitySize = 16;

SetupPacket makeSetup(uint8_t requestType, uint8_t request, uint16_t value, uint16_t index,
                      uint16_t length) {
    return {requestType,
            request,
            static_cast<uint8_t>(value & 0xFF),
            static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(index & 0xFF),
            static_cast<uint8_t>(index >> 8),
            static_cast<uint8_t>(length & 0xFF),
            static_cast<uint8_t>(length >> 8)};
}

uint16_t bigEndian16(const uint8_t* bytes) {
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

} // namespace

bool CMpFlow::canScan() const {
    return loaded && functions.TvHub_Open && functions.TvHub_Close && functions.TvHub_Speed &&
           functions.TvHub_VdCmdEnable;
}

void CMpFlow::releaseDevice() {
    if (device) {
        if (functions.TvHub_VdCmdEnable) {
            functions.TvHub_VdCmdEnable(device, 0);
        }
        if (functions.TvHub_Close) {
            functions.TvHub_Close(device);
        }
    }
    device = nullptr;
    deviceOpen = false;
}

bool CMpFlow::scan(uint32_t& index, HubKind kind) {
    const bool superSpeed = kind == HubKind::SuperSpeed;
    DebugLog(superSpeed ? "---->CMpFlow::MP_MultiOpenDevice_USB3\n"
                        : "---->CMpFlow::MP_MultiOpenDevice_USB2\n");
    if (!canScan()) {
        return false;
    }
    // A device left held by a failed speed query would otherwise be lost.
    releaseDevice();

    uint32_t speed = superSpeed ? kSpeedSuper : kSpeedHigh;
    bool found = false;
    // Counted as well: the vendor library may rewrite the index it is given.
    for (uint32_t opened = 0; index < kDeviceIndexLimit && opened < kDeviceIndexLimit; ++opened) {
        device = functions.TvHub_Open(&index);
        if (!device) {
            return false;
        }
        if (functions.TvHub_Speed(device, &speed) != 0) {
            if (!superSpeed) {
                lastError = HUBBRIDGE_ERROR_SPEED_QUERY;
            }
            return false;
        }
        found = superSpeed ? speed == kSpeedSuper : (speed == kSpeedHigh || speed == kSpeedFull);
        if (found) {
            break;
        }
        ++index;
        functions.TvHub_VdCmdEnable(device, 0);
        functions.TvHub_Close(device);
        device = nullptr;
    }
    if (!found || index >= kDeviceIndexLimit) {
        // A hub opened at the limit itself is not kept.
        releaseDevice();
        return false;
    }
    functions.TvHub_VdCmdEnable(device, 1);
    return true;
}

bool CMpFlow::MP_MultiOpenDevice_USB3(uint32_t& index) {
    return scan(index, HubKind::SuperSpeed);
}

bool CMpFlow::MP_MultiOpenDevice_USB2(uint32_t& index) {
    return scan(index, HubKind::Usb2);
}

bool CMpFlow::MP_MultiOpenDevice(uint32_t& index) {
    DebugLog("MP_MultiOpenDevice index=0n%d \n", static_cast<int>(index));
    const uint32_t start = index;
    if (MP_MultiOpenDevice_USB3(index)) {
        deviceOpen = true;
        DebugLog("MP_MultiOpenDevice got usb3.0 hub , device index=0n%d \n",
                 static_cast<int>(index));
        return true;
    }
    index = start;
    deviceOpen = MP_MultiOpenDevice_USB2(index);
    DebugLog("MP_MultiOpenDevice got usb2.0 hub , device index=0n%d \n", static_cast<int>(index));
    return deviceOpen;
}

bool CMpFlow::GetBasicInfo(uint16_t& vendorId, uint16_t& productId, uint16_t& version,
                           uint32_t& version32) {
    if (!deviceOpen || !functions.TvHub_Status || !functions.TvHub_Speed) {
        return false;
    }
    uint8_t block[kIdentitySize] = {};
    if (functions.TvHub_Status(device, block, kIdentitySize) != 0) {
        lastError = HUBBRIDGE_ERROR_STATUS_QUERY;
        return false;
    }
    version = bigEndian16(block + 10);
    version32 = version;

    uint32_t speed = 0;
    const bool speedKnown = functions.TvHub_Speed(device, &speed) == 0;
    vendorId = bigEndian16(block);
    if (speedKnown && speed == kSpeedSuper) {
        productId = bigEndian16(block + 2);
        DebugLog(" Got SuperSpeed hub vid=0x%x,pid=0x%x \n", vendorId, productId);
    } else if (speedKnown && speed == kSpeedHigh) {
        productId = bigEndian16(block + 4);
        DebugLog(" Got HighSpeed hub vid=0x%x,pid=0x%x \n", vendorId, productId);
    } else {
        productId = bigEndian16(block + 2);
        DebugLog(" Got Unknown speed hub vid=0x%x,pid=0x%x \n", vendorId, productId);
    }
    return true;
}

bool CMpFlow::USB2I2C_Config(uint8_t slaveAddress, uint8_t memoryAddressLength, uint8_t speed) {
    DebugLog(" USB2I2C_Config:: set slaveAddr=0x%x, memLen=%d, Speed=%d \n", slaveAddress,
             memoryAddressLength, speed);
    if (!deviceOpen || !functions.TvHub_CtlPipeNoDataOut) {
        return false;
    }
    const uint16_t value = static_cast<uint16_t>(memoryAddressLength | (slaveAddress << 8));
    const uint16_t index = static_cast<uint16_t>((0x80 | (speed & 7)) | (0x80 << 8));
    const SetupPacket setup = makeSetup(kVendorOut, kRequestI2CConfig, value, index, 0);
    if (functions.TvHub_CtlPipeNoDataOut(device, setup.data()) != 0) {
        lastError = HUBBRIDGE_ERROR_BUS_CONFIG;
        return false;
    }
    return true;
}

bool CMpFlow::USB2I2C_Write(uint32_t address, const uint8_t* data, uint16_t length) {
    if (!deviceOpen) {
        return false;
    }
    DebugLog("Open tvx hub device for write success, dwAddr=0x%x, bufLen=%d.\n", address, length);
    if (!data && length > 0) {
        DebugLog("     No data to write.\n");
        return false;
    }
    DumpHex(data, length);
    if (!functions.TvHub_CtlPipeOut) {
        return false;
    }
    const SetupPacket setup = makeSetup(kVendorOut, kRequestI2CWrite, address & 0xFFFF,
                                        static_cast<uint16_t>(address >> 16), length);
    return functions.TvHub_CtlPipeOut(device, setup.data(), data, length) == 0;
}

bool CMpFlow::USB2I2C_Read(uint32_t address, uint8_t* buffer, uint16_t length) {
    if (!deviceOpen) {
        return false;
    }
    DebugLog("Open tvx hub device for read success. dwAddr=0x%x, bufLen=%d \n", address, length);
    if (!buffer && length > 0) {
        DebugLog("     No buffer to read into.\n");
        return false;
    }
    DumpHex(buffer, length);
    if (!functions.TvHub_CtlPipeIn) {
        return false;
    }
    const SetupPacket setup = makeSetup(kVendorIn, kRequestI2CRead, address & 0xFFFF,
                                        static_cast<uint16_t>(address >> 16), length);
    return functions.TvHub_CtlPipeIn(device, setup.data(), buffer, length) == 0;
}

void CMpFlow::DebugLog(const char* format, ...) const {
    char text[4096] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    os::debugOutput(text);
}

void CMpFlow::DumpHex(const uint8_t* bytes, int count) const {
    if (!bytes || count <= 0) {
        return;
    }
    constexpr int kPerLine = 16;
    char line[kPerLine * 3 + 1] = {};
    int used = 0;
    for (int i = 0; i < count; ++i) {
        std::snprintf(line + used, sizeof(line) - static_cast<size_t>(used), "%02X ", bytes[i]);
        used += 3;
        if ((i + 1) % kPerLine == 0) {
            DebugLog("Data: %s\n", line);
            used = 0;
            line[0] = '\0';
        }
    }
    if (used > 0) {
        DebugLog("%s\n", line);
    }
}

} // namespace hubbridge
