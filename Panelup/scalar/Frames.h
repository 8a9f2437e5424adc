#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The frames Panelup puts on the scalar's I2C bus: DDC/CI requests and the
// scalar maker's vendor memory commands, and the check bytes of both.
namespace scalar {

using Frame = std::vector<uint8_t>;

// Link parameters shared by every exchange.
constexpr int kSlaveAddress = 0x6E;
constexpr int kMemoryAddressLength = 1;
constexpr int kBusSpeed = 0;
constexpr uint32_t kRegisterAddress = 0x51;

// Fixed waits of the protocol, in milliseconds.
constexpr unsigned long kReadWaitMs = 100;
constexpr unsigned long kMemoryWriteWaitMs = 150;
constexpr unsigned long kModeEnterWaitMs = 50;

// Reply lengths asked for in full.
constexpr std::size_t kCapabilitiesReplyLength = 32;
constexpr std::size_t kSerialReplyLength = 18;
constexpr std::size_t kFirmwareLevelReplyLength = 11;
constexpr std::size_t kMemoryWriteReplyLength = 6;

// The most data bytes one memory write carries.
constexpr std::size_t kMemoryWriteChunk = 32;

// Vendor mode values around a memory write.
constexpr uint8_t kModeWrite = 3;
constexpr uint8_t kModeNormal = 0;

constexpr uint8_t kVcpFirmwareLevel = 0xC9;
constexpr uint8_t kCapabilitiesReplyOpcode = 0xE3;
constexpr uint8_t kFullCapabilitiesLength = 0x9D;

Frame capabilitiesRequest(uint16_t offset);
Frame serialRequest();
Frame firmwareLevelRequest();
Frame factoryResetRequest();
Frame modeRequest(uint8_t mode);
Frame memoryReadRequest(uint8_t count, uint16_t address);
// count data bytes from data; the length byte is 0x84 + count.
Frame memoryWriteRequest(uint16_t address, const uint8_t* data, uint8_t count);

// Length of a memory-read reply carrying count data bytes.
constexpr std::size_t memoryReadReplyLength(std::size_t count) {
    return count + 5;
}

// The DDC/CI reply check: bytes 1 up to the one before the last, xor 0x3E,
// equal the last byte.
bool ddcCheckHolds(const Frame& reply);

// The vendor check byte over frame bytes 1 up to (excluding) end.
uint8_t vendorCheck(const uint8_t* frame, std::size_t end);
// The last byte of frame is the vendor check of the bytes before it.
bool vendorCheckHolds(const Frame& frame);

// A firmware-level reply whose check holds and that answers for VCP code
// 0xC9; the level is then in bytes 8 (major) and 9 (minor).
bool firmwareLevelReplyAccepted(const Frame& reply);

// A memory write the scalar accepted answers 83 C1 02 01 in bytes 1 to 4.
bool memoryWriteAccepted(const Frame& reply);

} // namespace scalar
