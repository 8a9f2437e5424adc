#pragma once

#include "World.h"

#include <string>

namespace simulator {

// Builds a world from its JSON description. On a bad description returns
// false with the reason (and where) in error; world is left as it was.
bool parseDescription(const std::string& json, World& world, std::string& error);

// The capabilities string a scalar reports when its description gives none.
std::string defaultCapabilities(const std::string& model);

} // namespace simulator
