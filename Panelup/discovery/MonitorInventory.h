#pragma once

#include "discovery/MonitorRecord.h"
#include "edid/DisplayRecords.h"
#include "scalar/HubRecord.h"

#include <cstdint>
#include <vector>

namespace platform {
class DisplaySystem;
}

namespace discovery {

// The attached monitors, the hubs the bridge reports and which hub belongs
// to which monitor.
class MonitorInventory {
public:
    // Works on the current platform's displays.
    MonitorInventory() = default;
    // Works on the given displays; they must outlive the inventory.
    explicit MonitorInventory(platform::DisplaySystem& displaySystem);

    // Replaces all lists and returns the number of monitor records.
    int refreshInventory();

    int32_t pairedCount = 0;
    std::vector<edid::DisplayRecord> displays;
    std::vector<MonitorRecord> monitors;
    std::vector<scalar::HubRecord> hubs;

private:
    platform::DisplaySystem& displaySystem() const;
    void collectMonitors(platform::DisplaySystem& system,
                         const std::vector<edid::DisplayPathRecord>& paths);
    void collectHubs();
    void pairBySerialNumber();
    bool pairByModelName();

    platform::DisplaySystem* displaySystem_ = nullptr;
};

} // namespace discovery
