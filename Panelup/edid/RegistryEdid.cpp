#include "edid/RegistryEdid.h"

#include "edid/Edid.h"

#include <optional>

namespace edid {

namespace {

std::string trimmed(const std::string& text) {
    const char* space = " \t\n\v\f\r";
    const auto first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::string valueText(const RegistryValue& value) {
    if (value.kind == RegistryValue::Kind::Binary)
        return std::string(value.bytes.begin(), value.bytes.end());
    return value.text;
}

std::vector<uint8_t> valueBytes(const RegistryValue& value) {
    if (value.kind == RegistryValue::Kind::Text)
        return std::vector<uint8_t>(value.text.begin(), value.text.end());
    return value.bytes;
}

// The instance subkey whose "driver" names the expected class GUID and
// instance number, if any.
std::optional<std::string> findInstanceKey(const RegistryReader& registry,
                                           const std::string& hardwareKeyPath,
                                           const std::string& expectedDriver) {
    for (const auto& subkey : registry.childGroups(hardwareKeyPath)) {
        const auto driver = registry.value(hardwareKeyPath + "\\" + subkey, "driver");
        if (trimmed(valueText(driver)) == expectedDriver)
            return subkey;
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> splitDeviceId(const std::string& deviceId) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < deviceId.size()) {
        const auto end = deviceId.find('\\', start);
        if (end == std::string::npos) {
            parts.push_back(deviceId.substr(start));
            break;
        }
        parts.push_back(deviceId.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

EdidRecord readRegistryEdid(const std::string& deviceId, const RegistryReader& registry) {
    EdidRecord record;
    record.deviceId = deviceId;
    const auto parts = splitDeviceId(deviceId);
    if (parts.size() < 2)
        return record;
    record.hardwareKeyPath = record.registryRoot + "\\" + parts[1];

    // Class, hardware ID, class GUID, instance number: without the last two
    // there is nothing to recognise the instance by.
    if (parts.size() < 4)
        return record;
    const auto instance =
        findInstanceKey(registry, record.hardwareKeyPath, parts[2] + "\\" + parts[3]);
    if (!instance)
        return record;

    const auto edid =
        registry.value(record.hardwareKeyPath + "\\" + *instance + "\\Device Parameters", "EDID");
    decodeEdidBaseBlock(record, valueBytes(edid));
    return record;
}

} // namespace edid
