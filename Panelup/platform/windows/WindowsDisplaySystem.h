#pragma once

#include "platform/DisplaySystem.h"
#include "platform/windows/WindowsRegistryReader.h"

namespace platform {

// Displays through user32's display configuration and monitor enumeration,
// the DDC/CI probe through dxva2, the EDID from the registry.
class WindowsDisplaySystem : public DisplaySystem {
public:
    std::vector<DisplayPathRecord> queryDisplayPaths() override;
    bool enumerateDisplays(std::vector<DisplayRecord>& displays) override;
    std::vector<DisplayDevice> activeMonitorDevices(const DisplayRecord& display) override;
    std::vector<PhysicalMonitor> physicalMonitors(const DisplayRecord& display) override;
    EdidRecord readEdid(const DisplayDevice& device) override;

private:
    WindowsRegistryReader registry_;
};

} // namespace platform
