#pragma once

#include "scalar/HubConnection.h"
#include "seams/WindowText.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace scalar {

// How a hub connection tells the window that no hub was found: the
// hub-not-detected notice in lblInfo and the Update button disabled.
class ConnectionReporter {
public:
    virtual ~ConnectionReporter() = default;
    virtual void showHubNotDetected() = 0;
};

// An EDID area as read: always 256 bytes (zeros where nothing was read);
// complete is false when the read gave up, so a failed read is never taken
// for a blank area.
struct EdidAreaRead {
    std::vector<uint8_t> bytes;
    bool complete = false;
};

// The rich text of the hub-not-detected notice.
seams::UiText hubNotDetectedText();

// The window's exchanges with the monitor, each inside its own hub
// connection on the window's hubIndex and scalar I2C address.
class ScalarQueries {
public:
    ScalarQueries(int& hubIndex, const int& scalarI2cAddress, ConnectionReporter& reporter);

    bool queryHubFirmware(int& version);
    std::string queryModelName();
    bool queryScalarFirmware(int& major, int& minor, bool showErrors);
    bool resetScalarSettings();
    EdidAreaRead readEdidArea(int address);
    bool writeEdidArea(int address, std::vector<uint8_t> data);

    // Why the last exchange could not reach the hub; None when it did.
    HubConnection::Failure lastConnectionFailure() const { return lastFailure_; }

private:
    bool connect(HubConnection& connection, bool configure, bool show);

    int& hubIndex_;
    const int& scalarI2cAddress_;
    ConnectionReporter& reporter_;
    HubConnection::Failure lastFailure_ = HubConnection::Failure::None;
};

} // namespace scalar
