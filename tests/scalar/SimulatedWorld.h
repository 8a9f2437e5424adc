#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

// The virtual monitor behind the real bridge library, as the tests set it
// up and read it back.
namespace world {

struct MonitorSpec {
    QString model = QStringLiteral("LM0420");
    QString capabilities = QStringLiteral("(prot(monitor)type(lcd)model(LM0420)cmds(01 02 03))");
    QString serial = QStringLiteral("UP2160100001");
    int firmwareMajor = 0x12;
    int firmwareMinor = 3;
    bool hub = true;
    int hubFirmware = 0x0120;
    // Memory contents: address and bytes.
    int memoryAddress = -1;
    std::vector<uint8_t> memory;
};

QJsonObject monitor(const MonitorSpec& spec);

// Loads the monitors, clears faults and the request log. False (with a
// test warning) when the description is refused.
bool load(const QList<MonitorSpec>& monitors);
bool fault(const char* name, int value);

// One vendor call that reached the virtual hub.
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
