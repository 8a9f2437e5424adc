#pragma once

#include "World.h"

#include <cstdint>

namespace simulator {

class Faults;

// The hub's USB-to-I2C function: the three vendor control requests and the
// bus between the hub and the monitor's scalar. Results as the vendor
// library gives them: 0 for success, nonzero for failure.
class I2cBridge {
public:
    static constexpr uint8_t scalarSlaveAddress = 0x6E;
    static constexpr uint8_t hostSourceAddress = 0x51;

    I2cBridge(World& world, Faults& faults) : world_(world), faults_(faults) {}

    int32_t configure(Device& device, const uint8_t* setup);
    // stateChanged tells whether the scalar's memory was written.
    int32_t write(Device& device, const uint8_t* setup, const uint8_t* data, int32_t length,
                  bool& stateChanged);
    int32_t read(Device& device, const uint8_t* setup, uint8_t* buffer, int32_t length);

private:
    Monitor* scalarBehind(const Device& device);

    World& world_;
    Faults& faults_;
};

} // namespace simulator
