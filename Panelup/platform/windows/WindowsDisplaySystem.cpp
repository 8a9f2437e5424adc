#include "platform/windows/WindowsDisplaySystem.h"

#include "edid/Edid.h"
#include "edid/RegistryEdid.h"

// clang-format off
#include <windows.h>
#include <physicalmonitorenumerationapi.h>
// clang-format on

#if __has_include(<lowlevelmonitorconfigurationapi.h>)
#include <lowlevelmonitorconfigurationapi.h>
#else
// MinGW ships the dxva2 import library but not this header.
typedef enum _MC_VCP_CODE_TYPE { MC_MOMENTARY, MC_SET_PARAMETER } MC_VCP_CODE_TYPE;
extern "C" BOOL WINAPI GetVCPFeatureAndVCPFeatureReply(HANDLE monitor, BYTE code,
                                                       MC_VCP_CODE_TYPE* type, DWORD* current,
                                                       DWORD* maximum);
#endif

#include <algorithm>
#include <cwchar>

namespace platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide texts are UTF-16");
// The structures the display calls fill, as the program and the hub maker's
// 32-bit library lay them out.
static_assert(sizeof(DISPLAY_DEVICEW) == 840, "DISPLAY_DEVICEW");
static_assert(sizeof(DISPLAYCONFIG_PATH_INFO) == 72, "DISPLAYCONFIG_PATH_INFO");
static_assert(sizeof(DISPLAYCONFIG_MODE_INFO) == 64, "DISPLAYCONFIG_MODE_INFO");
#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(PHYSICAL_MONITOR) == 260, "a handle and 128 wide characters");
static_assert(sizeof(void*) == 4, "a 32-bit program");
#endif

constexpr BYTE VcpVersionCode = 0xDF;
// EnumDisplayDevicesW has no end of its own when a driver misbehaves.
constexpr DWORD MaxMonitorDevices = 64;

// A fixed wide array up to its terminator, never past its end.
template <size_t N> std::u16string fromWide(const WCHAR (&text)[N]) {
    const size_t length = wcsnlen(text, N);
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

std::wstring toWide(const std::u16string& text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

BOOL CALLBACK onMonitorEnumerated(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& displays = *reinterpret_cast<std::vector<edid::DisplayRecord>*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    edid::DisplayRecord display;
    display.flags = info.dwFlags;
    display.height = info.rcMonitor.bottom - info.rcMonitor.top;
    display.width = info.rcMonitor.right - info.rcMonitor.left;
    display.monitorRect = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                           info.rcMonitor.bottom};
    display.workRect = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    display.deviceName = fromWide(info.szDevice);
    display.single = 1;
    try {
        displays.push_back(display);
    } catch (...) {
        // Nothing may unwind through user32; stop the enumeration instead.
        return FALSE;
    }
    return TRUE;
}

edid::DisplayDevice toDisplayDevice(const DISPLAY_DEVICEW& device) {
    edid::DisplayDevice result;
    result.deviceName = fromWide(device.DeviceName);
    result.deviceString = fromWide(device.DeviceString);
    result.stateFlags = device.StateFlags;
    result.deviceId = fromWide(device.DeviceID);
    result.deviceKey = fromWide(device.DeviceKey);
    return result;
}

} // namespace

std::vector<edid::DisplayPathRecord> WindowsDisplaySystem::queryDisplayPaths() {
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS)
        OutputDebugStringW(L"GetDisplayConfigBufferSizes error");

    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    UINT32 pathsFilled = pathCount;
    UINT32 modesFilled = modeCount;
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathsFilled, paths.data(), &modesFilled,
                           modes.data(), nullptr) == ERROR_SUCCESS)
        paths.resize(std::min(pathsFilled, pathCount));

    std::vector<edid::DisplayPathRecord> records;
    for (const auto& path : paths) {
        DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof target;
        target.header.adapterId = path.targetInfo.adapterId;
        target.header.id = path.targetInfo.id;
        DisplayConfigGetDeviceInfo(&target.header);

        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof source;
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        DisplayConfigGetDeviceInfo(&source.header);

        records.push_back({fromWide(source.viewGdiDeviceName),
                           fromWide(target.monitorFriendlyDeviceName),
                           static_cast<int32_t>(path.targetInfo.outputTechnology)});
    }
    return records;
}

bool WindowsDisplaySystem::enumerateDisplays(std::vector<edid::DisplayRecord>& displays) {
    return EnumDisplayMonitors(nullptr, nullptr, onMonitorEnumerated,
                               reinterpret_cast<LPARAM>(&displays)) != FALSE;
}

std::vector<edid::DisplayDevice>
WindowsDisplaySystem::activeMonitorDevices(const edid::DisplayRecord& display) {
    std::vector<edid::DisplayDevice> devices;
    const std::wstring adapter = toWide(display.deviceName);
    for (DWORD n = 0; n < MaxMonitorDevices; ++n) {
        DISPLAY_DEVICEW device{};
        device.cb = sizeof device;
        if (EnumDisplayDevicesW(adapter.c_str(), n, &device, 0) != TRUE)
            break;
        if (device.StateFlags & DISPLAY_DEVICE_ACTIVE)
            devices.push_back(toDisplayDevice(device));
    }
    return devices;
}

std::vector<PhysicalMonitor>
WindowsDisplaySystem::physicalMonitors(const edid::DisplayRecord& display) {
    const POINT centre{(display.monitorRect.left + display.monitorRect.right) / 2,
                       (display.monitorRect.top + display.monitorRect.bottom) / 2};
    const HMONITOR monitor = MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST);
    DWORD count = 0;
    if (!GetNumberOfPhysicalMonitorsFromHMONITOR(monitor, &count))
        count = 0;
    std::vector<PHYSICAL_MONITOR> array(count);
    const bool got =
        count > 0 && GetPhysicalMonitorsFromHMONITOR(monitor, count, array.data()) != FALSE;

    std::vector<PhysicalMonitor> result;
    for (auto& physical : array) {
        PhysicalMonitor entry;
        entry.handle = reinterpret_cast<uintptr_t>(physical.hPhysicalMonitor);
        entry.descriptionLocation =
            reinterpret_cast<uintptr_t>(physical.szPhysicalMonitorDescription);
        entry.description = fromWide(physical.szPhysicalMonitorDescription);
        if (got) {
            MC_VCP_CODE_TYPE type = MC_MOMENTARY;
            DWORD current = 0;
            DWORD maximum = 0;
            entry.ddcResponds =
                GetVCPFeatureAndVCPFeatureReply(physical.hPhysicalMonitor, VcpVersionCode, &type,
                                                &current, &maximum) != FALSE;
            entry.vcpCurrent = current;
        }
        result.push_back(entry);
    }
    if (got)
        DestroyPhysicalMonitors(count, array.data());
    return result;
}

edid::EdidRecord WindowsDisplaySystem::readEdid(const edid::DisplayDevice& device) {
    return edid::readRegistryEdid(edid::narrowDeviceId(device.deviceId), registry_);
}

} // namespace platform
