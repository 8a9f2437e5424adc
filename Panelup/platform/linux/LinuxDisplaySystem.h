#pragma once

#include "platform/DisplaySystem.h"

#include <string>

namespace platform {

// Displays from the kernel's DRM connectors: every connected connector is
// one display with one monitor, its EDID read from sysfs and its DDC bus
// probed through the i2c-dev device. The two roots are "/sys" and "/dev" in
// the program.
class LinuxDisplaySystem : public DisplaySystem {
public:
    LinuxDisplaySystem(std::string sysfsRoot, std::string devRoot);

    std::vector<edid::DisplayPathRecord> queryDisplayPaths() override;
    bool enumerateDisplays(std::vector<edid::DisplayRecord>& displays) override;
    std::vector<edid::DisplayDevice>
    activeMonitorDevices(const edid::DisplayRecord& display) override;
    std::vector<PhysicalMonitor> physicalMonitors(const edid::DisplayRecord& display) override;
    edid::EdidRecord readEdid(const edid::DisplayDevice& device) override;

private:
    std::string sysfsRoot_;
    std::string devRoot_;
};

} // namespace platform
