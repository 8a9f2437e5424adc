// Device IDs and registry contents of any shape: the split loses nothing
// but a trailing separator, and the registry lookup reads one listing and
// at most one EDID whatever the keys hold.
#include "FuzzSupport.h"

#include "edid/Edid.h"
#include "edid/RegistryEdid.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A registry whose keys and values are made up from the fuzzer's bytes.
class FuzzedRegistry : public edid::RegistryReader {
public:
    explicit FuzzedRegistry(ByteReader& input) {
        const std::size_t count = static_cast<std::size_t>(input.inRange(0, 8));
        for (std::size_t i = 0; i < count; ++i)
            subkeys.push_back(input.text());
        for (std::size_t i = 0; i < count + 2; ++i)
            values.push_back(input.flag()
                                 ? edid::RegistryValue::fromText(input.text())
                                 : edid::RegistryValue::fromBytes(input.bytes(input.word())));
    }

    std::vector<std::string> childGroups(const std::string&) const override {
        ++listings;
        return subkeys;
    }
    edid::RegistryValue value(const std::string&, const std::string& name) const override {
        if (name == "EDID")
            ++edidReads;
        if (values.empty())
            return {};
        return values[next++ % values.size()];
    }

    std::vector<std::string> subkeys;
    std::vector<edid::RegistryValue> values;
    mutable std::size_t next = 0;
    mutable int listings = 0;
    mutable int edidReads = 0;
};

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i ? "\\" : "") + parts[i];
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::string deviceId = input.text();

    const auto parts = edid::splitDeviceId(deviceId);
    const std::string back = joined(parts);
    FUZZ_REQUIRE(back == deviceId || back + "\\" == deviceId);
    FUZZ_REQUIRE(edid::narrowDeviceId(edid::widenBytes(deviceId)) == deviceId);

    const FuzzedRegistry registry(input);
    const edid::EdidRecord record = edid::readRegistryEdid(deviceId, registry);
    FUZZ_REQUIRE(record.deviceId == deviceId);
    FUZZ_REQUIRE(registry.listings <= 1);
    FUZZ_REQUIRE(registry.edidReads <= 1);
    if (parts.size() >= 2)
        FUZZ_REQUIRE(record.hardwareKeyPath == record.registryRoot + "\\" + parts[1]);
    else
        FUZZ_REQUIRE(record.hardwareKeyPath.empty());
    FUZZ_REQUIRE(record.displayName.size() <= 13 && record.serialNumber.size() <= 13);
    return 0;
}
