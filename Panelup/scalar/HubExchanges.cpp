#include "scalar/HubExchanges.h"

#include "Hubbridge.h"
#include "scalar/CapabilitiesReader.h"
#include "scalar/Frames.h"
#include "scalar/ScalarLink.h"

#include <QDebug>

namespace scalar {

namespace {

// Hubs with this firmware do not take the bus configuration.
constexpr int kFirmwareWithoutBusConfig = 0x0104;

bool openAndConfigure(const HubRecord& hub) {
    OpenDevice(hub.hubIndex);
    return SetBusSpeed(kSlaveAddress, hub.memAddressLength, hub.busSpeed) != 0;
}

std::size_t textStart(const HubRecord& hub) {
    const int start = hub.replyHeaderA + hub.replyHeaderB;
    return start < 0 ? 0 : static_cast<std::size_t>(start);
}

std::size_t textEnd(const HubRecord& hub, std::size_t replyLength) {
    const int trailer = hub.replyTrailerLength;
    if (trailer < 0 || static_cast<std::size_t>(trailer) > replyLength)
        return 0;
    return replyLength - static_cast<std::size_t>(trailer);
}

} // namespace

bool readHubFirmware(HubRecord& hub) {
    bool ok = OpenDevice(hub.hubIndex) != 0;
    const int version = GetfwVersion();
    if (version != kFirmwareWithoutBusConfig)
        ok = SetBusSpeed(kSlaveAddress, hub.memAddressLength, hub.busSpeed) != 0;
    CloseDevice();
    hub.hubFirmware = ok ? version : 0;
    return ok;
}

bool readModelText(HubRecord& hub) {
    hub.modelText.clear();
    if (!openAndConfigure(hub)) {
        qDebug() << "Hub" << hub.hubIndex << ": bus configuration refused, no model text";
        CloseDevice();
        return false;
    }
    CapabilitiesReader::Options options;
    options.textStart = textStart(hub);
    options.textEnd = textEnd(hub, kCapabilitiesReplyLength);
    ScalarLink link(static_cast<uint32_t>(hub.i2cAddress));
    const auto result = CapabilitiesReader(options).read(link);
    CloseDevice();
    if (result.end == CapabilitiesReader::End::ModelFound)
        hub.modelText = result.modelName;
    return result.lastReadTransferred;
}

bool readSerialText(HubRecord& hub) {
    hub.serialText.clear();
    if (!openAndConfigure(hub)) {
        qDebug() << "Hub" << hub.hubIndex << ": bus configuration refused, no serial text";
        CloseDevice();
        return false;
    }
    ScalarLink link(static_cast<uint32_t>(hub.i2cAddress));
    const Reply reply = link.ask(serialRequest(), kSerialReplyLength);
    CloseDevice();
    const std::size_t start = textStart(hub);
    const std::size_t end = textEnd(hub, kSerialReplyLength);
    // A refused read leaves no serial: zeros must never pass for one.
    if (!reply.transferred || start >= end)
        return false;
    hub.serialText.assign(reply.bytes.begin() + static_cast<std::ptrdiff_t>(start),
                          reply.bytes.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
}

} // namespace scalar
