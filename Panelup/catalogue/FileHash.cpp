#include "catalogue/FileHash.h"

#include <sodium.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace catalogue {

namespace {

crypto_hash_sha256_state& stateOf(unsigned char* storage) {
    static_assert(sizeof(crypto_hash_sha256_state) <= 128, "state storage too small");
    return *reinterpret_cast<crypto_hash_sha256_state*>(storage);
}

} // namespace

Sha256::Sha256() {
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot start");
    crypto_hash_sha256_init(&stateOf(state_));
}

void Sha256::add(const void* data, std::size_t size) {
    crypto_hash_sha256_update(&stateOf(state_), static_cast<const unsigned char*>(data), size);
}

std::string Sha256::hex() {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&stateOf(state_), digest);
    char text[crypto_hash_sha256_BYTES * 2 + 1];
    sodium_bin2hex(text, sizeof text, digest, sizeof digest);
    return text;
}

std::optional<std::string> fileSha256(const std::string& utf8Path) {
    std::ifstream in(std::filesystem::u8path(utf8Path), std::ios::binary);
    if (!in)
        return std::nullopt;
    Sha256 hash;
    std::vector<char> chunk(std::size_t{1} << 16);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        hash.add(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return std::nullopt;
    return hash.hex();
}

std::string normalizedSha256(const std::string& text) {
    if (text.size() != crypto_hash_sha256_BYTES * 2 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return {};
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace catalogue
