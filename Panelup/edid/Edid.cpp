#include "edid/Edid.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace edid {

namespace {

uint8_t blockSum(std::vector<uint8_t>::const_iterator begin, size_t count) {
    return static_cast<uint8_t>(std::accumulate(begin, begin + static_cast<std::ptrdiff_t>(count),
                                                0u,
                                                [](unsigned sum, uint8_t b) { return sum + b; }));
}

constexpr uint8_t SerialNumberTag = 0xFF;
constexpr uint8_t DisplayNameTag = 0xFC;

} // namespace

int validateEdid(std::vector<uint8_t> bytes) {
    if (bytes.size() % EdidBlockSize != 0)
        return EdidBadLength;
    if (!bytes.empty() &&
        std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0x00 || b == 0xFF; }))
        return EdidBlank;
    for (size_t offset = 0; offset < bytes.size(); offset += EdidBlockSize) {
        if (blockSum(bytes.cbegin() + static_cast<std::ptrdiff_t>(offset), EdidBlockSize) != 0)
            return EdidBadChecksum;
    }
    return EdidValid;
}

void repairEdidChecksums(std::vector<uint8_t>& bytes) {
    if (bytes.size() % EdidBlockSize != 0)
        return;
    for (size_t offset = 0; offset < bytes.size(); offset += EdidBlockSize) {
        const uint8_t sum =
            blockSum(bytes.cbegin() + static_cast<std::ptrdiff_t>(offset), EdidBlockSize - 1);
        bytes[offset + EdidBlockSize - 1] = static_cast<uint8_t>(256 - sum);
    }
}

std::string descriptorText(const EdidRecord::Descriptor& descriptor) {
    std::string text;
    for (size_t i = 5; i < descriptor.size(); ++i) {
        const uint8_t c = descriptor[i];
        if (c == 0x0A || c == 0x00)
            break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

void decodeEdidBaseBlock(EdidRecord& record, const std::vector<uint8_t>& bytes) {
    record.baseBlock.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), record.baseBlock.size()),
                record.baseBlock.begin());
    const auto& block = record.baseBlock;

    std::copy_n(block.begin() + 8, 2, record.manufacturerCode.begin());
    std::copy_n(block.begin() + 10, 2, record.productCode.begin());
    EdidRecord::Descriptor* descriptors[] = {&record.descriptor1, &record.descriptor2,
                                             &record.descriptor3, &record.descriptor4};
    for (size_t i = 0; i < 4; ++i)
        std::copy_n(block.begin() + 54 + 18 * static_cast<std::ptrdiff_t>(i), 18,
                    descriptors[i]->begin());
    record.checksumByte = block[127];

    // The first detailed timing, read as one whatever the descriptor holds.
    const auto& timing = record.descriptor1;
    record.horizontalActive = timing[2] + 256 * (timing[4] >> 4);
    record.verticalActive = timing[5] + 256 * (timing[7] >> 4);

    record.serialNumber.clear();
    record.displayName.clear();
    for (const auto* descriptor : descriptors) {
        if ((*descriptor)[3] == SerialNumberTag)
            record.serialNumber = descriptorText(*descriptor);
        else if ((*descriptor)[3] == DisplayNameTag)
            record.displayName = descriptorText(*descriptor);
    }
}

std::string narrowDeviceId(const std::u16string& deviceId) {
    std::string narrow;
    narrow.reserve(deviceId.size());
    for (char16_t unit : deviceId)
        narrow.push_back(static_cast<char>(unit & 0xFF));
    return narrow;
}

std::string monitorDeviceId(const EdidRecord& edid, const std::string& instance) {
    char product[5];
    std::snprintf(product, sizeof product, "%04X",
                  static_cast<unsigned>(edid.productCode[0] | (edid.productCode[1] << 8)));
    std::string vendor = pnpVendorId(edid.manufacturerCode);
    if (vendor.empty())
        vendor = "UNK";
    return "MONITOR\\" + vendor + product + "\\" + MonitorClassGuid + "\\" + instance;
}

std::u16string widenBytes(const std::string& text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string pnpVendorId(const std::array<uint8_t, 2>& manufacturerCode) {
    const unsigned code = (manufacturerCode[0] << 8) | manufacturerCode[1];
    std::string id;
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (code >> shift) & 0x1F;
        if (letter < 1 || letter > 26)
            return {};
        id.push_back(static_cast<char>('A' + letter - 1));
    }
    return id;
}

} // namespace edid
