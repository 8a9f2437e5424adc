#pragma once

#include "edid/Edid.h"

#include <cstdint>
#include <string>
#include <vector>

// A 128-byte EDID base block as a monitor sends it: a detailed timing in
// descriptor 1, then serial number, display name and a range descriptor.
struct EdidBuilder {
    std::string displayName = "LM0420";
    std::string serial = "UP2160100001";
    int horizontal = 2560;
    int vertical = 1440;

    static void putText(std::vector<uint8_t>& edid, size_t offset, uint8_t tag,
                        const std::string& text) {
        edid[offset + 3] = tag;
        for (size_t i = 0; i < 13; ++i)
            edid[offset + 5 + i] = i < text.size()    ? static_cast<uint8_t>(text[i])
                                   : i == text.size() ? 0x0A
                                                      : 0x20;
    }

    std::vector<uint8_t> build() const {
        std::vector<uint8_t> edid(128, 0);
        const uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
        std::copy(std::begin(header), std::end(header), edid.begin());
        edid[8] = 0x3A; // "NVL"
        edid[9] = 0xCC;
        edid[10] = 0x20; // product 0x0420, little-endian
        edid[11] = 0x04;
        edid[18] = 1;
        edid[19] = 4;
        // Detailed timing: pixel clock, then the 12-bit active sizes.
        edid[54] = 0x56;
        edid[55] = 0x5E;
        edid[56] = static_cast<uint8_t>(horizontal & 0xFF);
        edid[58] = static_cast<uint8_t>((horizontal >> 8) << 4);
        edid[59] = static_cast<uint8_t>(vertical & 0xFF);
        edid[61] = static_cast<uint8_t>((vertical >> 8) << 4);
        putText(edid, 72, 0xFF, serial);
        putText(edid, 90, 0xFC, displayName);
        edid[108 + 3] = 0xFD;
        edid::repairEdidChecksums(edid);
        return edid;
    }
};
