#include "Scalar.h"

#include "Faults.h"
#include "FrameChecks.h"

#include <algorithm>

namespace simulator {
namespace {

constexpr uint8_t sourceAddress = 0x6E;
constexpr uint8_t capabilitiesReplyOpcode = 0xE3;
constexpr uint8_t vendorReplyOpcode = 0xC1;
constexpr size_t capabilitiesReplySize = 32;
constexpr size_t serialReplySize = 18;
constexpr size_t serialLength = 12;
constexpr size_t vcpReplySize = 11;
constexpr size_t largestMemoryRead = 250; // the reply length must fit its length byte

void sealDdc(std::vector<uint8_t>& reply) {
    reply.back() = ddcCheck(reply.data(), reply.size());
}

void sealVendor(std::vector<uint8_t>& reply) {
    reply.back() = vendorCheck(reply.data(), reply.size());
}

// Length byte 0x80 + n with n bytes before a trailing check byte.
bool wellFormed(const std::vector<uint8_t>& frame) {
    return frame.size() >= 3 && (frame[0] & 0x80) != 0 &&
           static_cast<size_t>(frame[0] & 0x7F) + 2 == frame.size();
}

} // namespace

Scalar::Scalar() : memory(memorySize, 0xFF) {}

Scalar::Outcome Scalar::handle(const std::vector<uint8_t>& frame, Faults& faults) {
    Outcome outcome;
    if (frame.size() >= 3 && frame[1] == 0xC0)
        return vendorCommand(frame, faults);
    if (!wellFormed(frame) || frame.back() != 0xFF)
        return outcome;
    const uint8_t opcode = frame[1];
    if (opcode == 0xF3 && frame.size() == 5) {
        uint16_t offset = static_cast<uint16_t>(frame[2] << 8 | frame[3]);
        if (faults.takeWrongOffsetFragment())
            offset = static_cast<uint16_t>(offset + fragmentSize);
        outcome.reply = capabilitiesReply(offset);
    } else if (opcode == 0xF1 && frame.size() == 4 && frame[2] == 0x44) {
        outcome.reply = serialReply();
    } else if (opcode == 0x01 && frame.size() == 4) {
        outcome.reply = vcpReply(frame[2]);
    } else if (opcode == 0x03 && frame.size() == 6) {
        // Set VCP: only restore-factory-defaults does anything here.
        if (frame[2] == 0x04 && (frame[3] != 0 || frame[4] != 0))
            ++factoryResets;
    }
    return outcome;
}

std::vector<uint8_t> Scalar::capabilitiesReply(uint16_t offset) const {
    std::vector<uint8_t> reply(capabilitiesReplySize, 0);
    size_t count = 0;
    if (offset < capabilities.size())
        count = std::min(fragmentSize, capabilities.size() - offset);
    reply[0] = sourceAddress;
    reply[1] = static_cast<uint8_t>(0x80 + 3 + count);
    reply[2] = capabilitiesReplyOpcode;
    reply[3] = static_cast<uint8_t>(offset >> 8);
    reply[4] = static_cast<uint8_t>(offset);
    std::copy_n(capabilities.begin() + offset, count, reply.begin() + 5);
    sealDdc(reply);
    return reply;
}

std::vector<uint8_t> Scalar::serialReply() const {
    std::vector<uint8_t> reply(serialReplySize, 0);
    reply[0] = sourceAddress;
    reply[1] = static_cast<uint8_t>(0x80 + serialReplySize - 3);
    reply[2] = 0xF1;
    reply[3] = 0x44;
    reply[4] = static_cast<uint8_t>(serialLength);
    std::copy_n(serial.begin(), std::min(serial.size(), serialLength), reply.begin() + 5);
    sealDdc(reply);
    return reply;
}

std::vector<uint8_t> Scalar::vcpReply(uint8_t code) const {
    // DDC/CI Get VCP Feature reply: opcode 02, result, code, type, maximum,
    // current value.
    std::vector<uint8_t> reply = {sourceAddress, 0x88, 0x02, 0x00, code, 0x00,
                                  0xFF,          0xFF, 0x00, 0x00, 0x00};
    if (code == 0xC9) {
        reply[8] = firmwareMajor;
        reply[9] = firmwareMinor;
    }
    sealDdc(reply);
    return reply;
}

Scalar::Outcome Scalar::vendorCommand(const std::vector<uint8_t>& frame, Faults& faults) {
    Outcome outcome;
    const uint8_t subcommand = frame[2];
    if (subcommand == 0x02)
        return memoryWrite(frame, faults);
    if (!wellFormed(frame) || frame.back() != 0xFF)
        return outcome;
    if (subcommand == 0x11 && frame.size() == 5)
        vendorMode = frame[3];
    else if (subcommand == 0x09 && frame.size() == 7)
        outcome.reply = memoryRead(frame);
    return outcome;
}

std::optional<std::vector<uint8_t>> Scalar::memoryRead(const std::vector<uint8_t>& frame) const {
    const size_t count = frame[3];
    const size_t address = static_cast<size_t>(frame[4] << 8 | frame[5]);
    if (count == 0 || count > largestMemoryRead || address + count > memorySize)
        return std::nullopt;
    std::vector<uint8_t> reply(count + 5, 0);
    reply[0] = sourceAddress;
    reply[1] = static_cast<uint8_t>(0x80 + count + 2);
    reply[2] = vendorReplyOpcode;
    reply[3] = 0x09;
    std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(address), count, reply.begin() + 4);
    sealVendor(reply);
    return reply;
}

Scalar::Outcome Scalar::memoryWrite(const std::vector<uint8_t>& frame, Faults& faults) {
    // The length byte of this command is 0x84 + count although count + 5
    // bytes follow it; frames that disagree get no answer at all.
    Outcome outcome;
    if (frame.size() < 7)
        return outcome;
    const size_t count = frame[3];
    if (count == 0 || frame.size() != count + 7 || frame[0] != ((0x84 + count) & 0xFF))
        return outcome;
    const size_t address = static_cast<size_t>(frame[4] << 8 | frame[5]);

    bool accepted = frame.back() == vendorCheck(frame.data(), frame.size()) && vendorMode == 3 &&
                    address + count <= memorySize;
    if (accepted && faults.takeRefusedMemoryWrite())
        accepted = false;
    if (accepted) {
        std::copy_n(frame.begin() + 6, count,
                    memory.begin() + static_cast<std::ptrdiff_t>(address));
        outcome.stateChanged = true;
    }
    std::vector<uint8_t> reply = {
        sourceAddress, 0x83, vendorReplyOpcode, 0x02, static_cast<uint8_t>(accepted ? 0x01 : 0x00),
        0x00};
    sealVendor(reply);
    outcome.reply = std::move(reply);
    return outcome;
}

} // namespace simulator
