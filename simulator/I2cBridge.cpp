#include "I2cBridge.h"

#include "Faults.h"

#include <algorithm>
#include <vector>

namespace simulator {
namespace {

constexpr int32_t ok = 0;
constexpr int32_t failed = -1;

uint16_t setupLength(const uint8_t* setup) {
    return static_cast<uint16_t>(setup[6] | setup[7] << 8);
}

uint32_t registerAddress(const uint8_t* setup) {
    return static_cast<uint32_t>(setup[2]) | static_cast<uint32_t>(setup[3]) << 8 |
           static_cast<uint32_t>(setup[4]) << 16 | static_cast<uint32_t>(setup[5]) << 24;
}

} // namespace

Monitor* I2cBridge::scalarBehind(const Device& device) {
    // A slave that is not the scalar, or no bus behind the device at all:
    // nobody acknowledges the address.
    if (!device.bridge.configured || device.bridge.slaveAddress != scalarSlaveAddress)
        return nullptr;
    return world_.monitorAt(device.monitor);
}

int32_t I2cBridge::configure(Device& device, const uint8_t* setup) {
    if (setup == nullptr || faults_.busConfigRefused())
        return failed;
    const bool layout = setup[0] == 0x40 && setup[1] == 0xF6 && (setup[4] & 0x80) != 0 &&
                        setup[5] == 0x80 && setupLength(setup) == 0;
    if (!layout || setup[2] > 4)
        return failed;
    device.bridge.configured = true;
    device.bridge.memoryAddressLength = setup[2];
    device.bridge.slaveAddress = setup[3];
    device.bridge.speed = setup[4] & 0x07;
    return ok;
}

int32_t I2cBridge::write(Device& device, const uint8_t* setup, const uint8_t* data, int32_t length,
                         bool& stateChanged) {
    stateChanged = false;
    if (setup == nullptr || setup[0] != 0x40 || setup[1] != 0xC6 || length < 0 ||
        setupLength(setup) != length || (length > 0 && data == nullptr))
        return failed;
    Monitor* monitor = scalarBehind(device);
    if (monitor == nullptr)
        return failed;
    faults_.countTransfer();

    // On the bus: the register address (most significant byte first), then
    // the data. With one address byte 0x51 that is a DDC/CI host frame.
    const uint32_t address = registerAddress(setup);
    std::vector<uint8_t> bus;
    for (int shift = 8 * (device.bridge.memoryAddressLength - 1); shift >= 0; shift -= 8)
        bus.push_back(static_cast<uint8_t>(address >> shift));
    bus.insert(bus.end(), data, data + length);

    monitor->pendingReply.reset();
    if (bus.size() < 2 || bus[0] != hostSourceAddress)
        return ok;
    const std::vector<uint8_t> frame(bus.begin() + 1, bus.end());
    Scalar::Outcome outcome = monitor->scalar.handle(frame, faults_);
    stateChanged = outcome.stateChanged;
    if (outcome.reply && faults_.passReply(*outcome.reply))
        monitor->pendingReply = std::move(outcome.reply);
    return ok;
}

int32_t I2cBridge::read(Device& device, const uint8_t* setup, uint8_t* buffer, int32_t length) {
    if (setup == nullptr || setup[0] != 0xC0 || setup[1] != 0xD6 || length < 0 ||
        setupLength(setup) != length || (length > 0 && buffer == nullptr))
        return failed;
    Monitor* monitor = scalarBehind(device);
    if (monitor == nullptr)
        return failed;
    faults_.countTransfer();

    const size_t size = static_cast<size_t>(length);
    if (!monitor->pendingReply) {
        std::fill(buffer, buffer + size, 0xFF);
        return ok;
    }
    // A reply is read once; the bytes past its end read as 0.
    const std::vector<uint8_t> reply = std::move(*monitor->pendingReply);
    monitor->pendingReply.reset();
    const size_t copied = std::min(size, reply.size());
    std::copy_n(reply.begin(), copied, buffer);
    std::fill(buffer + copied, buffer + size, 0);
    return ok;
}

} // namespace simulator
