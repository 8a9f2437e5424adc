#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace edid {

// A registry value: a text (REG_SZ), raw bytes (REG_BINARY) or nothing.
struct RegistryValue {
    enum class Kind { Missing, Text, Binary };
    Kind kind = Kind::Missing;
    std::string text;           // UTF-8
    std::vector<uint8_t> bytes; // as stored

    static RegistryValue fromText(std::string text) { return {Kind::Text, std::move(text), {}}; }
    static RegistryValue fromBytes(std::vector<uint8_t> bytes) {
        return {Kind::Binary, {}, std::move(bytes)};
    }
};

// Read access to the registry tree under full paths such as
// "HKEY_LOCAL_MACHINE\SYSTEM\...". Missing keys read as empty.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    virtual std::vector<std::string> childGroups(const std::string& path) const = 0;
    virtual RegistryValue value(const std::string& path, const std::string& name) const = 0;
};

} // namespace edid
