#pragma once

#include "edid/DisplayRecords.h"
#include "edid/RegistryReader.h"

#include <string>
#include <vector>

namespace edid {

// The parts of a device ID between backslashes; a trailing backslash adds no
// empty part.
std::vector<std::string> splitDeviceId(const std::string& deviceId);

// The monitor's EDID as Windows keeps it under the DISPLAY enumeration key.
// Whatever cannot be found stays empty.
EdidRecord readRegistryEdid(const std::string& deviceId, const RegistryReader& registry);

} // namespace edid
