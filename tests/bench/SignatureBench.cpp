// What a signed catalogue costs the program: the SHA-256 of a 1 MiB
// firmware file (read from disk, as the store check reads it) and the check
// of a catalogue's minisign signature.

#include "SigningKey.h"

#include "catalogue/CatalogueSignature.h"
#include "catalogue/FileHash.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t fileSize = std::size_t{1} << 20;

std::string firmwareFile() {
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path dir = tmp ? tmp : std::filesystem::temp_directory_path();
    const std::string file = (dir / "panelup-bench-sha256.bin").string();
    std::vector<char> bytes(fileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 31) & 0xFF);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

void BM_fileSha256_1MiB(benchmark::State& state) {
    const std::string path = firmwareFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue::fileSha256(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileSize));
}
BENCHMARK(BM_fileSha256_1MiB)->Unit(benchmark::kMillisecond);

// A catalogue of the demo's size, prehashed (minisign's default) or not.
void BM_catalogueSignature(benchmark::State& state) {
    const bool prehashed = state.range(0) != 0;
    const QByteArray catalogue(2048, 'x');
    const SigningKey key;
    const std::string signature =
        key.sign(catalogue, QStringLiteral("LM0420.xml"), 1700000000, prehashed).toStdString();
    const std::vector<catalogue::SiteKey> keys{
        *catalogue::parseSiteKey(key.publicKey().toStdString())};
    const std::string bytes = catalogue.toStdString();
    for (auto _ : state) {
        const auto check =
            catalogue::checkCatalogueSignature(bytes, signature, keys, "LM0420.xml", 0);
        if (check.verdict != catalogue::SignatureVerdict::Accepted)
            state.SkipWithError(check.reason.c_str());
        benchmark::DoNotOptimize(check.timestamp);
    }
}
BENCHMARK(BM_catalogueSignature)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
