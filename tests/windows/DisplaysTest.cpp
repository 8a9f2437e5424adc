// The display calls of the Windows back end against what this system
// reports: displays, paths, monitor devices, their registry EDID and the
// DDC/CI probe. What the system cannot answer is skipped, and said so.
#include "edid/Edid.h"
#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "support/RegistryEdidStandIn.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>
// clang-format off
#include <physicalmonitorenumerationapi.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string text(const std::u16string& wide) {
    return edid::narrowDeviceId(wide);
}

std::string lower(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return value;
}

std::vector<std::string> split(const std::string& value) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t slash; (slash = value.find('\\', start)) != std::string::npos; start = slash + 1) {
        parts.push_back(value.substr(start, slash - start));
    }
    parts.push_back(value.substr(start));
    return parts;
}

void checkDisplays(TestReport& report, platform::DisplaySystem& displays,
                   std::vector<edid::DisplayRecord>& records) {
    report.check(displays.enumerateDisplays(records), "display enumeration succeeds");
    if (!report.check(!records.empty(), "at least one display")) {
        return;
    }
    const auto primaries = std::count_if(records.begin(), records.end(), [](const auto& record) {
        return (record.flags & edid::MonitorInfoPrimary) != 0;
    });
    report.equal(static_cast<long>(primaries), 1L, "exactly one primary display");
    for (const edid::DisplayRecord& record : records) {
        const std::string name = text(record.deviceName) + ": ";
        report.check(record.width == record.monitorRect.right - record.monitorRect.left &&
                         record.height == record.monitorRect.bottom - record.monitorRect.top &&
                         record.width > 0 && record.height > 0,
                     name + "size from the monitor rectangle",
                     std::to_string(record.width) + " x " + std::to_string(record.height));
    }

    const std::vector<edid::DisplayPathRecord> paths = displays.queryDisplayPaths();
    if (paths.empty()) {
        report.skip("display paths", "this system reports no active display paths");
        return;
    }
    // The inventory finds a display's output technology by this name.
    for (const edid::DisplayPathRecord& path : paths) {
        const bool matched =
            std::any_of(records.begin(), records.end(), [&](const edid::DisplayRecord& record) {
                return record.deviceName == path.sourceDeviceName;
            });
        report.check(matched, "path source " + text(path.sourceDeviceName) + " is a display");
    }
}

void checkMonitorDevices(TestReport& report, platform::DisplaySystem& displays,
                         const edid::DisplayRecord& display) {
    const std::vector<edid::DisplayDevice> devices = displays.activeMonitorDevices(display);
    const std::string name = text(display.deviceName) + ": ";
    if (!report.check(!devices.empty(), name + "an active monitor device")) {
        return;
    }
    const edid::DisplayDevice& device = devices.front();
    const std::vector<std::string> parts = split(text(device.deviceId));
    report.check(parts.size() == 4 && lower(parts[2]) == lower(edid::MonitorClassGuid),
                 name + "device ID is class\\hardware ID\\class GUID\\instance",
                 text(device.deviceId));
    if (parts.size() != 4) {
        return;
    }

    RegistryEdidStandIn standIn(L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\" + widen(parts[1]));
    if (!standIn.write(edidNamed("LM0420"))) {
        report.skip(name + "registry EDID of the monitor device",
                    "this system keeps no registry key for " + parts[1]);
        return;
    }
    const edid::EdidRecord edid = displays.readEdid(device);
    report.equal(edid.displayName, std::string("LM0420"),
                 name + "the device ID leads to the monitor's EDID in the registry");
}

void checkPhysicalMonitors(TestReport& report, platform::DisplaySystem& displays,
                           const edid::DisplayRecord& display) {
    const std::string name = text(display.deviceName) + ": ";
    const std::vector<platform::PhysicalMonitor> monitors = displays.physicalMonitors(display);
    const POINT centre{(display.monitorRect.left + display.monitorRect.right) / 2,
                       (display.monitorRect.top + display.monitorRect.bottom) / 2};
    DWORD count = 0;
    if (!GetNumberOfPhysicalMonitorsFromHMONITOR(MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST),
                                                 &count)) {
        const DWORD error = GetLastError();
        // Wine's dxva2 has none; windows_panelup_program covers the probe
        // with a stand-in.
        report.check(monitors.empty(), name + "no physical monitors when the system has none",
                     "GetNumberOfPhysicalMonitorsFromHMONITOR error " + std::to_string(error));
        return;
    }
    report.equal(monitors.size(), static_cast<size_t>(count), name + "one record per monitor");
    const bool answered =
        std::any_of(monitors.begin(), monitors.end(),
                    [](const platform::PhysicalMonitor& m) { return m.ddcResponds; });
    if (!answered) {
        report.skip(name + "DDC/CI probe", "no monitor here answers DDC/CI");
    } else {
        report.check(true, name + "a monitor answers the DDC/CI probe");
    }
}

} // namespace

int main() {
    TestReport report("Windows displays");
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    platform::DisplaySystem& displays = native->displays();
    std::vector<edid::DisplayRecord> records;
    checkDisplays(report, displays, records);
    for (const edid::DisplayRecord& display : records) {
        checkMonitorDevices(report, displays, display);
        checkPhysicalMonitors(report, displays, display);
    }
    return report.finish();
}
