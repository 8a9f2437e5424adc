#include "update/ScalarWriteParameters.h"

namespace update {

namespace {

struct Row {
    const char* model;
    ScalarWriteParameters parameters;
};

// p4 and p5 are the writer's block size.
const Row kRows[] = {
    {"LM0410", {0xFE19, 0x1029, 1, 16, 16}},    {"LM0420", {0xFE19, 0x1029, 1, 16, 16}},
    {"LM0420-4K", {0xFE26, 0x1036, 1, 32, 32}}, {"LM0510", {0xFE28, 0x1038, 1, 16, 16}},
    {"LM0510-CN", {0xFE28, 0x1038, 1, 16, 16}}, {"LM0520", {0xFE28, 0x1038, 1, 32, 32}},
    {"LM0530", {0xFE28, 0x1038, 1, 32, 32}},    {"LM0430", {0xFE28, 0x1038, 1, 32, 32}},
    {"LM0610", {0xFE28, 0x1038, 1, 32, 32}},
};

} // namespace

std::optional<ScalarWriteParameters> scalarWriteParameters(const QString& modelName) {
    for (const Row& row : kRows) {
        if (modelName.compare(QLatin1String(row.model), Qt::CaseInsensitive) == 0)
            return row.parameters;
    }
    return std::nullopt;
}

} // namespace update
