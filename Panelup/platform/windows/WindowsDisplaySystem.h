#pragma once

#include "platform/DisplaySystem.h"
#include "platform/windows/WindowsRegistryReader.h"

namespace platform {

// Displays through user32's display configuration and monitor enumeration,
// the DDC/CI probe through dxva2, the EDID from the registry.
class WindowsDisplaySystem : public DisplaySystem {
public:
    std::vector<edid::DisplayPathRecord> queryDisplayPaths() override;
    bool enumerateDisplays(std::vector<edid::DisplayRecord>& displays) override;
    std::vector<edid::DisplayDevice>
    activeMonitorDevices(const edid::DisplayRecord& display) override;
    std::vector<PhysicalMonitor> physicalMonitors(const edid::DisplayRecord& display) override;
    edid::EdidRecord readEdid(const edid::DisplayDevice& device) override;

private:
    WindowsRegistryReader registry_;
};

} // namespace platform
