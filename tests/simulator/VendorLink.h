#pragma once

// The vendor entry points of the virtual monitor, called directly as the
// bridge calls them, and a few helpers to speak to the emulated scalar.

#include "TxHubLibApi.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <type_traits>

extern "C" {
#define VENDOR_LINK_DECLARE(name, type) std::remove_pointer_t<type> name;
TXHUB_FUNCTIONS(VENDOR_LINK_DECLARE)
#undef VENDOR_LINK_DECLARE
}

using world::bytes;
using world::requestLog;

// Check bytes computed here independently of the library.
uint8_t ddcCheckOf(const QByteArray& frame);
uint8_t vendorCheckOf(const QByteArray& frame);

// One LM0420 with a two-sided hub and its EDID in the area at 0x0500;
// settings are further top-level keys (progressSteps, persistState).
QByteArray lm0420World(const QJsonObject& settings = {});

// A device held open for the length of a test.
class VendorLink {
public:
    explicit VendorLink(uint32_t index = 0);
    ~VendorLink();
    VendorLink(const VendorLink&) = delete;
    VendorLink& operator=(const VendorLink&) = delete;

    TvHubHandle handle() const { return handle_; }
    int32_t configure(int slaveAddress = 0x6E, int memoryAddressLength = 1, int speed = 0);
    int32_t write(const QByteArray& frame, uint32_t address = 0x51);
    QByteArray read(int length, int32_t* result = nullptr, uint32_t address = 0x51);
    // Write the request, then read the reply as the scalar link does.
    QByteArray exchange(const QByteArray& request, int replyLength);

private:
    TvHubHandle handle_ = nullptr;
};

// Vendor memory commands as the scalar link builds them.
QByteArray memoryReadRequest(int count, int address);
QByteArray memoryWriteRequest(int address, const QByteArray& data);
QByteArray modeRequest(int mode);
