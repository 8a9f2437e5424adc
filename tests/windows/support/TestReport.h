#pragma once

#include <sstream>
#include <string>

// One line per case and a closing "N passed, M failed" line; the exit code
// tells ctest the outcome.
class TestReport {
public:
    // ctest counts a test that exits with this code as skipped.
    static constexpr int SkipExitCode = 77;

    explicit TestReport(std::string suite);

    bool check(bool ok, const std::string& name, const std::string& detail = std::string());

    template <typename Actual, typename Expected>
    bool equal(const Actual& actual, const Expected& expected, const std::string& name) {
        const bool ok = actual == expected;
        std::ostringstream detail;
        if (!ok) {
            detail << "expected " << expected << ", got " << actual;
        }
        return check(ok, name, detail.str());
    }

    // Records a case that cannot run here; it counts neither way.
    void skip(const std::string& name, const std::string& reason);

    // 0 when every case passed; SkipExitCode when nothing ran and something
    // was skipped; 1 otherwise.
    int finish();

private:
    std::string suite_;
    int passed_ = 0;
    int failed_ = 0;
    int skipped_ = 0;
};
