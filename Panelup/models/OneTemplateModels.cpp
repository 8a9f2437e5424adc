#include "models/OneTemplateModels.h"

#include "models/EdidTemplates.h"

namespace models {

using EdidTemplates::LM0510B;
using EdidTemplates::LM0520B;

LM0510::LM0510() : name_("LM0510"), templateB_(LM0510B.begin(), LM0510B.end()) {}

LM0510_CN::LM0510_CN() : name_("LM0510-CN"), templateB_(LM0510B.begin(), LM0510B.end()) {}

LM0520::LM0520() : name_("LM0520"), templateB_(LM0520B.begin(), LM0520B.end()) {}

} // namespace models
