#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct VcpReading {
    bool ok = false;
    uint16_t current = 0;
    uint16_t maximum = 0;
};

// The Get VCP Feature request as written to bus address 0x37: source
// address, length, opcode, VCP code, check byte.
std::array<uint8_t, 5> getVcpRequest(uint8_t code);

// The feature's values from an 11-byte Get VCP Feature reply; not ok for a
// reply that is short, fails its check byte, reports an error or answers for
// another code.
VcpReading parseVcpReply(const uint8_t* reply, size_t length, uint8_t code);

// Asks the monitor on an I2C bus device (e.g. /dev/i2c-3) for one VCP
// feature with a DDC/CI Get VCP Feature request. Bounded: two attempts with
// a short kernel time-out each; any failure reads as no answer.
VcpReading queryVcpFeature(const std::string& busDevice, uint8_t code);

} // namespace platform
