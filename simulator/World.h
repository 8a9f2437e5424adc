#pragma once

#include "Scalar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace simulator {

// A USB hub as the vendor library reports it.
struct Hub {
    uint16_t vendorId = 0;
    uint16_t productIdSuperSpeed = 0;
    uint16_t productIdUsb2 = 0;
    uint16_t firmware = 0;
    uint32_t port = 0;
    uint32_t parent = 0;
    bool superSpeed = true;
    bool usb2 = true;
    uint32_t usb2Speed = 2;
};

struct Monitor {
    std::vector<uint8_t> edid;
    int32_t outputTechnology = 5;
    bool ddc = true;
    Scalar scalar;
    std::optional<Hub> hub;
    // What the scalar will answer to the next read; empty gives the bus's
    // 0xFF null answer.
    std::optional<std::vector<uint8_t>> pendingReply;
};

enum class Side { SuperSpeed, Usb2, Foreign };

// The USB-to-I2C function of one hub side, as the last configuration
// request left it.
struct BridgeConfig {
    bool configured = false;
    uint8_t slaveAddress = 0;
    uint8_t memoryAddressLength = 0;
    uint8_t speed = 0;
};

// One entry of the vendor library's device list.
struct Device {
    int32_t monitor = -1; // -1 for a device that is not one of our monitors
    Side side = Side::Foreign;
    uint32_t speed = 2;
    Hub foreign; // identity of a foreign device
    BridgeConfig bridge;
};

struct World {
    bool persistState = false;
    std::vector<Monitor> monitors;
    std::vector<Device> devices;
    int32_t firmwareWriteMs = 0;
    int32_t progressSteps = 0;
    // Faults switched on as the world is loaded, in order: name and value.
    std::vector<std::pair<std::string, int32_t>> faults;
    // A file every request-log line is also appended to, relative to the
    // description file's folder; only for descriptions loaded from a file,
    // so a program started on them leaves its requests behind.
    std::string requestLogFile;

    Monitor* monitorAt(int32_t index);
    const Hub& identityOf(const Device& device) const;
    // The monitor of the first device in the list that is a monitor's hub
    // side: the one the firmware writers find. -1 when there is none.
    int32_t firstMonitorWithHub() const;
};

} // namespace simulator
