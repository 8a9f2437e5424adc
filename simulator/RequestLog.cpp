#include "RequestLog.h"

#include <utility>

namespace vm {

void RequestLog::add(std::string line) {
    if (lines_.size() >= capacity)
        lines_.pop_front();
    lines_.push_back(std::move(line));
}

} // namespace vm
