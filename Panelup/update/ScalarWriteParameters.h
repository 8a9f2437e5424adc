#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace update {

// The five model-specific parameters of UpdateScalar.
struct ScalarWriteParameters {
    int32_t p1 = 0;
    int32_t p2 = 0;
    int32_t p3 = 0;
    int32_t p4 = 0;
    int32_t p5 = 0;
};

// The parameters for a model name, compared ignoring case; nothing for a
// model that has none.
std::optional<ScalarWriteParameters> scalarWriteParameters(const QString& modelName);

} // namespace update
