#include "scalar/Frames.h"

#include <algorithm>

namespace scalar {

namespace {
uint8_t high(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}
uint8_t low(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}
} // namespace

Frame capabilitiesRequest(uint16_t offset) {
    return {0x83, 0xF3, high(offset), low(offset), 0xFF};
}

Frame serialRequest() {
    return {0x82, 0xF1, 0x44, 0xFF};
}

Frame firmwareLevelRequest() {
    return {0x82, 0x01, kVcpFirmwareLevel, 0xFF};
}

Frame factoryResetRequest() {
    return {0x84, 0x03, 0x04, 0x00, 0x01, 0xFF};
}

Frame modeRequest(uint8_t mode) {
    return {0x83, 0xC0, 0x11, mode, 0xFF};
}

Frame memoryReadRequest(uint8_t count, uint16_t address) {
    return {0x85, 0xC0, 0x09, count, high(address), low(address), 0xFF};
}

Frame memoryWriteRequest(uint16_t address, const uint8_t* data, uint8_t count) {
    // The scalar expects 0x84 + count here, one less than the bytes that
    // follow; it is what the firmware parses, so it is kept.
    Frame frame(static_cast<std::size_t>(count) + 7);
    frame[0] = static_cast<uint8_t>(0x84 + count);
    frame[1] = 0xC0;
    frame[2] = 0x02;
    frame[3] = count;
    frame[4] = high(address);
    frame[5] = low(address);
    std::copy_n(data, count, frame.begin() + 6);
    frame.back() = vendorCheck(frame.data(), frame.size() - 1);
    return frame;
}

bool ddcCheckHolds(const Frame& reply) {
    if (reply.size() < 3)
        return false;
    uint8_t check = 0x3E;
    for (std::size_t i = 1; i + 1 < reply.size(); ++i)
        check ^= reply[i];
    return check == reply.back();
}

uint8_t vendorCheck(const uint8_t* frame, std::size_t end) {
    uint8_t check = 0x01;
    for (std::size_t i = 1; i < end; ++i)
        check ^= frame[i];
    return check;
}

bool vendorCheckHolds(const Frame& frame) {
    if (frame.size() < 3)
        return false;
    return vendorCheck(frame.data(), frame.size() - 1) == frame.back();
}

bool firmwareLevelReplyAccepted(const Frame& reply) {
    return reply.size() == kFirmwareLevelReplyLength && ddcCheckHolds(reply) &&
           reply[4] == kVcpFirmwareLevel;
}

bool memoryWriteAccepted(const Frame& reply) {
    return reply.size() >= 5 && reply[1] == 0x83 && reply[2] == 0xC1 && reply[3] == 0x02 &&
           reply[4] == 0x01;
}

} // namespace scalar
