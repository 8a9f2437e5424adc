#include "TestReport.h"

#include <cstdio>
#include <utility>

TestReport::TestReport(std::string suite) : suite_(std::move(suite)) {
    std::printf("%s\n", suite_.c_str());
    std::fflush(stdout);
}

bool TestReport::check(bool ok, const std::string& name, const std::string& detail) {
    if (ok) {
        ++passed_;
        std::printf("PASS  %s\n", name.c_str());
    } else {
        ++failed_;
        std::printf("FAIL  %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    }
    std::fflush(stdout);
    return ok;
}

void TestReport::skip(const std::string& name, const std::string& reason) {
    ++skipped_;
    std::printf("SKIP  %s: %s\n", name.c_str(), reason.c_str());
    std::fflush(stdout);
}

int TestReport::finish() {
    std::printf("%s: %d passed, %d failed", suite_.c_str(), passed_, failed_);
    if (skipped_ > 0) {
        std::printf(", %d skipped", skipped_);
    }
    std::printf("\n");
    std::fflush(stdout);
    if (failed_ > 0) {
        return 1;
    }
    return passed_ == 0 && skipped_ > 0 ? SkipExitCode : 0;
}
