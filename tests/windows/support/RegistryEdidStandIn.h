#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A 128-byte EDID with a display name and, when given, a serial number
// descriptor, its checksum right.
std::vector<uint8_t> edidNamed(const std::string& name, const std::string& serial = {});

// Puts an EDID value into every instance key of a hardware-ID key (under
// HKLM) that has none, and takes them away again.
class RegistryEdidStandIn {
public:
    explicit RegistryEdidStandIn(const std::wstring& hardwareKey) : hardwareKey_(hardwareKey) {}
    ~RegistryEdidStandIn();
    RegistryEdidStandIn(const RegistryEdidStandIn&) = delete;
    RegistryEdidStandIn& operator=(const RegistryEdidStandIn&) = delete;

    // False when the key does not exist.
    bool write(const std::vector<uint8_t>& edid);
    size_t written() const { return written_.size(); }

private:
    std::wstring hardwareKey_;
    std::vector<std::wstring> written_;
};
