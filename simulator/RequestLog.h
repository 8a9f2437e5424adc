#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace simulator {

// The vendor calls that reached a device, one text line each. Only the most
// recent lines are kept, so a long run (a benchmark, the demo left open)
// cannot grow it without end.
class RequestLog {
public:
    static constexpr size_t capacity = 100000;

    void add(std::string line);
    void clear() { lines_.clear(); }
    size_t size() const { return lines_.size(); }
    const std::string& at(size_t index) const { return lines_[index]; }

private:
    std::deque<std::string> lines_;
};

} // namespace simulator
