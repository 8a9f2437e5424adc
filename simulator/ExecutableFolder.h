#pragma once

#include <filesystem>

namespace simulator {

// The folder of the running program (not of this library); empty when the
// operating system does not tell.
std::filesystem::path executableFolder();

} // namespace simulator
