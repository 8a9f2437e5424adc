#pragma once

// The virtual monitor as the tests set it up and read it back: one builder
// of its worlds, the faults, the request log and the scalar's memory.
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace world {

// One monitor: its EDID, its scalar and its hub.
struct Monitor {
    QString model = QStringLiteral("LM0420");
    QString displayName; // the EDID display name; the model when empty
    QString serial = QStringLiteral("UP2160100001");
    QString manufacturer;     // the EDID maker code; the virtual monitor's own when empty
    int productCode = -1;     // the EDID product code; the virtual monitor's own when -1
    int outputTechnology = 5; // HDMI
    bool ddc = true;          // answers the DDC/CI probe

    QString scalarSerial; // what the scalar answers; serial when empty
    // The capabilities string; a usual one naming the model when empty.
    QString capabilities;
    int scalarMajor = 0x12;
    int scalarMinor = 3;
    QList<int> edidAreas; // memory areas that hold the monitor's EDID
    // Further memory contents: address and bytes.
    int memoryAddress = -1;
    std::vector<uint8_t> memory;

    bool hub = true;
    int hubFirmware = 0x0120;
    int vendorId = 0x2109;
    int superSpeedPid = 0x0811;
    int usb2Pid = 0x0812;
    int port = 3;
    int parent = 1;
    bool superSpeed = true; // the hub shows its SuperSpeed side
    int usb2Speed = -1;     // speed code of its USB 2 side; the virtual monitor's own when -1
};

// One device of the scan: a side ("superSpeed" or "usb2") of a monitor's
// hub, or, without a monitor, a plain device of the given speed code.
struct Device {
    int monitor = -1;
    QString side;
    int speed = 2;
};

// The description of a world. Without devices each hub shows its sides in
// monitor order; settings are further top-level keys (progressSteps, ...).
QByteArray description(const QList<Monitor>& monitors, const QList<Device>& devices = {},
                       const QJsonObject& settings = {});

// Loads a world; loading clears the faults and the request log. False, with
// a warning naming the reason, when the virtual monitor refuses it.
bool load(const QByteArray& json);
bool load(const QList<Monitor>& monitors);

// Worlds of hubs the bridge tests scan: one hub showing its SuperSpeed side
// (index 0) and its USB 2 side (1); two such hubs interleaved (0 and 2,
// their USB 2 sides at 1 and 3); one showing only its USB 2 side at the
// given speed; 29 plain devices before a hub's sides (29, 30); one hub with
// the largest identities, port and parent numbers there are; no devices.
QByteArray oneHub();
QByteArray twoHubsInterleaved();
QByteArray usb2Only(int speed = 2);
QByteArray crowded();
QByteArray farAway();
QByteArray empty();

// False (and the test fails) when the virtual monitor refuses a fault.
bool fault(const char* name, int value);
bool setFaults(const QList<QPair<QByteArray, int>>& faults);

// The request log, one line per vendor call that reached a device.
QStringList requestLog();
QStringList requestLog(const QString& prefix);
// Handles opened and not closed again, from the request log.
int handlesLeftOpen();

// One control request of the log: its call, setup packet and data.
struct Request {
    QString call;
    QByteArray setup;
    QByteArray data;
};
QList<Request> requests();
void clearRequests();
// The frames handed to the scalar, in order.
QList<QByteArray> writes();
// The bus configurations asked for: setup packets of the 0xF6 request.
QList<QByteArray> configurations();
int reads();

std::vector<uint8_t> memory(int monitor, int address, int length);

QByteArray bytes(std::initializer_list<int> values);

} // namespace world

Q_DECLARE_METATYPE(world::Monitor)
