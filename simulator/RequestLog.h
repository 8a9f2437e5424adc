#pragma once

#include <cstddef>
#include <deque>
#include <fstream>
#include <string>

namespace simulator {

// The vendor calls that reached a device, one text line each. Only the most
// recent lines are kept, so a long run (a benchmark, the demo left open)
// cannot grow it without end.
class RequestLog {
public:
    static constexpr size_t capacity = 100000;

    void add(std::string line);
    // Every line from now on is also appended to this file (none when
    // empty), written through at once: a program may end at any moment.
    void mirrorTo(const std::string& path);
    void clear() { lines_.clear(); }
    size_t size() const { return lines_.size(); }
    const std::string& at(size_t index) const { return lines_[index]; }

private:
    std::deque<std::string> lines_;
    std::ofstream mirror_;
};

} // namespace simulator
