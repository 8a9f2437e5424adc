#include "scalar/ScalarQueries.h"

#include "Hubbridge.h"
#include "scalar/CapabilitiesReader.h"
#include "scalar/EdidAreaTransfer.h"
#include "scalar/Frames.h"
#include "scalar/HubConnection.h"
#include "scalar/ScalarLink.h"
#include "seams/Sleeper.h"

#include <QDebug>

namespace scalar {

namespace {
constexpr int kFirmwareLevelAttempts = 5;
constexpr unsigned long kFirmwareLevelBackOffMs = 100;

// Whether a connection configures the bus, and shows its failure.
constexpr bool busAsIs = false;
constexpr bool configureBus = true;
constexpr bool quiet = false;
constexpr bool report = true;
} // namespace

// Opens the connection and shows its failure when asked to.
bool ScalarQueries::connect(HubConnection& connection, bool configure, bool show) {
    lastFailure_ = connection.open(configure);
    if (lastFailure_ == HubConnection::Failure::None)
        return true;
    if (show)
        HubConnection::report(lastFailure_, reporter_);
    return false;
}

ScalarQueries::ScalarQueries(int& hubIndex, const int& scalarI2cAddress,
                             ConnectionReporter& reporter)
    : hubIndex_(hubIndex), scalarI2cAddress_(scalarI2cAddress), reporter_(reporter) {}

bool ScalarQueries::queryHubFirmware(int& version) {
    HubConnection connection(hubIndex_);
    if (!connect(connection, busAsIs, report))
        return false;
    version = GetfwVersion();
    connection.close();
    qDebug() << "Hub firmware:" << QString::number(version, 16);
    return true;
}

std::string ScalarQueries::queryModelName() {
    HubConnection connection(hubIndex_);
    if (!connect(connection, configureBus, report))
        return {};
    CapabilitiesReader::Options options;
    options.checkOpcode = true;
    options.waitBeforeRetry = true;
    ScalarLink link(static_cast<uint32_t>(scalarI2cAddress_));
    const auto result = CapabilitiesReader(options).read(link);
    // The device stays open; the next connection's probe closes it.
    switch (result.end) {
    case CapabilitiesReader::End::ModelFound:
        qDebug() << "Monitor model:" << result.modelName.c_str();
        return result.modelName;
    case CapabilitiesReader::End::NoModelName:
        return result.text;
    case CapabilitiesReader::End::GaveUp:
        break;
    }
    return {};
}

bool ScalarQueries::queryScalarFirmware(int& major, int& minor, bool showErrors) {
    HubConnection connection(hubIndex_);
    if (!connect(connection, configureBus, showErrors))
        return false;
    ScalarLink link(static_cast<uint32_t>(scalarI2cAddress_));
    bool accepted = false;
    for (int attempt = 1; attempt <= kFirmwareLevelAttempts && !accepted; ++attempt) {
        const Reply reply = link.ask(firmwareLevelRequest(), kFirmwareLevelReplyLength);
        accepted = reply.transferred && firmwareLevelReplyAccepted(reply.bytes);
        if (accepted) {
            major = reply.bytes[8];
            minor = reply.bytes[9];
        } else {
            seams::sleeper().sleepMs(kFirmwareLevelBackOffMs * static_cast<unsigned long>(attempt));
        }
    }
    connection.close();
    if (accepted)
        qDebug() << "Scalar firmware:" << major << minor;
    else
        qDebug() << "Scalar firmware: no usable reply";
    return accepted;
}

bool ScalarQueries::resetScalarSettings() {
    HubConnection connection(hubIndex_);
    if (!connect(connection, configureBus, report))
        return false;
    ScalarLink link(static_cast<uint32_t>(scalarI2cAddress_));
    link.send(factoryResetRequest());
    qDebug() << "Factory reset sent";
    return true;
}

EdidAreaRead ScalarQueries::readEdidArea(int address) {
    EdidAreaRead area;
    area.bytes.assign(kEdidAreaSize, 0);
    if (!memoryRangeUsable(address, kEdidAreaSize))
        return area;
    HubConnection connection(hubIndex_);
    if (!connect(connection, configureBus, quiet))
        return area;
    ScalarLink link(static_cast<uint32_t>(scalarI2cAddress_));
    area.complete = readMemoryArea(link, static_cast<uint16_t>(address), area.bytes);
    connection.close();
    if (!area.complete)
        qDebug() << "EDID area" << address << ": read gave up";
    return area;
}

bool ScalarQueries::writeEdidArea(int address, std::vector<uint8_t> data) {
    if (!memoryRangeUsable(address, data.size()))
        return false;
    HubConnection connection(hubIndex_);
    if (!connect(connection, configureBus, quiet))
        return false;
    ScalarLink link(static_cast<uint32_t>(scalarI2cAddress_));
    const bool written = writeMemoryArea(link, static_cast<uint16_t>(address), data);
    connection.close();
    if (!written)
        qDebug() << "EDID area" << address << ": write gave up";
    return written;
}

} // namespace scalar
