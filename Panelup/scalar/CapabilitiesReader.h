#pragma once

#include "scalar/ScalarLink.h"

#include <cstddef>
#include <string>

namespace scalar {

// A fragment for the wrong offset is asked again until this many reads in
// all have been made; a further mismatch ends the reading.
constexpr int kCapabilitiesMismatchLimit = 20;
// Whatever the monitor sends, the reading ends after this many reads or
// once this much text has come without a model name.
constexpr int kCapabilitiesReadBound = 48;
constexpr std::size_t kCapabilitiesTextBound = 1024;

// The text after the first "model(" up to the first ")" after it; empty
// when either marker is missing or nothing is between them.
std::string extractModelName(const std::string& capabilities);

// Reads the DDC/CI capabilities string fragment by fragment until it holds
// a model name, its last fragment has come, or a bound is reached.
class CapabilitiesReader {
public:
    enum class End { ModelFound, NoModelName, GaveUp };

    struct Options {
        // Text bytes of a 32-byte fragment: [textStart, textEnd).
        std::size_t textStart = 5;
        std::size_t textEnd = 31;
        // The window's reading also checks the reply opcode and waits
        // before asking again.
        bool checkOpcode = false;
        bool waitBeforeRetry = false;
    };

    struct Result {
        End end = End::GaveUp;
        std::string modelName;
        std::string text;
        bool lastReadTransferred = false;
        int reads = 0;
    };

    explicit CapabilitiesReader(Options options) : options_(options) {}
    Result read(ScalarLink& link) const;

private:
    bool layoutUsable() const;
    Options options_;
};

} // namespace scalar
