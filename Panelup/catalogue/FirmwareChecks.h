#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The 16-bit byte sum that protects firmware files, its text form in the
// firmware record, and version comparison.
namespace catalogue {

// Sum of all bytes, each taken unsigned, modulo 65536.
uint16_t byteChecksum(const uint8_t* data, std::size_t size);
uint16_t byteChecksum(const std::vector<uint8_t>& bytes);

// byteChecksum of a file's content. A missing or unreadable file counts as
// empty content and gives 0. utf8Path is UTF-8.
uint16_t fileChecksum(const std::string& utf8Path);

// "0x" + lower-case hexadecimal digits, an even number of them:
// 0xa3f gives "0x0a3f", 0 gives "0x00"; a negative value has a "-" in front.
std::string checksumText(int64_t value);

// Reads a checksum text back as a base-16 int the way QString::toInt does:
// "0x" and a leading sign are accepted, white space around it is ignored,
// anything that is not a number (or does not fit an int) gives 0.
int parseChecksumText(const std::string& text);

// Compares two dotted version texts of up to four decimal parts (missing,
// empty or non-numeric parts count as 0; further parts are ignored) in order
// of significance. 0 when equal, 1 when candidate is lower than reference,
// -1 when candidate is higher.
int compareVersions(const std::string& reference, const std::string& candidate);

// major x 256 + minor, the form in which firmware versions are compared.
inline int packedVersion(int major, int minor) {
    return major * 256 + minor;
}

} // namespace catalogue
