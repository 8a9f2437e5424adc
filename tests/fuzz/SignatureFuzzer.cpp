// A catalogue's signature file as the update site sends it: whatever the
// text, the parser and the check end, and a catalogue is accepted only with
// a signature that verifies under the one trusted key and names its file.
// The seeds were signed with a key made once and thrown away; its public
// key is the trusted one here.
#include "FuzzSupport.h"

#include "catalogue/CatalogueSignature.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace catalogue;

namespace {

const char trustedKey[] = "RWQBAgMEBQYHCGijzBg/rafYUOvi6KvZmly9HdcTQwGkLtmHZ5RKtsN6";
const std::string catalogueText = "<?xml version=\"1.0\"?>\n<Firmware/>\n";

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ParsedSignature parsed = parseMinisignSignature(text);
    FUZZ_REQUIRE(parsed.signature.has_value() == parsed.error.empty());
    if (parsed.signature)
        FUZZ_REQUIRE(parsed.signature->trustedComment.size() < size);

    static const std::vector<SiteKey> keys{*parseSiteKey(trustedKey)};
    const SignatureCheck check =
        checkCatalogueSignature(catalogueText, text, keys, "LM0420.xml", 1000);
    FUZZ_REQUIRE(!check.reason.empty());
    if (check.verdict == SignatureVerdict::Accepted) {
        FUZZ_REQUIRE(parsed.signature);
        FUZZ_REQUIRE(check.timestamp >= 1000);
        FUZZ_REQUIRE(parsed.signature->trustedComment.find("file:LM0420.xml") != std::string::npos);
    }
    return 0;
}
