#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simulator {

class Faults;

// The monitor's display controller as seen from the I2C bus: it answers
// DDC/CI requests and the maker's memory commands over its 64 KiB memory.
class Scalar {
public:
    static constexpr size_t memorySize = 0x10000;
    static constexpr size_t fragmentSize = 26;

    struct Outcome {
        std::optional<std::vector<uint8_t>> reply;
        bool stateChanged = false;
    };

    Scalar();

    // One request frame as it arrived after the host's source byte 0x51:
    // length byte first, check byte last.
    Outcome handle(const std::vector<uint8_t>& frame, Faults& faults);

    std::string model;
    std::string capabilities;
    std::string serial;
    uint8_t firmwareMajor = 0;
    uint8_t firmwareMinor = 0;
    std::vector<uint8_t> memory;
    int32_t factoryResets = 0;
    uint8_t vendorMode = 0;

private:
    std::vector<uint8_t> capabilitiesReply(uint16_t offset) const;
    std::vector<uint8_t> serialReply() const;
    std::vector<uint8_t> vcpReply(uint8_t code) const;
    std::optional<std::vector<uint8_t>> memoryRead(const std::vector<uint8_t>& frame) const;
    Outcome memoryWrite(const std::vector<uint8_t>& frame, Faults& faults);
    Outcome vendorCommand(const std::vector<uint8_t>& frame, Faults& faults);
};

} // namespace simulator
