#include "EdidImage.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace simulator {
namespace {

constexpr size_t blockSize = 128;

// Display descriptor text: the text, a line feed when shorter than 13
// characters, then blanks.
void putDescriptorText(uint8_t* descriptor, uint8_t tag, const std::string& text) {
    std::fill(descriptor, descriptor + 18, 0);
    descriptor[3] = tag;
    uint8_t* field = descriptor + 5;
    std::fill(field, field + 13, ' ');
    const size_t length = std::min<size_t>(text.size(), 13);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), field);
    if (length < 13)
        field[length] = '\n';
}

// 2560x1440 at 59.95 Hz, reduced blanking, 241.50 MHz, 597 x 336 mm.
constexpr std::array<uint8_t, 18> preferredTiming = {0x56, 0x5E, 0x00, 0xA0, 0xA0, 0xA0,
                                                     0x29, 0x50, 0x30, 0x20, 0x35, 0x00,
                                                     0x55, 0x50, 0x21, 0x00, 0x00, 0x1A};

// 1920x1080 at 60 Hz, 148.50 MHz (CEA VIC 16).
constexpr std::array<uint8_t, 18> extensionTiming = {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38,
                                                     0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00,
                                                     0x55, 0x50, 0x21, 0x00, 0x00, 0x1E};

void buildBaseBlock(uint8_t* block, const EdidIdentity& identity) {
    static const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(header, header + 8, block);

    uint16_t maker = 0;
    for (size_t i = 0; i < 3; ++i) {
        const char letter = i < identity.manufacturer.size() ? identity.manufacturer[i] : 'A';
        maker = static_cast<uint16_t>(maker << 5 | ((letter - 'A' + 1) & 0x1F));
    }
    block[8] = static_cast<uint8_t>(maker >> 8);
    block[9] = static_cast<uint8_t>(maker);
    block[10] = static_cast<uint8_t>(identity.productCode);
    block[11] = static_cast<uint8_t>(identity.productCode >> 8);
    // No numeric serial: the serial descriptor carries it.
    block[16] = 1;  // week
    block[17] = 26; // 2016
    block[18] = 1;  // EDID 1.4
    block[19] = 4;
    block[20] = 0xA5; // digital, 8 bits per colour, DisplayPort
    block[21] = 60;   // cm
    block[22] = 34;
    block[23] = 120;  // gamma 2.2
    block[24] = 0x1F; // RGB and YCbCr 4:4:4/4:2:2, sRGB, native preferred timing, continuous
    static const uint8_t srgb[10] = {0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54};
    std::copy(srgb, srgb + 10, block + 25);
    block[35] = 0x21; // 640x480, 800x600 at 60 Hz
    block[36] = 0x08; // 1024x768 at 60 Hz
    block[37] = 0x00;
    static const uint8_t standard[16] = {0xD1, 0xC0, 0x81, 0xC0, 0xA9, 0xC0, 0xB3, 0x00,
                                         0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};
    std::copy(standard, standard + 16, block + 38);

    std::copy(preferredTiming.begin(), preferredTiming.end(), block + 54);
    putDescriptorText(block + 72, 0xFF, identity.serial);
    // Range limits: 24-75 Hz, 15-130 kHz, 250 MHz, no secondary timing formula.
    static const uint8_t range[18] = {0x00, 0x00, 0x00, 0xFD, 0x00, 0x18, 0x4B, 0x0F, 0x82,
                                      0x19, 0x01, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
    std::copy(range, range + 18, block + 90);
    putDescriptorText(block + 108, 0xFC, identity.displayName);
    block[126] = 1; // one extension block
}

void buildExtensionBlock(uint8_t* block) {
    block[0] = 0x02; // CEA-861
    block[1] = 0x03;
    block[3] = 0xF1; // underscan, basic audio, YCbCr 4:4:4 and 4:2:2, one native timing
    static const uint8_t dataBlocks[] = {
        0x42, 0x10, 0x04,       // video: VIC 16, VIC 4
        0x23, 0x09, 0x07, 0x07, // audio: 2-channel LPCM, 32/44.1/48 kHz, 16/20/24 bit
        0x83, 0x01, 0x00, 0x00, // speaker allocation: front left/right
        0xE2, 0x00, 0xCA,       // video capability: selectable quantization, underscanned
    };
    std::copy(std::begin(dataBlocks), std::end(dataBlocks), block + 4);
    const size_t timings = 4 + sizeof dataBlocks;
    block[2] = static_cast<uint8_t>(timings);
    std::copy(extensionTiming.begin(), extensionTiming.end(), block + timings);
}

} // namespace

void fixEdidChecksums(std::vector<uint8_t>& edid) {
    for (size_t start = 0; start + blockSize <= edid.size(); start += blockSize) {
        uint8_t sum = 0;
        for (size_t i = start; i < start + blockSize - 1; ++i)
            sum = static_cast<uint8_t>(sum + edid[i]);
        edid[start + blockSize - 1] = static_cast<uint8_t>(0x100 - sum);
    }
}

std::vector<uint8_t> buildEdid(const EdidIdentity& identity) {
    std::vector<uint8_t> edid(2 * blockSize, 0);
    buildBaseBlock(edid.data(), identity);
    buildExtensionBlock(edid.data() + blockSize);
    fixEdidChecksums(edid);
    return edid;
}

} // namespace simulator
