#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace simulator {

// What a description says of a monitor's EDID when it does not give the
// image itself.
struct EdidIdentity {
    std::string displayName;  // at most 13 printable characters
    std::string serial;       // at most 13 printable characters
    std::string manufacturer; // three letters A-Z
    uint16_t productCode = 0;
};

// A 256-byte EDID 1.4 image with one CEA-861 extension block, both block
// checksums right. The names go into the 0xFC and 0xFF descriptors.
std::vector<uint8_t> buildEdid(const EdidIdentity& identity);

// Sets byte 127 of every 128-byte block so the block sums to 0.
void fixEdidChecksums(std::vector<uint8_t>& edid);

} // namespace simulator
