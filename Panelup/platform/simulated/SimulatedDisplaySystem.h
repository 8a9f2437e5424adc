#pragma once

#include "platform/DisplaySystem.h"

namespace platform {

// Displays from the virtual monitor's world: one display with one monitor
// per described monitor, its EDID served through a registry laid out as
// Windows lays it out, so the registry lookup runs as on Windows.
class SimulatedDisplaySystem : public DisplaySystem {
public:
    std::vector<DisplayPathRecord> queryDisplayPaths() override;
    bool enumerateDisplays(std::vector<DisplayRecord>& displays) override;
    std::vector<DisplayDevice> activeMonitorDevices(const DisplayRecord& display) override;
    std::vector<PhysicalMonitor> physicalMonitors(const DisplayRecord& display) override;
    EdidRecord readEdid(const DisplayDevice& device) override;
};

} // namespace platform
