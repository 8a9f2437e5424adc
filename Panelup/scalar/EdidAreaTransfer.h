#pragma once

#include "scalar/ScalarLink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Reading and writing EDID areas in the scalar's memory with the vendor
// memory commands, on a hub that is already open and configured.
namespace scalar {

constexpr std::size_t kEdidAreaSize = 256;
constexpr std::size_t kMemoryReadChunk = 27;
// A chunk whose reply is refused, corrupt or not accepted is sent this many
// times in all before the transfer gives up.
constexpr int kEdidChunkAttempts = 5;

// True when the area from address on lies inside the 16-bit memory.
bool memoryRangeUsable(int address, std::size_t size);

// Reads kEdidAreaSize bytes into area (always resized to that, zeros where
// nothing was read). False when a chunk could not be read.
bool readMemoryArea(ScalarLink& link, uint16_t address, std::vector<uint8_t>& area);

// Writes data between the write-mode and normal-mode requests. False when a
// chunk was not accepted; the chunks after it are not sent.
bool writeMemoryArea(ScalarLink& link, uint16_t address, const std::vector<uint8_t>& data);

} // namespace scalar
