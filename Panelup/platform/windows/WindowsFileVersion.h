#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>

namespace platform {

// The file version (the fixed part of the version resource) of a program
// file; nothing when the file is missing or has no version resource.
// The path is UTF-8.
std::optional<FileVersion> readWindowsFileVersion(const std::string& path);

} // namespace platform
