#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct VcpReading {
    bool ok = false;
    uint16_t current = 0;
    uint16_t maximum = 0;
};

// Asks the monitor on an I2C bus device (e.g. /dev/i2c-3) for one VCP
// feature with a DDC/CI Get VCP Feature request. Bounded: two attempts with
// a short kernel time-out each; any failure reads as no answer.
VcpReading queryVcpFeature(const std::string& busDevice, uint8_t code);

} // namespace platform
