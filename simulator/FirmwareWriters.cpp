#include "FirmwareWriters.h"

#include "Faults.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

namespace simulator {
namespace {

constexpr int64_t bytesPerDefaultStep = 4096;

struct ScalarParameters {
    const char* model;
    int32_t p1, p2, p3, blockSize;
};

const ScalarParameters scalarParameterTable[] = {
    {"LM0410", 0xFE19, 0x1029, 1, 16},    {"LM0420", 0xFE19, 0x1029, 1, 16},
    {"LM0420-4K", 0xFE26, 0x1036, 1, 32}, {"LM0510", 0xFE28, 0x1038, 1, 16},
    {"LM0510-CN", 0xFE28, 0x1038, 1, 16}, {"LM0520", 0xFE28, 0x1038, 1, 32},
    {"LM0530", 0xFE28, 0x1038, 1, 32},    {"LM0430", 0xFE28, 0x1038, 1, 32},
    {"LM0610", 0xFE28, 0x1038, 1, 32},
};

bool sameTextIgnoringCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// Runs the progress reports of one write, paced over the configured wall
// time: done goes from 0 to total in equal steps. false when the
// failing-write fault stops it.
bool reportProgress(const World& world, const Faults& faults, int32_t total,
                    HubProgressCallback progress) {
    int64_t steps = world.progressSteps;
    if (steps <= 0)
        steps =
            std::max<int64_t>(1, (int64_t{total} + bytesPerDefaultStep - 1) / bytesPerDefaultStep);
    const int32_t failAt = faults.firmwareFailAtPercent();
    const auto start = std::chrono::steady_clock::now();
    for (int64_t step = 0; step <= steps; ++step) {
        if (world.firmwareWriteMs > 0 && step > 0)
            std::this_thread::sleep_until(
                start + std::chrono::milliseconds(world.firmwareWriteMs * step / steps));
        HubProgressRecord record{};
        record.total = total;
        record.done = static_cast<int32_t>(int64_t{total} * step / steps);
        if (progress != nullptr)
            progress(&record);
        if (failAt > 0 && int64_t{record.done} * 100 >= int64_t{failAt} * total)
            return false;
        // A hub unplugged while its firmware is written ends the write there.
        if (faults.hubGone())
            return false;
    }
    return true;
}

} // namespace

bool scalarParametersMatch(const std::string& model, const int32_t params[5]) {
    for (const ScalarParameters& entry : scalarParameterTable) {
        if (!sameTextIgnoringCase(model, entry.model))
            continue;
        return params[0] == entry.p1 && params[1] == entry.p2 && params[2] == entry.p3 &&
               params[3] == entry.blockSize && params[4] == entry.blockSize;
    }
    return false;
}

int32_t writeHubFirmware(World& world, Faults& faults, const uint8_t* image, int32_t length,
                         HubProgressCallback progress) {
    const int32_t target = faults.hubGone() ? -1 : world.firstMonitorWithHub();
    if (target < 0)
        return noHubFound;
    if (image == nullptr || length < hubVersionOffset + 2)
        return badImage;
    if (!reportProgress(world, faults, length, progress))
        return writeFailedPartWay;
    // Looked up again: the progress callback runs the caller's code.
    Monitor* monitor = world.monitorAt(target);
    if (monitor == nullptr || !monitor->hub)
        return writeFailedPartWay;
    if (!faults.firmwareVersionStays())
        monitor->hub->firmware =
            static_cast<uint16_t>(image[hubVersionOffset] << 8 | image[hubVersionOffset + 1]);
    faults.hubFirmwareWritten();
    return firmwareWritten;
}

int32_t writeScalarFirmware(World& world, const Faults& faults, const uint8_t* image,
                            int32_t length, const int32_t params[5], HubProgressCallback progress) {
    const int32_t target = faults.hubGone() ? -1 : world.firstMonitorWithHub();
    if (target < 0)
        return noHubFound;
    if (image == nullptr || length < scalarVersionOffset + 2)
        return badImage;
    if (!scalarParametersMatch(world.monitorAt(target)->scalar.model, params))
        return parametersRefused;
    if (!reportProgress(world, faults, length, progress))
        return writeFailedPartWay;
    // Looked up again: the progress callback runs the caller's code.
    Monitor* monitor = world.monitorAt(target);
    if (monitor == nullptr || !monitor->hub)
        return writeFailedPartWay;
    if (faults.firmwareVersionStays())
        return firmwareWritten;
    monitor->scalar.firmwareMajor = image[scalarVersionOffset];
    monitor->scalar.firmwareMinor = image[scalarVersionOffset + 1];
    return firmwareWritten;
}

} // namespace simulator
