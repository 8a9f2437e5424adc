#pragma once

#include "FuzzSupport.h"

#include <cstdint>
#include <vector>

// Hubbridge's exports, answered from the fuzzer's bytes instead of a hub.
// Each read takes a control byte and then the reply (as many bytes as
// asked for):
//   bit 0  the read is refused
//   bit 1  the DDC/CI check byte is made to hold
//   bit 2  the vendor check byte is made to hold
//   bit 3  a capabilities reply names the offset just asked for
// so that the checks do not stop every input at the first reply.
namespace fakebridge {

void reset(ByteReader& data);

struct Counts {
    int reads = 0;
    int writes = 0;
    int opens = 0;
    int closes = 0;
};
const Counts& counts();

// The frames written, in order.
const std::vector<std::vector<uint8_t>>& written();

} // namespace fakebridge
