#include "VirtualWorlds.h"

#include "VirtualMonitorControl.h"

#include <QString>

#include <cstdio>

namespace worlds {

namespace {

QByteArray monitor(const QString& serial, int vendorId, int superSpeedPid, int usb2Pid,
                   int firmware, const QString& hubOptions) {
    return QStringLiteral(R"({"scalar":{"model":"LM0420","serial":"%1","firmware":[18,3]},)"
                          R"("hub":{"vendorId":%2,"productIdSuperSpeed":%3,"productIdUsb2":%4,)"
                          R"("firmware":%5%6}})")
        .arg(serial)
        .arg(vendorId)
        .arg(superSpeedPid)
        .arg(usb2Pid)
        .arg(firmware)
        .arg(hubOptions)
        .toUtf8();
}

QByteArray firstMonitor(const QString& hubOptions = R"(,"port":3,"parent":1)") {
    return monitor("UP2160100001", kVendorId, kFirstSuperSpeedPid, kFirstUsb2Pid, kFirstFirmware,
                   hubOptions);
}

} // namespace

QByteArray oneHub() {
    return R"({"monitors":[)" + firstMonitor() + "]}";
}

QByteArray twoHubsInterleaved() {
    return R"({"monitors":[)" + firstMonitor() + "," +
           monitor("UP2160100002", kVendorId, kSecondSuperSpeedPid, 0x2818, 0x0231,
                   R"(,"port":4,"parent":2)") +
           R"(],"devices":[{"monitor":0,"side":"superSpeed"},{"monitor":0,"side":"usb2"},)"
           R"({"monitor":1,"side":"superSpeed"},{"monitor":1,"side":"usb2"}]})";
}

QByteArray usb2Only(int speed) {
    return R"({"monitors":[)" +
           firstMonitor(QStringLiteral(R"(,"port":3,"parent":1,"superSpeed":false,"usb2Speed":%1)")
                            .arg(speed)) +
           "]}";
}

QByteArray crowded() {
    QByteArray devices;
    for (int i = 0; i < 29; ++i) {
        devices += R"({"speed":2},)";
    }
    return R"({"monitors":[)" + firstMonitor() + R"(],"devices":[)" + devices +
           R"({"monitor":0,"side":"superSpeed"},{"monitor":0,"side":"usb2"}]})";
}

QByteArray farAway() {
    return R"({"monitors":[)" +
           monitor("UP2160100001", 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                   R"(,"port":2147483647,"parent":2147483647)") +
           "]}";
}

QByteArray empty() {
    return R"({"monitors":[],"devices":[]})";
}

bool load(const QByteArray& json) {
    if (!VM_LoadDescription(json.constData())) {
        std::fprintf(stdout, "virtual monitor refused the world: %s\n", VM_LastError());
        return false;
    }
    VM_ClearFaults();
    VM_ClearRequestLog();
    return true;
}

QStringList requests() {
    QStringList lines;
    const int count = VM_RequestCount();
    for (int i = 0; i < count; ++i) {
        char line[1024] = {};
        VM_GetRequest(i, line, sizeof(line));
        lines << QString::fromLatin1(line);
    }
    return lines;
}

QStringList requests(const QString& prefix) {
    QStringList matching;
    for (const QString& line : requests()) {
        if (line.startsWith(prefix)) {
            matching << line;
        }
    }
    return matching;
}

int handlesLeftOpen() {
    int open = 0;
    for (const QString& line : requests()) {
        if (line.startsWith("Open ") && !line.endsWith(" none")) {
            ++open;
        } else if (line.startsWith("Close ")) {
            --open;
        }
    }
    return open;
}

} // namespace worlds
