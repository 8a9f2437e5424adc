#pragma once

#include <cstddef>
#include <cstdint>

namespace simulator {

// Both checks cover a whole frame whose last byte is the check byte; byte 0
// (the source address of a reply, the length byte of a request) is left out.

// DDC/CI: 0x3E stands for the source byte 0x6E and the host's virtual
// address 0x50 that the standard folds into the reply checksum.
inline uint8_t ddcCheck(const uint8_t* frame, size_t size) {
    uint8_t check = 0x3E;
    for (size_t i = 1; i + 1 < size; ++i)
        check ^= frame[i];
    return check;
}

// The scalar maker's memory commands start from 0x01 instead.
inline uint8_t vendorCheck(const uint8_t* frame, size_t size) {
    uint8_t check = 0x01;
    for (size_t i = 1; i + 1 < size; ++i)
        check ^= frame[i];
    return check;
}

} // namespace simulator
