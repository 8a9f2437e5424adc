#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace catalogue {

// SHA-256 over bytes given in pieces (libsodium's), as the catalogue's
// sha256 attribute writes it: 64 lower-case hexadecimal digits.
class Sha256 {
public:
    Sha256();
    void add(const void* data, std::size_t size);
    std::string hex();

private:
    alignas(64) unsigned char state_[128];
};

// The SHA-256 of a file's content; none when it cannot be read.
std::optional<std::string> fileSha256(const std::string& utf8Path);

// The attribute's text in lower case when it is 64 hexadecimal digits;
// empty otherwise.
std::string normalizedSha256(const std::string& text);

} // namespace catalogue
