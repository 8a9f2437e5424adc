#include "VirtualWorld.h"

#include "VirtualMonitorControl.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace world {

namespace {

QJsonObject monitorObject(const Monitor& m) {
    QJsonObject edid{{"displayName", m.displayName.isEmpty() ? m.model : m.displayName},
                     {"serial", m.serial}};
    if (!m.manufacturer.isEmpty())
        edid.insert("manufacturer", m.manufacturer);
    if (m.productCode >= 0)
        edid.insert("productCode", m.productCode);

    QJsonObject scalar{{"model", m.model},
                       {"capabilities", m.capabilities.isEmpty()
                                            ? "(prot(monitor)type(LCD)model(" + m.model +
                                                  ")cmds(01 02 03 0C E3 F3)mccs_ver(2.2))"
                                            : m.capabilities},
                       {"serial", m.scalarSerial.isEmpty() ? m.serial : m.scalarSerial},
                       {"firmware", QJsonArray{m.scalarMajor, m.scalarMinor}}};
    if (!m.edidAreas.isEmpty()) {
        QJsonArray areas;
        for (int address : m.edidAreas)
            areas.append(address);
        scalar.insert("edidAreas", areas);
    }
    if (m.memoryAddress >= 0) {
        const QByteArray raw(reinterpret_cast<const char*>(m.memory.data()),
                             static_cast<int>(m.memory.size()));
        scalar.insert("memory", QJsonArray{QJsonObject{{"address", m.memoryAddress},
                                                       {"hex", QString::fromLatin1(raw.toHex())}}});
    }

    QJsonObject object{
        {"edid", edid}, {"outputTechnology", m.outputTechnology}, {"scalar", scalar}};
    if (!m.ddc)
        object.insert("ddc", false);
    if (m.hub) {
        QJsonObject hub{{"vendorId", m.vendorId},
                        {"productIdSuperSpeed", m.superSpeedPid},
                        {"productIdUsb2", m.usb2Pid},
                        {"firmware", m.hubFirmware},
                        {"port", m.port},
                        {"parent", m.parent},
                        {"superSpeed", m.superSpeed},
                        {"usb2", true}};
        if (m.usb2Speed >= 0)
            hub.insert("usb2Speed", m.usb2Speed);
        object.insert("hub", hub);
    }
    return object;
}

Monitor firstHub() {
    Monitor m;
    m.superSpeedPid = 0x0817;
    m.usb2Pid = 0x2817;
    return m;
}

} // namespace

QByteArray description(const QList<Monitor>& monitors, const QList<Device>& devices,
                       const QJsonObject& settings) {
    QJsonObject top = settings;
    QJsonArray list;
    for (const Monitor& m : monitors)
        list.append(monitorObject(m));
    top.insert("monitors", list);
    if (!devices.isEmpty()) {
        QJsonArray scan;
        for (const Device& d : devices)
            scan.append(d.monitor >= 0 ? QJsonObject{{"monitor", d.monitor}, {"side", d.side}}
                                       : QJsonObject{{"speed", d.speed}});
        top.insert("devices", scan);
    }
    return QJsonDocument(top).toJson(QJsonDocument::Compact);
}

bool load(const QByteArray& json) {
    if (VM_LoadDescription(json.constData()) == 1)
        return true;
    qWarning("description refused: %s", VM_LastError());
    return false;
}

bool load(const QList<Monitor>& monitors) {
    return load(description(monitors));
}

QByteArray oneHub() {
    return description({firstHub()});
}

QByteArray twoHubsInterleaved() {
    Monitor second;
    second.serial = QStringLiteral("UP2160100002");
    second.superSpeedPid = 0x0818;
    second.usb2Pid = 0x2818;
    second.hubFirmware = 0x0231;
    second.port = 4;
    second.parent = 2;
    return description({firstHub(), second},
                       {{0, "superSpeed"}, {0, "usb2"}, {1, "superSpeed"}, {1, "usb2"}});
}

QByteArray usb2Only(int speed) {
    Monitor m = firstHub();
    m.superSpeed = false;
    m.usb2Speed = speed;
    return description({m});
}

QByteArray crowded() {
    QList<Device> devices;
    for (int i = 0; i < 29; ++i)
        devices.append(Device{});
    devices.append({0, "superSpeed"});
    devices.append({0, "usb2"});
    return description({firstHub()}, devices);
}

QByteArray farAway() {
    Monitor m;
    m.vendorId = m.superSpeedPid = m.usb2Pid = m.hubFirmware = 0xFFFF;
    m.port = m.parent = 2147483647;
    return description({m});
}

QByteArray empty() {
    return QByteArrayLiteral(R"({"monitors":[],"devices":[]})");
}

bool fault(const char* name, int value) {
    if (VM_SetFault(name, value) == 1)
        return true;
    qWarning("fault refused: %s", VM_LastError());
    return false;
}

bool setFaults(const QList<QPair<QByteArray, int>>& faults) {
    for (const auto& f : faults) {
        if (!fault(f.first.constData(), f.second))
            return false;
    }
    return true;
}

QStringList requestLog() {
    QStringList lines;
    const int32_t count = VM_RequestCount();
    for (int32_t i = 0; i < count; ++i) {
        char line[4096] = {};
        VM_GetRequest(i, line, sizeof line);
        lines.append(QString::fromLatin1(line));
    }
    return lines;
}

QStringList requestLog(const QString& prefix) {
    QStringList matching;
    for (const QString& line : requestLog()) {
        if (line.startsWith(prefix))
            matching << line;
    }
    return matching;
}

int handlesLeftOpen() {
    int open = 0;
    for (const QString& line : requestLog()) {
        if (line.startsWith("Open ") && !line.endsWith(" none"))
            ++open;
        else if (line.startsWith("Close "))
            --open;
    }
    return open;
}

QList<Request> requests() {
    QList<Request> list;
    for (const QString& line : requestLog()) {
        const QStringList halves = line.split(QLatin1Char('|'));
        QStringList head = halves.value(0).simplified().split(QLatin1Char(' '));
        Request request;
        request.call = head.takeFirst();
        request.setup = QByteArray::fromHex(head.join(QString()).toLatin1());
        if (halves.size() > 1)
            request.data = QByteArray::fromHex(halves.value(1).simplified().toLatin1());
        list.append(request);
    }
    return list;
}

void clearRequests() {
    VM_ClearRequestLog();
}

namespace {
bool isRequest(const Request& r, uint8_t type, uint8_t code) {
    return r.setup.size() >= 2 && uint8_t(r.setup[0]) == type && uint8_t(r.setup[1]) == code;
}
} // namespace

QList<QByteArray> writes() {
    QList<QByteArray> list;
    for (const Request& r : requests())
        if (isRequest(r, 0x40, 0xC6))
            list.append(r.data);
    return list;
}

QList<QByteArray> configurations() {
    QList<QByteArray> list;
    for (const Request& r : requests())
        if (isRequest(r, 0x40, 0xF6))
            list.append(r.setup);
    return list;
}

int reads() {
    int count = 0;
    for (const Request& r : requests())
        if (isRequest(r, 0xC0, 0xD6))
            ++count;
    return count;
}

std::vector<uint8_t> memory(int monitor, int address, int length) {
    std::vector<uint8_t> out(static_cast<std::size_t>(length), 0);
    VM_ReadMemory(monitor, address, out.data(), length);
    return out;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray array;
    for (int v : values)
        array.append(static_cast<char>(v));
    return array;
}

} // namespace world
