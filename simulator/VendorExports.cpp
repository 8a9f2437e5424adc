// The vendor library's entry points, as the hub maker's TxHubLib offers
// them, backed by the emulated world. Results: 0 for success, -1 (or
// another nonzero value) for failure.

#include "TxHubLibApi.h"

#include "FirmwareWriters.h"
#include "HexText.h"
#include "I2cBridge.h"
#include "VirtualMonitor.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

#if defined(_WIN32)
#define TXHUB_EXPORT __declspec(dllexport)
#else
#define TXHUB_EXPORT __attribute__((visibility("default")))
#endif

using simulator::VirtualMonitor;

namespace {

constexpr int32_t ok = 0;
constexpr int32_t failed = -1;
constexpr int32_t identityBlockSize = 16;

std::string setupText(const uint8_t* setup) {
    return setup == nullptr ? std::string("(no setup)") : simulator::toHexText(setup, 8);
}

// What a handle reaches: nothing when it is not one of ours; no device
// when the hubs are gone.
struct Reached {
    bool known = false;
    uint32_t index = 0;
    simulator::Device* device = nullptr;
};

Reached reach(VirtualMonitor& monitor, TvHubHandle handle) {
    Reached reached;
    const std::optional<uint32_t> index = monitor.indexOf(handle);
    if (!index)
        return reached;
    reached.known = true;
    reached.index = *index;
    if (!monitor.faults.hubGone())
        reached.device = &monitor.world.devices[*index];
    return reached;
}

void putBigEndian(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

} // namespace

extern "C" {

TXHUB_EXPORT TvHubHandle TXHUB_CALL TvHub_Open(uint32_t* index) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    if (index == nullptr)
        return nullptr;
    void* handle = monitor.openHandle(*index);
    monitor.log.add("Open " + std::to_string(*index) + (handle == nullptr ? " none" : ""));
    return handle;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_Close(TvHubHandle device) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("Close " + std::to_string(reached.index));
    monitor.closeHandle(device);
    return ok;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_VdCmdEnable(TvHubHandle device, int32_t enable) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("VdCmdEnable " + std::to_string(reached.index) + " " + std::to_string(enable));
    return reached.device == nullptr ? failed : ok;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_Status(TvHubHandle device, uint8_t* buffer, int32_t length) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("Status " + std::to_string(reached.index));
    if (reached.device == nullptr || monitor.faults.statusFails() || buffer == nullptr ||
        length < identityBlockSize)
        return failed;
    const simulator::Hub& hub = monitor.world.identityOf(*reached.device);
    std::memset(buffer, 0, identityBlockSize);
    putBigEndian(buffer + 0, hub.vendorId);
    putBigEndian(buffer + 2, hub.productIdSuperSpeed);
    putBigEndian(buffer + 4, hub.productIdUsb2);
    putBigEndian(buffer + 10, hub.firmware);
    return ok;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_Speed(TvHubHandle device, uint32_t* speed) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("Speed " + std::to_string(reached.index));
    if (reached.device == nullptr || monitor.faults.speedFails(reached.index) || speed == nullptr)
        return failed;
    *speed = reached.device->speed;
    return ok;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_GetLocation(TvHubHandle device, uint32_t* port,
                                                  uint32_t* parent) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("GetLocation " + std::to_string(reached.index));
    if (reached.device == nullptr || monitor.faults.locationFails(reached.index) ||
        port == nullptr || parent == nullptr)
        return failed;
    const simulator::Hub& hub = monitor.world.identityOf(*reached.device);
    *port = hub.port;
    *parent = hub.parent;
    return ok;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_CtlPipeNoDataOut(TvHubHandle device, const uint8_t* setup) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    monitor.log.add("CtlPipeNoDataOut " + setupText(setup));
    if (reached.device == nullptr)
        return failed;
    return simulator::I2cBridge(monitor.world, monitor.faults).configure(*reached.device, setup);
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_CtlPipeOut(TvHubHandle device, const uint8_t* setup,
                                                 const uint8_t* data, int32_t length) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    const std::string shown = data != nullptr && length > 0
                                  ? simulator::toHexText(data, static_cast<size_t>(length))
                                  : "";
    monitor.log.add("CtlPipeOut " + setupText(setup) + " | " + shown);
    if (reached.device == nullptr)
        return failed;
    bool stateChanged = false;
    const int32_t result = simulator::I2cBridge(monitor.world, monitor.faults)
                               .write(*reached.device, setup, data, length, stateChanged);
    if (stateChanged)
        monitor.stateChanged();
    return result;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_CtlPipeIn(TvHubHandle device, const uint8_t* setup,
                                                uint8_t* buffer, int32_t length) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const Reached reached = reach(monitor, device);
    if (!reached.known)
        return failed;
    int32_t result = failed;
    if (reached.device != nullptr)
        result = simulator::I2cBridge(monitor.world, monitor.faults)
                     .read(*reached.device, setup, buffer, length);
    // The bytes returned, so a log shows whole exchanges.
    const std::string shown = result != ok ? std::string("failed")
                              : length > 0
                                  ? simulator::toHexText(buffer, static_cast<size_t>(length))
                                  : std::string();
    monitor.log.add("CtlPipeIn " + setupText(setup) + " | " + shown);
    return result;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_UpdateScalar(const uint8_t* image, int32_t length, int32_t p1,
                                                   int32_t p2, int32_t p3, int32_t p4, int32_t p5,
                                                   HubProgressCallback progress, void* context) {
    (void)context; // belongs to the caller; nothing here reads it
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    const int32_t params[5] = {p1, p2, p3, p4, p5};
    monitor.lastUpdates[1] = {true, length, {p1, p2, p3, p4, p5}};
    char line[128];
    std::snprintf(line, sizeof line, "UpdateScalar %d 0x%X 0x%X %d %d %d", length,
                  static_cast<unsigned>(p1), static_cast<unsigned>(p2), p3, p4, p5);
    monitor.log.add(line);
    const int32_t result = simulator::writeScalarFirmware(monitor.world, monitor.faults, image,
                                                          length, params, progress);
    if (result == simulator::firmwareWritten)
        monitor.stateChanged();
    return result;
}

TXHUB_EXPORT int32_t TXHUB_CALL TvHub_UpdateFW(const uint8_t* image, int32_t length,
                                               HubProgressCallback progress, void* context) {
    (void)context;
    VirtualMonitor& monitor = VirtualMonitor::instance();
    std::lock_guard<std::recursive_mutex> lock(monitor.mutex);
    monitor.lastUpdates[0] = {true, length, {}};
    monitor.log.add("UpdateFW " + std::to_string(length));
    const int32_t result =
        simulator::writeHubFirmware(monitor.world, monitor.faults, image, length, progress);
    if (result == simulator::firmwareWritten)
        monitor.stateChanged();
    return result;
}

// Bound by the bridge but never called: they answer with a failure.
#define TXHUB_UNUSED(name)                                                                         \
    TXHUB_EXPORT int32_t TXHUB_CALL name(void) {                                                   \
        return failed;                                                                             \
    }
TXHUB_UNUSED(TvHub_SendDescriptorRequest)
TXHUB_UNUSED(TvHub_SWReset)
TXHUB_UNUSED(TvHub_FWReset)
TXHUB_UNUSED(TvHub_ResetCode)
TXHUB_UNUSED(TvHub_WriteFlash2)
TXHUB_UNUSED(TvHub_ReadFlash2)
TXHUB_UNUSED(TvHub_EraseFlash2)
TXHUB_UNUSED(TvHub_PortStatus)
TXHUB_UNUSED(TvMultiHub_Open)
TXHUB_UNUSED(TvMultiHub_TurnOffSS)
TXHUB_UNUSED(TvHub_ReadMem)
TXHUB_UNUSED(TvHub_GetVendorSetting)
TXHUB_UNUSED(TvHub_ReadEEPROM)
TXHUB_UNUSED(TvHub_WriteEEPROM)
TXHUB_UNUSED(TvHub_WriteEfuse)
TXHUB_UNUSED(TvHub_ReadEfuse)
TXHUB_UNUSED(TvHub_GetAddrCheckSum)
#undef TXHUB_UNUSED

} // extern "C"

// Every one of the 28 names exists with exactly the type the bridge binds.
#define TXHUB_CHECK_TYPE(name, type)                                                               \
    static_assert(std::is_same_v<decltype(&name), type>, #name " has the wrong type");
TXHUB_FUNCTIONS(TXHUB_CHECK_TYPE)
#undef TXHUB_CHECK_TYPE
