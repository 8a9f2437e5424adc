// EDID images of any length and content, as a monitor, the registry or the
// scalar's memory may hold them: the checks give one of their four answers,
// a repair leaves a valid (or blank) image, and the decoded texts stay
// within their descriptors.
#include "FuzzSupport.h"

#include "edid/Edid.h"
#include "edid/RegistryEdid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

bool isBlank(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) {
        if (b != 0x00 && b != 0xFF)
            return false;
    }
    return !bytes.empty();
}

void checkText(const std::string& text) {
    FUZZ_REQUIRE(text.size() <= 13);
    FUZZ_REQUIRE(text.find('\n') == std::string::npos);
    FUZZ_REQUIRE(text.find('\0') == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);

    const int validation = edid::validateEdid(bytes);
    FUZZ_REQUIRE(validation >= edid::EdidValid && validation <= edid::EdidBlank);
    FUZZ_REQUIRE((validation == edid::EdidBadLength) == (size % edid::EdidBlockSize != 0));
    if (validation != edid::EdidBadLength)
        FUZZ_REQUIRE((validation == edid::EdidBlank) == isBlank(bytes));

    std::vector<uint8_t> repaired = bytes;
    edid::repairEdidChecksums(repaired);
    FUZZ_REQUIRE(repaired.size() == bytes.size());
    if (validation == edid::EdidBadLength) {
        FUZZ_REQUIRE(repaired == bytes);
    } else {
        const int after = edid::validateEdid(repaired);
        FUZZ_REQUIRE(after == edid::EdidValid || after == edid::EdidBlank);
        // Only the check bytes change.
        for (std::size_t i = 0; i < size; ++i) {
            if (i % edid::EdidBlockSize != edid::EdidBlockSize - 1)
                FUZZ_REQUIRE(repaired[i] == bytes[i]);
        }
    }

    edid::EdidRecord record;
    record.serialNumber = "left over";
    record.displayName = "left over";
    edid::decodeEdidBaseBlock(record, bytes);
    checkText(record.serialNumber);
    checkText(record.displayName);
    FUZZ_REQUIRE(record.horizontalActive >= 0 && record.horizontalActive < 4096);
    FUZZ_REQUIRE(record.verticalActive >= 0 && record.verticalActive < 4096);
    for (const auto* descriptor :
         {&record.descriptor1, &record.descriptor2, &record.descriptor3, &record.descriptor4})
        checkText(edid::descriptorText(*descriptor));

    const std::string vendor = edid::pnpVendorId(record.manufacturerCode);
    FUZZ_REQUIRE(vendor.empty() || vendor.size() == 3);
    for (char c : vendor)
        FUZZ_REQUIRE(c >= 'A' && c <= 'Z');

    // The device ID made up from it has the four parts the registry lookup
    // splits it into.
    const std::string id = edid::monitorDeviceId(record, "UID4353");
    const auto parts = edid::splitDeviceId(id);
    FUZZ_REQUIRE(parts.size() == 4 && parts[0] == "MONITOR" && parts[1].size() == 7);
    return 0;
}
