#pragma once

#include "edid/DisplayRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One physical monitor of a display with the answer to the DDC/CI query of
// VCP code 0xDF (the MCCS version). The handle and the description's
// location are only numbers for the log: the back end has released the
// monitor before handing this out.
struct PhysicalMonitor {
    uintptr_t handle = 0;
    uintptr_t descriptionLocation = 0;
    std::u16string description;
    bool ddcResponds = false;
    uint32_t vcpCurrent = 0;
};

// Displays, physical monitors, their EDID and the DDC/CI probe, in the shape
// of the Windows calls so that the inventory is one portable source.
class DisplaySystem {
public:
    virtual ~DisplaySystem() = default;

    // The active display paths with their output technology, in platform order.
    virtual std::vector<edid::DisplayPathRecord> queryDisplayPaths() = 0;
    // Appends one record per display of the desktop. False when the
    // enumeration itself failed.
    virtual bool enumerateDisplays(std::vector<edid::DisplayRecord>& displays) = 0;
    // The display's monitor devices that are active, in order.
    virtual std::vector<edid::DisplayDevice>
    activeMonitorDevices(const edid::DisplayRecord& display) = 0;
    // The physical monitors of the display, each probed over DDC/CI.
    virtual std::vector<PhysicalMonitor> physicalMonitors(const edid::DisplayRecord& display) = 0;
    // The EDID of a monitor device; empty fields when it has none.
    virtual edid::EdidRecord readEdid(const edid::DisplayDevice& device) = 0;
};

} // namespace platform
