#pragma once

#include "models/ILCDModel.h"

#include <memory>
#include <string>
#include <vector>

namespace models {

using ModelList = std::vector<std::shared_ptr<ILCDModel>>;

// The nine supported models, in their fixed order, each made anew.
ModelList buildModelList();

// Recognises a monitor by its EDID display name and serial number. out is
// assigned only when a model is found.
bool findModel(const ModelList& list, std::string name, std::string serial,
               std::shared_ptr<ILCDModel>& out);

} // namespace models
