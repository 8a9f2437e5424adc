#pragma once

#include <cstdio>
#include <cstdlib>

// What a fuzz target checks beyond "no crash": a broken promise aborts, so
// libFuzzer keeps the input that broke it.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the fuzzer's bytes front to back, so that a seed is laid out in the
// order the target reads it. Past the end everything reads as zero.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t remaining() const { return size_ - position_; }
    uint8_t byte() { return remaining() ? data_[position_++] : 0; }
    uint16_t word() { return static_cast<uint16_t>((byte() << 8) | byte()); }
    bool flag() { return byte() & 1; }
    // A value in [low, high] from one byte.
    int inRange(int low, int high) { return low + byte() % (high - low + 1); }
    std::vector<uint8_t> bytes(std::size_t count) {
        count = count < remaining() ? count : remaining();
        std::vector<uint8_t> out(data_ + position_, data_ + position_ + count);
        position_ += count;
        return out;
    }
    // A length byte, then that many bytes.
    std::string text() {
        const auto b = bytes(byte());
        return std::string(b.begin(), b.end());
    }
    std::vector<uint8_t> rest() { return bytes(remaining()); }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
