#pragma once

namespace platform {

// Displays, physical monitors, their EDID and the DDC/CI probe.
class DisplaySystem {
public:
    virtual ~DisplaySystem() = default;
};

} // namespace platform
