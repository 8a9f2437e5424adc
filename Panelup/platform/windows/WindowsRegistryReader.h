#pragma once

#include "edid/RegistryReader.h"

namespace platform {

// The registry through advapi32, read only. Paths start with the hive's
// name, e.g. "HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\DISPLAY".
class WindowsRegistryReader : public edid::RegistryReader {
public:
    std::vector<std::string> childGroups(const std::string& path) const override;
    edid::RegistryValue value(const std::string& path, const std::string& name) const override;
};

} // namespace platform
