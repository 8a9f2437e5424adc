#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace edid {

// What the operating system tells about displays and monitors, in the shape
// of the Windows records so that the inventory logic is one portable source.
// Wide texts are UTF-16, as Windows hands them out.

// One active display path.
struct DisplayPathRecord {
    std::u16string sourceDeviceName;   // GDI name of the source, e.g. \\.\DISPLAY1
    std::u16string targetFriendlyName; // friendly name of the monitor at the target
    int32_t outputTechnology = -1;     // DISPLAYCONFIG_VIDEO_OUTPUT_TECHNOLOGY numbering
};

// Output-technology numbers of the Windows display configuration.
namespace outputtechnology {
constexpr int32_t Other = -1;
constexpr int32_t Vga = 0;
constexpr int32_t Dvi = 4;
constexpr int32_t Hdmi = 5;
constexpr int32_t DisplayPort = 10;
constexpr int32_t EmbeddedDisplayPort = 11;
} // namespace outputtechnology

struct DisplayRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The fields of DISPLAY_DEVICEW the logic uses.
struct DisplayDevice {
    std::u16string deviceName;
    std::u16string deviceString;
    uint32_t stateFlags = 0;
    std::u16string deviceId;
    std::u16string deviceKey;
};

// StateFlags bit of a monitor device that is part of the desktop.
constexpr uint32_t DisplayDeviceActive = 0x1;
// MONITORINFO flag of the primary display.
constexpr uint32_t MonitorInfoPrimary = 0x1;

// One display of the desktop (one HMONITOR).
struct DisplayRecord {
    uint32_t flags = 0;
    int32_t height = 0;
    int32_t width = 0;
    DisplayRect monitorRect;
    DisplayRect workRect;
    std::u16string deviceName;
    uint8_t single = 1;
    DisplayDevice device; // filled only in a monitor record
};

inline const char* const EdidRegistryRoot =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY";

// What the system keeps of one monitor's EDID.
struct EdidRecord {
    using Descriptor = std::array<uint8_t, 18>;

    std::string hardwareKeyPath;
    std::string deviceId;
    std::array<uint8_t, 2> manufacturerCode{};
    std::array<uint8_t, 2> productCode{};
    Descriptor descriptor1{};
    Descriptor descriptor2{};
    Descriptor descriptor3{};
    Descriptor descriptor4{};
    uint8_t checksumByte = 0;
    std::string serialNumber;
    std::string displayName;
    int32_t horizontalActive = 0;
    int32_t verticalActive = 0;
    std::array<uint8_t, 128> baseBlock{};
    std::string registryRoot = EdidRegistryRoot;
};

} // namespace edid
