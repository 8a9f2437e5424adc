#pragma once

#include <array>
#include <cstdint>

namespace models {

// Factory EDID images (base block + CTA-861 extension) that the repair pass
// writes into a model's template areas once they are found blank.
namespace EdidTemplates {

using Image = std::array<uint8_t, 256>;

extern const Image LM0510B; // also the CN variant's, byte for byte
extern const Image LM0520B;
extern const Image LM0530A;
extern const Image LM0530B;
extern const Image LM0610A;
extern const Image LM0610B;

} // namespace EdidTemplates

} // namespace models
