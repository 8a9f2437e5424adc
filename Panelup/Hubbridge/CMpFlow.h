#pragma once

// The bridge state and the device-level work behind the exports: hub scans,
// the identity block, the I2C configuration and transfers through the vendor
// library, and the bridge's debug output.

#include "TxHubLibApi.h"

#include <cstdint>
#include <type_traits>

#if defined(__GNUC__)
#define HUBBRIDGE_PRINTF(formatArg, firstArg) __attribute__((format(printf, formatArg, firstArg)))
#else
#define HUBBRIDGE_PRINTF(formatArg, firstArg)
#endif

namespace hubbridge {

struct TxHubFunctions {
#define HUBBRIDGE_FUNCTION_FIELD(name, type) type name = nullptr;
    TXHUB_FUNCTIONS(HUBBRIDGE_FUNCTION_FIELD)
#undef HUBBRIDGE_FUNCTION_FIELD
};

class CMpFlow {
public:
    // Scans never open a device index at or past this.
    static constexpr uint32_t kDeviceIndexLimit = 30;

    void* library = nullptr;
    TxHubFunctions functions;
    TvHubHandle device = nullptr;
    bool loaded = false;
    bool deviceOpen = false;
    int32_t lastError = 0;

    // The first hub of the wanted kind at or after index; index is left at
    // its position. The hub stays held in device.
    bool MP_MultiOpenDevice_USB3(uint32_t& index);
    bool MP_MultiOpenDevice_USB2(uint32_t& index);
    // SuperSpeed first, then USB 2 from the caller's index; sets deviceOpen.
    bool MP_MultiOpenDevice(uint32_t& index);

    bool GetBasicInfo(uint16_t& vendorId, uint16_t& productId, uint16_t& version,
                      uint32_t& version32);
    bool USB2I2C_Config(uint8_t slaveAddress, uint8_t memoryAddressLength, uint8_t speed);
    bool USB2I2C_Write(uint32_t address, const uint8_t* data, uint16_t length);
    bool USB2I2C_Read(uint32_t address, uint8_t* buffer, uint16_t length);

    void DebugLog(const char* format, ...) const HUBBRIDGE_PRINTF(2, 3);
    void DumpHex(const uint8_t* bytes, int count) const;

    bool LoadTvxHubLib();
    void BindHubFunctions();
    void UnloadHubLib();

    // Whether the vendor entries a scan calls are there.
    bool canScan() const;
    // Vendor commands off and the held device closed; device and deviceOpen
    // cleared.
    void releaseDevice();

private:
    enum class HubKind { SuperSpeed, Usb2 };
    bool scan(uint32_t& index, HubKind kind);
};

// The state lives in a process-wide object that must need no construction or
// destruction order: the library's attach and detach run outside of it.
static_assert(std::is_trivially_destructible<CMpFlow>::value,
              "the bridge state must outlive every attach and detach");

} // namespace hubbridge
