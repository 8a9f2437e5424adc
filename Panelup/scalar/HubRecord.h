#pragma once

#include <cstdint>
#include <string>

namespace scalar {

// One hub seen through the bridge: its link parameters and what was read
// through it.
struct HubRecord {
    int32_t hubIndex = 0;
    uint8_t usb3 = 0;
    int32_t i2cAddress = 0x51;
    uint8_t busSpeed = 0;
    uint8_t memAddressLength = 1;
    int32_t replyTrailerLength = 1;
    int32_t replyHeaderA = 2;
    int32_t replyHeaderB = 3;
    int32_t slaveAddress = 0x6E;
    std::string modelText;
    std::string serialText;
    int32_t hubFirmware = 0;

    // What a monitor record keeps of its paired hub: index, USB 3.0 flag
    // and the two texts; everything else keeps its new value.
    void assignPairedFrom(const HubRecord& hub) {
        hubIndex = hub.hubIndex;
        usb3 = hub.usb3;
        modelText = hub.modelText;
        serialText = hub.serialText;
    }
};

} // namespace scalar
