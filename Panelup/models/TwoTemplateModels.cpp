#include "models/TwoTemplateModels.h"

#include "models/EdidTemplates.h"

namespace models {

using namespace EdidTemplates;

LM0530::LM0530()
    : name_("LM0530"), templateA_(LM0530A.begin(), LM0530A.end()),
      templateB_(LM0530B.begin(), LM0530B.end()) {}

LM0610::LM0610()
    : name_("LM0610"), templateA_(LM0610A.begin(), LM0610A.end()),
      templateB_(LM0610B.begin(), LM0610B.end()) {}

} // namespace models
