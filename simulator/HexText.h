#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simulator {

// "83 F3 00 00 FF": upper case, one blank between bytes.
std::string toHexText(const uint8_t* bytes, size_t count);

// Compact form for files: "83F30000FF".
std::string toHexCompact(const uint8_t* bytes, size_t count);

// Accepts pairs of hex digits with optional blanks between them; false on
// anything else (odd digit count, stray characters).
bool parseHexText(const std::string& text, std::vector<uint8_t>& bytes);

} // namespace simulator
