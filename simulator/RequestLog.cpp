#include "RequestLog.h"

#include <utility>

namespace simulator {

void RequestLog::add(std::string line) {
    if (lines_.size() >= capacity)
        lines_.pop_front();
    if (mirror_.is_open())
        mirror_ << line << '\n' << std::flush;
    lines_.push_back(std::move(line));
}

void RequestLog::mirrorTo(const std::string& path) {
    if (mirror_.is_open())
        mirror_.close();
    if (!path.empty())
        mirror_.open(path, std::ios::app);
}

} // namespace simulator
