#pragma once

#include "edid/DisplayRecords.h"
#include "scalar/HubRecord.h"

#include <cstdint>

namespace discovery {

// One physical monitor: the display that holds it (the DisplayRecord part,
// with single = 0 on a clone display), its device, EDID and paired hub.
struct MonitorRecord : edid::DisplayRecord {
    edid::EdidRecord edid;
    scalar::HubRecord hub;
    int32_t outputTechnology = -1;
    // Only a number for the log: released before the inventory refresh ends.
    uintptr_t physicalMonitor = 0;
    uint8_t ddcResponds = 0;
    uint8_t hubPaired = 0;
};

} // namespace discovery
