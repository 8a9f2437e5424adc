#include "platform/linux/LinuxDisplaySystem.h"

#include "edid/Edid.h"
#include "platform/linux/DdcCiProbe.h"
#include "platform/linux/DrmConnectors.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr uint8_t VcpVersionCode = 0xDF;
constexpr uint32_t DisplayDeviceAttached = 0x2;

edid::EdidRecord decodedEdid(const DrmConnector& connector) {
    edid::EdidRecord edid;
    edid::decodeEdidBaseBlock(edid, connector.edid);
    edid.hardwareKeyPath = connector.directory.string();
    return edid;
}

std::u16string friendlyName(const DrmConnector& connector) {
    const auto edid = decodedEdid(connector);
    return edid::widenBytes(edid.displayName.empty() ? connector.name : edid.displayName);
}

} // namespace

LinuxDisplaySystem::LinuxDisplaySystem(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

std::vector<edid::DisplayPathRecord> LinuxDisplaySystem::queryDisplayPaths() {
    std::vector<edid::DisplayPathRecord> paths;
    for (const auto& connector : connectedConnectors(sysfsRoot_))
        paths.push_back({edid::widenBytes(connector.name), friendlyName(connector),
                         connector.outputTechnology});
    return paths;
}

bool LinuxDisplaySystem::enumerateDisplays(std::vector<edid::DisplayRecord>& displays) {
    // The kernel knows no desktop layout: lay the displays out left to
    // right in connector order, the first one primary.
    int32_t left = 0;
    for (const auto& connector : connectedConnectors(sysfsRoot_)) {
        int32_t width = connector.width;
        int32_t height = connector.height;
        if (width <= 0 || height <= 0) {
            const auto edid = decodedEdid(connector);
            width = edid.horizontalActive;
            height = edid.verticalActive;
        }
        edid::DisplayRecord display;
        display.flags = displays.empty() ? edid::MonitorInfoPrimary : 0;
        display.monitorRect = {left, 0, left + width, height};
        display.workRect = display.monitorRect;
        display.width = width;
        display.height = height;
        display.deviceName = edid::widenBytes(connector.name);
        display.single = 1;
        displays.push_back(display);
        left += width;
    }
    return true;
}

std::vector<edid::DisplayDevice>
LinuxDisplaySystem::activeMonitorDevices(const edid::DisplayRecord& display) {
    DrmConnector connector;
    if (!readConnector(sysfsRoot_, edid::narrowDeviceId(display.deviceName), connector))
        return {};
    edid::DisplayDevice device;
    device.deviceName = display.deviceName + u"\\Monitor0";
    device.deviceString = friendlyName(connector);
    device.stateFlags = edid::DisplayDeviceActive | DisplayDeviceAttached;
    device.deviceId =
        edid::widenBytes(edid::monitorDeviceId(decodedEdid(connector), connector.name));
    device.deviceKey = edid::widenBytes(connector.directory.string());
    return {device};
}

std::vector<PhysicalMonitor>
LinuxDisplaySystem::physicalMonitors(const edid::DisplayRecord& display) {
    DrmConnector connector;
    if (!readConnector(sysfsRoot_, edid::narrowDeviceId(display.deviceName), connector))
        return {};
    PhysicalMonitor monitor;
    monitor.handle = connector.ddcBus >= 0 ? static_cast<uintptr_t>(connector.ddcBus) : 0;
    monitor.description = friendlyName(connector);
    if (connector.ddcBus >= 0) {
        const auto reading =
            queryVcpFeature(devRoot_ + "/i2c-" + std::to_string(connector.ddcBus), VcpVersionCode);
        monitor.ddcResponds = reading.ok;
        monitor.vcpCurrent = reading.current;
    }
    return {monitor};
}

edid::EdidRecord LinuxDisplaySystem::readEdid(const edid::DisplayDevice& device) {
    // Only the connector's name is taken from the device, so the EDID is
    // always read from under the sysfs root.
    const std::string name = fs::path(edid::narrowDeviceId(device.deviceKey)).filename().string();
    DrmConnector connector;
    edid::EdidRecord edid;
    if (readConnector(sysfsRoot_, name, connector))
        edid = decodedEdid(connector);
    edid.deviceId = edid::narrowDeviceId(device.deviceId);
    return edid;
}

} // namespace platform
