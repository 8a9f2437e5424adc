#include "catalogue/FirmwareChecks.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace catalogue {

namespace {

std::string trimmed(const std::string& text) {
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// A whole text of digits in the given base that fits an int; anything else
// (empty, signs, stray characters, overflow) is not a number and gives 0.
uint32_t parseNumber(const std::string& digits, unsigned base) {
    if (digits.empty())
        return 0;
    uint64_t value = 0;
    for (char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        if (digit >= base)
            return 0;
        value = value * base + digit;
        if (value > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            return 0;
    }
    return static_cast<uint32_t>(value);
}

std::array<uint32_t, 4> versionParts(const std::string& text) {
    std::array<uint32_t, 4> parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.', start);
        parts[i] = parseNumber(trimmed(text.substr(start, dot - start)), 10);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

} // namespace

uint16_t byteChecksum(const uint8_t* data, std::size_t size) {
    // Eight bytes at a time: the even and the odd bytes of a word are added
    // into four 16-bit lanes, which hold 128 words (128 x 510 < 65536) before
    // they are folded into the total.
    constexpr uint64_t evenBytes = 0x00FF00FF00FF00FFull;
    constexpr std::size_t wordsPerFold = 128;
    uint64_t total = 0;
    while (size >= sizeof(uint64_t)) {
        const std::size_t words = std::min(size / sizeof(uint64_t), wordsPerFold);
        uint64_t lanes = 0;
        for (std::size_t i = 0; i < words; ++i) {
            uint64_t word;
            std::memcpy(&word, data + i * sizeof word, sizeof word);
            lanes += (word & evenBytes) + ((word >> 8) & evenBytes);
        }
        lanes = (lanes & 0x0000FFFF0000FFFFull) + ((lanes >> 16) & 0x0000FFFF0000FFFFull);
        total += (lanes & 0xFFFFFFFFull) + (lanes >> 32);
        data += words * sizeof(uint64_t);
        size -= words * sizeof(uint64_t);
    }
    while (size-- > 0)
        total += *data++;
    return static_cast<uint16_t>(total);
}

uint16_t byteChecksum(const std::vector<uint8_t>& bytes) {
    return byteChecksum(bytes.data(), bytes.size());
}

uint16_t fileChecksum(const std::string& utf8Path) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::u8path(utf8Path);
    if (!std::filesystem::is_regular_file(path, error))
        return 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    std::vector<uint8_t> chunk(std::size_t{1} << 16);
    uint32_t total = 0;
    for (;;) {
        in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        total += byteChecksum(chunk.data(), static_cast<std::size_t>(got));
    }
    return static_cast<uint16_t>(total);
}

std::string checksumText(int64_t value) {
    if (value < 0)
        return "-" + checksumText(-value);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (hex.size() % 2 != 0)
        hex.insert(hex.begin(), '0');
    return "0x" + hex;
}

int parseChecksumText(const std::string& text) {
    // As QString::toInt reads it, sign and all: a record keeps meaning
    // what it always meant.
    return QString::fromStdString(text).toInt(nullptr, 16);
}

int compareVersions(const std::string& reference, const std::string& candidate) {
    const auto r = versionParts(reference);
    const auto c = versionParts(candidate);
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (c[i] < r[i])
            return 1;
        if (c[i] > r[i])
            return -1;
    }
    return 0;
}

} // namespace catalogue
