#include "SimulatedWorld.h"

#include "VirtualMonitorControl.h"

#include <QJsonDocument>
#include <QStringList>
#include <QtTest>

namespace world {

QJsonObject monitor(const MonitorSpec& spec) {
    QJsonObject scalar{{"model", spec.model},
                       {"capabilities", spec.capabilities},
                       {"serial", spec.serial},
                       {"firmware", QJsonArray{spec.firmwareMajor, spec.firmwareMinor}}};
    if (spec.memoryAddress >= 0) {
        const QByteArray raw(reinterpret_cast<const char*>(spec.memory.data()),
                             static_cast<int>(spec.memory.size()));
        scalar.insert("memory", QJsonArray{QJsonObject{{"address", spec.memoryAddress},
                                                       {"hex", QString::fromLatin1(raw.toHex())}}});
    }
    QJsonObject object{{"edid", QJsonObject{{"displayName", spec.model}, {"serial", spec.serial}}},
                       {"scalar", scalar}};
    if (spec.hub)
        object.insert("hub", QJsonObject{{"vendorId", 8457},
                                         {"productIdSuperSpeed", 2065},
                                         {"productIdUsb2", 2066},
                                         {"firmware", spec.hubFirmware},
                                         {"port", 3},
                                         {"parent", 1},
                                         {"superSpeed", true},
                                         {"usb2", true}});
    return object;
}

bool load(const QList<MonitorSpec>& monitors) {
    QJsonArray list;
    for (const MonitorSpec& spec : monitors)
        list.append(monitor(spec));
    const QByteArray json = QJsonDocument(QJsonObject{{"monitors", list}}).toJson();
    if (VM_LoadDescription(json.constData()) != 1) {
        qWarning() << "description refused:" << VM_LastError();
        return false;
    }
    VM_ClearFaults();
    VM_ClearRequestLog();
    return true;
}

bool fault(const char* name, int value) {
    return VM_SetFault(name, value) == 1;
}

QList<Request> requests() {
    QList<Request> list;
    const int count = VM_RequestCount();
    for (int i = 0; i < count; ++i) {
        char line[4096] = {};
        VM_GetRequest(i, line, sizeof line);
        const QString text = QString::fromLatin1(line);
        const QStringList halves = text.split(QLatin1Char('|'));
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

QList<QByteArray> writes() {
    QList<QByteArray> list;
    for (const Request& r : requests())
        if (r.setup.size() >= 2 && uint8_t(r.setup[0]) == 0x40 && uint8_t(r.setup[1]) == 0xC6)
            list.append(r.data);
    return list;
}

QList<QByteArray> configurations() {
    QList<QByteArray> list;
    for (const Request& r : requests())
        if (r.setup.size() >= 2 && uint8_t(r.setup[0]) == 0x40 && uint8_t(r.setup[1]) == 0xF6)
            list.append(r.setup);
    return list;
}

int reads() {
    int count = 0;
    for (const Request& r : requests())
        if (r.setup.size() >= 2 && uint8_t(r.setup[0]) == 0xC0 && uint8_t(r.setup[1]) == 0xD6)
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
