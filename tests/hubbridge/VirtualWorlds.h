#pragma once

// Worlds for the virtual monitor and a look at what reached it.

#include <QByteArray>
#include <QStringList>

namespace worlds {

// One monitor whose hub shows a SuperSpeed side (index 0) and a USB 2 side
// (index 1).
QByteArray oneHub();
// Two monitors: SuperSpeed hubs at 0 and 2, their USB 2 sides at 1 and 3.
QByteArray twoHubsInterleaved();
// One hub that shows only its USB 2 side, at the given speed code.
QByteArray usb2Only(int speed = 2);
// 29 plain high-speed devices, then a monitor's SuperSpeed side at 29 and its
// USB 2 side at 30, past the scan limit.
QByteArray crowded();
// One hub with the largest port and parent numbers there are.
QByteArray farAway();
QByteArray empty();

// Hub identities the worlds use.
constexpr int kVendorId = 0x2109;
constexpr int kFirstSuperSpeedPid = 0x0817;
constexpr int kFirstUsb2Pid = 0x2817;
constexpr int kFirstFirmware = 0x0120;
constexpr int kSecondSuperSpeedPid = 0x0818;

// Loads the world and clears faults and the request log; false with the
// reason printed when the virtual monitor refused it.
bool load(const QByteArray& json);

QStringList requests();
// The requests that start with the prefix.
QStringList requests(const QString& prefix);
// Handles opened and not closed again, from the request log.
int handlesLeftOpen();

} // namespace worlds
