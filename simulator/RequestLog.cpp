#include "RequestLog.h"

#include <utility>

namespace simulator {

void RequestLog::add(std::string line) {
    if (lines_.size() >= capacity)
        lines_.pop_front();
    lines_.push_back(std::move(line));
}

} // namespace simulator
