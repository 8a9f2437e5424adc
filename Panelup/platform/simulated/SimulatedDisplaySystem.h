#pragma once

#include "platform/DisplaySystem.h"

namespace platform {

// Displays from the virtual monitor's world: one display with one monitor
// per described monitor, its EDID served through a registry laid out as
// Windows lays it out, so the registry lookup runs as on Windows.
class SimulatedDisplaySystem : public DisplaySystem {
public:
    std::vector<edid::DisplayPathRecord> queryDisplayPaths() override;
    bool enumerateDisplays(std::vector<edid::DisplayRecord>& displays) override;
    std::vector<edid::DisplayDevice>
    activeMonitorDevices(const edid::DisplayRecord& display) override;
    std::vector<PhysicalMonitor> physicalMonitors(const edid::DisplayRecord& display) override;
    edid::EdidRecord readEdid(const edid::DisplayDevice& device) override;
};

} // namespace platform
