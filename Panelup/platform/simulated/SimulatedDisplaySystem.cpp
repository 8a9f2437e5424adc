#include "platform/simulated/SimulatedDisplaySystem.h"

#include "VirtualMonitorControl.h"
#include "edid/Edid.h"
#include "edid/RegistryEdid.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

constexpr uint32_t DisplayDeviceAttached = 0x2;
constexpr uint32_t MccsVersion22 = 0x0202;
constexpr int32_t MaxEdidSize = 32768;
constexpr int32_t DefaultWidth = 1920;
constexpr int32_t DefaultHeight = 1080;

std::vector<uint8_t> monitorEdid(int32_t monitor) {
    std::vector<uint8_t> edid(256);
    int32_t length = VM_GetMonitorEdid(monitor, edid.data(), static_cast<int32_t>(edid.size()));
    if (length > static_cast<int32_t>(edid.size()) && length <= MaxEdidSize) {
        edid.resize(static_cast<size_t>(length));
        length = VM_GetMonitorEdid(monitor, edid.data(), length);
    }
    edid.resize(
        static_cast<size_t>(std::max(0, std::min(length, static_cast<int32_t>(edid.size())))));
    return edid;
}

edid::EdidRecord decoded(int32_t monitor) {
    edid::EdidRecord edid;
    edid::decodeEdidBaseBlock(edid, monitorEdid(monitor));
    return edid;
}

std::string numbered(const char* format, int32_t number) {
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

std::u16string displayName(int32_t monitor) {
    return edid::widenBytes(numbered("\\\\.\\DISPLAY%d", monitor + 1));
}

std::string instanceNumber(int32_t monitor) {
    return numbered("%04d", monitor);
}

std::string deviceId(int32_t monitor) {
    return edid::monitorDeviceId(decoded(monitor), instanceNumber(monitor));
}

std::string hardwareKeyPath(int32_t monitor) {
    return std::string(edid::EdidRegistryRoot) + "\\" + edid::splitDeviceId(deviceId(monitor))[1];
}

std::string instanceKey(int32_t monitor) {
    return numbered("1&2b0c5e7d&0&UID%d", 0x1100 + monitor);
}

// The monitor whose display has this GDI name, or -1.
int32_t monitorOf(const std::u16string& deviceName) {
    const int32_t count = VM_MonitorCount();
    for (int32_t monitor = 0; monitor < count; ++monitor) {
        if (displayName(monitor) == deviceName)
            return monitor;
    }
    return -1;
}

std::u16string friendlyName(int32_t monitor) {
    const auto edid = decoded(monitor);
    return edid::widenBytes(edid.displayName.empty() ? "Generic PnP Monitor" : edid.displayName);
}

// The DISPLAY enumeration key as Windows keeps it for the virtual monitors.
class SimulatedRegistry : public edid::RegistryReader {
public:
    std::vector<std::string> childGroups(const std::string& path) const override {
        std::vector<std::string> keys;
        const int32_t count = VM_MonitorCount();
        for (int32_t monitor = 0; monitor < count; ++monitor) {
            if (path == hardwareKeyPath(monitor))
                keys.push_back(instanceKey(monitor));
        }
        return keys;
    }

    edid::RegistryValue value(const std::string& path, const std::string& name) const override {
        const int32_t count = VM_MonitorCount();
        for (int32_t monitor = 0; monitor < count; ++monitor) {
            const std::string key = hardwareKeyPath(monitor) + "\\" + instanceKey(monitor);
            if (path == key && name == "driver")
                return edid::RegistryValue::fromText(std::string(edid::MonitorClassGuid) + "\\" +
                                                     instanceNumber(monitor));
            if (path == key + "\\Device Parameters" && name == "EDID")
                return edid::RegistryValue::fromBytes(monitorEdid(monitor));
        }
        return {};
    }
};

} // namespace

std::vector<edid::DisplayPathRecord> SimulatedDisplaySystem::queryDisplayPaths() {
    std::vector<edid::DisplayPathRecord> paths;
    const int32_t count = VM_MonitorCount();
    for (int32_t monitor = 0; monitor < count; ++monitor)
        paths.push_back(
            {displayName(monitor), friendlyName(monitor), VM_GetMonitorOutputTechnology(monitor)});
    return paths;
}

bool SimulatedDisplaySystem::enumerateDisplays(std::vector<edid::DisplayRecord>& displays) {
    int32_t left = 0;
    const int32_t count = VM_MonitorCount();
    for (int32_t monitor = 0; monitor < count; ++monitor) {
        const auto edid = decoded(monitor);
        const int32_t width = edid.horizontalActive > 0 ? edid.horizontalActive : DefaultWidth;
        const int32_t height = edid.verticalActive > 0 ? edid.verticalActive : DefaultHeight;
        edid::DisplayRecord display;
        display.flags = monitor == 0 ? edid::MonitorInfoPrimary : 0;
        display.width = width;
        display.height = height;
        display.monitorRect = {left, 0, left + width, height};
        display.workRect = {left, 0, left + width, height - 40}; // a task bar
        display.deviceName = displayName(monitor);
        display.single = 1;
        displays.push_back(display);
        left += width;
    }
    return true;
}

std::vector<edid::DisplayDevice>
SimulatedDisplaySystem::activeMonitorDevices(const edid::DisplayRecord& display) {
    const int32_t monitor = monitorOf(display.deviceName);
    if (monitor < 0)
        return {};
    edid::DisplayDevice device;
    device.deviceName = display.deviceName + u"\\Monitor0";
    device.deviceString = u"Generic PnP Monitor";
    device.stateFlags = edid::DisplayDeviceActive | DisplayDeviceAttached;
    device.deviceId = edid::widenBytes(deviceId(monitor));
    device.deviceKey =
        edid::widenBytes("\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Class\\" +
                         std::string(edid::MonitorClassGuid) + "\\" + instanceNumber(monitor));
    return {device};
}

std::vector<PhysicalMonitor>
SimulatedDisplaySystem::physicalMonitors(const edid::DisplayRecord& display) {
    const int32_t monitor = monitorOf(display.deviceName);
    if (monitor < 0)
        return {};
    PhysicalMonitor physical;
    physical.handle = static_cast<uintptr_t>(monitor) + 1;
    physical.description = friendlyName(monitor);
    physical.ddcResponds = VM_GetMonitorDdc(monitor) != 0;
    physical.vcpCurrent = physical.ddcResponds ? MccsVersion22 : 0;
    return {physical};
}

edid::EdidRecord SimulatedDisplaySystem::readEdid(const edid::DisplayDevice& device) {
    return edid::readRegistryEdid(edid::narrowDeviceId(device.deviceId), SimulatedRegistry());
}

} // namespace platform
