#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace catalogue {

// A minisign public key: the id that signatures name and the Ed25519 key.
struct SiteKey {
    std::array<uint8_t, 8> id{};
    std::array<uint8_t, 32> key{};
};

// The key line of a minisign .pub file (base64 of "Ed", id, key); none when
// it is not one.
std::optional<SiteKey> parseSiteKey(const std::string& base64);

// A detached minisign signature: "Ed" signs the file itself, "ED" its
// BLAKE2b-512 hash; the global signature signs the signature followed by
// the trusted comment.
struct MinisignSignature {
    bool prehashed = false;
    std::array<uint8_t, 8> keyId{};
    std::array<uint8_t, 64> signature{};
    std::string trustedComment; // without "trusted comment: "
    std::array<uint8_t, 64> globalSignature{};
};

// The four lines of a .minisig file; error says what is wrong when it is
// not one.
struct ParsedSignature {
    std::optional<MinisignSignature> signature;
    std::string error;
};
ParsedSignature parseMinisignSignature(const std::string& text);

// A signature file is a few hundred bytes; anything larger is not one.
constexpr std::size_t signatureSizeLimit = 4096;

enum class SignatureVerdict {
    Accepted,
    Missing,      // no signature beside the catalogue
    Malformed,    // not a minisign signature
    UnknownKey,   // signed by a key not built in
    BadSignature, // does not verify: the catalogue or the comment was changed
    WrongFile,    // the trusted comment names another file or no timestamp
    Rollback,     // older than a catalogue accepted before
};

struct SignatureCheck {
    SignatureVerdict verdict = SignatureVerdict::Missing;
    std::string reason;     // for the trace log
    uint64_t timestamp = 0; // the trusted comment's, when accepted
};

// Checks a catalogue's bytes against its signature (none: no signature was
// fetched) by one of keys, for the file fileName, no older than
// newestAccepted. The trusted comment carries tab-separated fields of which
// "timestamp:<seconds>" and "file:<name>" are required, as minisign writes
// it by default.
SignatureCheck checkCatalogueSignature(const std::string& catalogue,
                                       const std::optional<std::string>& signatureText,
                                       const std::vector<SiteKey>& keys,
                                       const std::string& fileName, uint64_t newestAccepted);

} // namespace catalogue
