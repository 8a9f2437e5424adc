#include "models/ModelFactory.h"

#include "models/NameOnlyModels.h"
#include "models/OneTemplateModels.h"
#include "models/TwoTemplateModels.h"

namespace models {

namespace {

// ASCII only: EDID texts are bytes, and a locale must not change them.
void upperAscii(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
}

void eraseFirst(std::string& text, const std::string& part) {
    const auto at = text.find(part);
    if (at != std::string::npos) {
        text.erase(at, part.size());
    }
}

} // namespace

ModelList buildModelList() {
    return {
        std::make_shared<LM0410>(), std::make_shared<LM0510>(), std::make_shared<LM0510_CN>(),
        std::make_shared<LM0520>(), std::make_shared<LM0420>(), std::make_shared<LM0430>(),
        std::make_shared<LM0530>(), std::make_shared<LM0610>(), std::make_shared<LM0420_4K>(),
    };
}

bool findModel(const ModelList& list, std::string name, std::string serial,
               std::shared_ptr<ILCDModel>& out) {
    upperAscii(name);
    eraseFirst(name, " SERIES");
    // "LM0420-4K" is a model of its own; other 4K editions share their base model.
    if (name.find("LM0420-4K") == std::string::npos) {
        eraseFirst(name, "-4K");
    }

    for (const auto& model : list) {
        if (!model) {
            continue;
        }
        std::string candidate = model->name();
        upperAscii(candidate);
        if (candidate != name) {
            continue;
        }
        // The CN variant reports the plain LM0510 name; only its serial tells it apart.
        if (name == "LM0510" && serial.compare(0, 3, "UP3") == 0) {
            out = std::make_shared<LM0510_CN>();
        } else {
            out = model;
        }
        return true;
    }
    return false;
}

} // namespace models
