#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// One connected connector under <sysfs>/class/drm, e.g. card0-HDMI-A-1.
struct DrmConnector {
    std::string name;
    std::filesystem::path directory;
    int32_t outputTechnology = -1;
    std::vector<uint8_t> edid;
    int width = 0; // of the preferred mode, 0 when unknown
    int height = 0;
    int ddcBus = -1; // N of /dev/i2c-N, -1 when unknown
};

// The connected connectors, ordered by card and name; none when there is no
// DRM class at all.
std::vector<DrmConnector> connectedConnectors(const std::filesystem::path& sysfsRoot);

// The connector of that name when it is connected.
bool readConnector(const std::filesystem::path& sysfsRoot, const std::string& name,
                   DrmConnector& connector);

// The Windows output-technology number of a connector name such as
// card0-DP-2; -1 for kinds without one.
int32_t outputTechnologyOfConnector(const std::string& name);

} // namespace platform
