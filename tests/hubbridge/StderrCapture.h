#pragma once

#include <cstdio>
#include <string>

// Sends everything written to file descriptor 2 into a temporary file while
// it lives, so a test can read what the bridge logged.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // All that was written so far.
    std::string text() const;

private:
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};
