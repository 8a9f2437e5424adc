#pragma once

#include "World.h"

#include <string>

namespace simulator {

// The emulated state that firmware writes and memory writes change: per
// monitor the scalar and hub firmware versions and the scalar memory.

// Writes the state to path through a temporary file, so a run that dies
// half way leaves the previous state. false with the reason in error.
bool saveState(const World& world, const std::string& path, std::string& error);

// Lays a saved state over a freshly loaded world. A missing file is no
// error; a bad one (or one for another set of monitors) leaves the world
// untouched and says why.
bool applyState(World& world, const std::string& path, std::string& error);

} // namespace simulator
