#include "catalogue/CatalogueSignature.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace catalogue {

namespace {

constexpr char untrustedPrefix[] = "untrusted comment: ";
constexpr char trustedPrefix[] = "trusted comment: ";
// minisign's own bound on a comment line.
constexpr std::size_t longestComment = 1024;

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Strict base64 of exactly size bytes; no spaces, no trailing data.
bool decodeBase64(const std::string& text, uint8_t* out, std::size_t size) {
    if (!sodiumReady())
        return false;
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(out, size, text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0)
        return false;
    return length == size && end == text.data() + text.size();
}

bool startsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::strlen(prefix), prefix) == 0;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::string::size_type start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.push_back(line);
        start = end + 1;
    }
    return result;
}

std::string hexId(const std::array<uint8_t, 8>& id) {
    // minisign shows the id as a little-endian 64-bit number.
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (auto i = id.size(); i-- > 0;) {
        text += digits[id[i] >> 4];
        text += digits[id[i] & 0xF];
    }
    return text;
}

SignatureCheck refused(SignatureVerdict verdict, std::string reason) {
    SignatureCheck check;
    check.verdict = verdict;
    check.reason = std::move(reason);
    return check;
}

} // namespace

std::optional<SiteKey> parseSiteKey(const std::string& base64) {
    std::array<uint8_t, 42> raw{};
    if (!decodeBase64(base64, raw.data(), raw.size()) || raw[0] != 'E' || raw[1] != 'd')
        return std::nullopt;
    SiteKey key;
    std::copy_n(raw.begin() + 2, key.id.size(), key.id.begin());
    std::copy_n(raw.begin() + 10, key.key.size(), key.key.begin());
    return key;
}

ParsedSignature parseMinisignSignature(const std::string& text) {
    ParsedSignature parsed;
    if (text.size() > signatureSizeLimit) {
        parsed.error = "larger than " + std::to_string(signatureSizeLimit) + " bytes";
        return parsed;
    }
    std::vector<std::string> all = lines(text);
    while (!all.empty() && all.back().empty())
        all.pop_back();
    if (all.size() != 4) {
        parsed.error = std::to_string(all.size()) + " lines instead of 4";
        return parsed;
    }
    if (!startsWith(all[0], untrustedPrefix) || all[0].size() > longestComment) {
        parsed.error = "no untrusted comment line";
        return parsed;
    }
    if (!startsWith(all[2], trustedPrefix) || all[2].size() > longestComment) {
        parsed.error = "no trusted comment line";
        return parsed;
    }
    std::array<uint8_t, 74> raw{};
    MinisignSignature signature;
    if (!decodeBase64(all[1], raw.data(), raw.size())) {
        parsed.error = "the signature line is not 74 bytes of base64";
        return parsed;
    }
    if (raw[0] != 'E' || (raw[1] != 'd' && raw[1] != 'D')) {
        parsed.error = "unknown signature algorithm";
        return parsed;
    }
    signature.prehashed = raw[1] == 'D';
    std::copy_n(raw.begin() + 2, signature.keyId.size(), signature.keyId.begin());
    std::copy_n(raw.begin() + 10, signature.signature.size(), signature.signature.begin());
    if (!decodeBase64(all[3], signature.globalSignature.data(), signature.globalSignature.size())) {
        parsed.error = "the global signature line is not 64 bytes of base64";
        return parsed;
    }
    signature.trustedComment = all[2].substr(std::strlen(trustedPrefix));
    parsed.signature = signature;
    return parsed;
}

SignatureCheck checkCatalogueSignature(const std::string& catalogue,
                                       const std::optional<std::string>& signatureText,
                                       const std::vector<SiteKey>& keys,
                                       const std::string& fileName, uint64_t newestAccepted) {
    if (!signatureText)
        return refused(SignatureVerdict::Missing, "no signature " + fileName + ".minisig");
    const ParsedSignature parsed = parseMinisignSignature(*signatureText);
    if (!parsed.signature)
        return refused(SignatureVerdict::Malformed, "signature not readable: " + parsed.error);
    const MinisignSignature& s = *parsed.signature;
    const auto key =
        std::find_if(keys.begin(), keys.end(), [&](const SiteKey& k) { return k.id == s.keyId; });
    if (key == keys.end())
        return refused(SignatureVerdict::UnknownKey,
                       "signed by key " + hexId(s.keyId) + ", which is not trusted");

    const auto* bytes = reinterpret_cast<const unsigned char*>(catalogue.data());
    bool valid = false;
    if (s.prehashed) {
        std::array<uint8_t, crypto_generichash_BYTES_MAX> hash{};
        valid = crypto_generichash(hash.data(), hash.size(), bytes, catalogue.size(), nullptr, 0) ==
                    0 &&
                crypto_sign_verify_detached(s.signature.data(), hash.data(), hash.size(),
                                            key->key.data()) == 0;
    } else {
        valid = crypto_sign_verify_detached(s.signature.data(), bytes, catalogue.size(),
                                            key->key.data()) == 0;
    }
    if (!valid)
        return refused(SignatureVerdict::BadSignature,
                       "signature by key " + hexId(s.keyId) + " does not match the catalogue");

    std::string global(s.signature.begin(), s.signature.end());
    global += s.trustedComment;
    if (crypto_sign_verify_detached(s.globalSignature.data(),
                                    reinterpret_cast<const unsigned char*>(global.data()),
                                    global.size(), key->key.data()) != 0)
        return refused(SignatureVerdict::BadSignature,
                       "trusted comment not signed by key " + hexId(s.keyId));

    std::optional<uint64_t> timestamp;
    std::optional<std::string> file;
    std::istringstream fields(s.trustedComment);
    for (std::string field; std::getline(fields, field, '\t');) {
        if (startsWith(field, "timestamp:") && !timestamp) {
            const std::string digits = field.substr(10);
            if (digits.empty() || digits.size() > 19 ||
                !std::all_of(digits.begin(), digits.end(),
                             [](char c) { return c >= '0' && c <= '9'; }))
                return refused(SignatureVerdict::WrongFile,
                               "trusted comment has no valid timestamp");
            timestamp = std::stoull(digits);
        } else if (startsWith(field, "file:") && !file) {
            file = field.substr(5);
        }
    }
    if (!file || *file != fileName)
        return refused(SignatureVerdict::WrongFile, "trusted comment names " +
                                                        (file ? "'" + *file + "'" : "no file") +
                                                        ", not '" + fileName + "'");
    if (!timestamp)
        return refused(SignatureVerdict::WrongFile, "trusted comment has no timestamp");
    if (*timestamp < newestAccepted)
        return refused(SignatureVerdict::Rollback,
                       "timestamp " + std::to_string(*timestamp) +
                           " is older than the catalogue accepted before (" +
                           std::to_string(newestAccepted) + ")");
    SignatureCheck check;
    check.verdict = SignatureVerdict::Accepted;
    check.timestamp = *timestamp;
    check.reason = "signed by key " + hexId(s.keyId) + ", timestamp " + std::to_string(*timestamp);
    return check;
}

} // namespace catalogue
