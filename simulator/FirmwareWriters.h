#pragma once

#include "Hubbridge.h"
#include "World.h"

#include <cstdint>
#include <string>

namespace simulator {

class Faults;

// Results of the two writers; 0 is success as for the vendor library.
enum FirmwareWriteResult : int32_t {
    firmwareWritten = 0,
    noHubFound = 1,
    badImage = 2,
    parametersRefused = 3,
    writeFailedPartWay = 4,
};

// Where the version bytes sit in the images, and so how short an image may
// be at least.
constexpr int32_t hubVersionOffset = 0x7EF9;
constexpr int32_t scalarVersionOffset = 0xF900;

// Whether p1..p5 are the scalar write parameters of the given model (its
// name compared ignoring case).
bool scalarParametersMatch(const std::string& model, const int32_t params[5]);

// Write the hub (scalar) firmware of the first monitor whose hub the device
// list shows, reporting progress through the callback as the real library
// would. The version comes from the image's version bytes; a write that
// fails keeps the old version.
int32_t writeHubFirmware(World& world, Faults& faults, const uint8_t* image, int32_t length,
                         HubProgressCallback progress);
int32_t writeScalarFirmware(World& world, const Faults& faults, const uint8_t* image,
                            int32_t length, const int32_t params[5], HubProgressCallback progress);

} // namespace simulator
