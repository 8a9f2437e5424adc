#include "HexText.h"

namespace simulator {
namespace {

const char digits[] = "0123456789ABCDEF";

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string toHexText(const uint8_t* bytes, size_t count) {
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

std::string toHexCompact(const uint8_t* bytes, size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

bool parseHexText(const std::string& text, std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> parsed;
    parsed.reserve(text.size() / 2);
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (high >= 0)
                return false;
            continue;
        }
        const int value = digitValue(c);
        if (value < 0)
            return false;
        if (high < 0) {
            high = value;
        } else {
            parsed.push_back(static_cast<uint8_t>(high << 4 | value));
            high = -1;
        }
    }
    if (high >= 0)
        return false;
    bytes = std::move(parsed);
    return true;
}

} // namespace simulator
