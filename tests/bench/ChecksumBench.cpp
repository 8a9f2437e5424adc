// fileChecksum against a plain read of the same 64 MiB file, so the sum can
// be seen not to be what limits it.

#include "catalogue/FirmwareChecks.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t fileSize = std::size_t{64} << 20;

const std::string& benchFile() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::filesystem::path dir = tmp ? tmp : std::filesystem::temp_directory_path();
        const std::string file = (dir / "panelup-bench-checksum.bin").string();
        std::vector<char> chunk(std::size_t{1} << 20);
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = static_cast<char>((i * 31) & 0xFF);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (std::size_t written = 0; written < fileSize; written += chunk.size())
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        return file;
    }();
    return path;
}

void BM_fileChecksum(benchmark::State& state) {
    const std::string& path = benchFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue::fileChecksum(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileSize));
}

// The same chunked read as fileChecksum, without the sum.
void BM_plainRead(benchmark::State& state) {
    const std::string& path = benchFile();
    std::vector<char> chunk(std::size_t{1} << 16);
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::size_t total = 0;
        while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
            total += static_cast<std::size_t>(in.gcount());
        benchmark::DoNotOptimize(total);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileSize));
}

void BM_byteChecksumInMemory(benchmark::State& state) {
    std::vector<uint8_t> bytes(fileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((i * 31) & 0xFF);
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue::byteChecksum(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileSize));
}

BENCHMARK(BM_plainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_fileChecksum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_byteChecksumInMemory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(benchFile().c_str());
    return 0;
}
