// The real Hubbridge over the virtual monitor, through its eleven exports.
#include "Hubbridge.h"
#include "StderrCapture.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

QString captured(const StderrCapture& log) {
    return QString::fromStdString(log.text());
}

struct ProgressSeen {
    int calls = 0;
    int32_t total = -1;
    int32_t done = -1;
};
ProgressSeen progressSeen;

int32_t recordProgress(void* record) {
    const auto* progress = static_cast<const HubProgressRecord*>(record);
    ++progressSeen.calls;
    progressSeen.total = progress->total;
    progressSeen.done = progress->done;
    return 0;
}

} // namespace

class HubbridgeTest : public QObject {
    Q_OBJECT

private slots:
    void lastErrorStartsAtZero();
    void attachOfAFreshProcess();
    void closeDeviceWithTheLibrary();
    void availableDevices_data();
    void availableDevices();
    void getHIDDev_data();
    void getHIDDev();
    void getHIDDevWhoseLocationFails();
    void openDevice_data();
    void openDevice();
    void speedFailureLeavesNoDeviceBehind();
    void firmwareVersion_data();
    void firmwareVersion();
    void setupPackets_data();
    void setupPackets();
    void writeDumps_data();
    void writeDumps();
    void readShowsTheBufferBeforeTheTransfer();
    void readCountIsOneByte();
    void missingBuffersAreRefused_data();
    void missingBuffersAreRefused();
    void needsAnOpenDevice_data();
    void needsAnOpenDevice();
    void lastErrorIsSticky();
    void firmwareWritersPassThrough_data();
    void firmwareWritersPassThrough();

private:
    void openFirstHub();
};

void HubbridgeTest::openFirstHub() {
    QVERIFY(world::load(world::oneHub()));
    StderrCapture quiet;
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(OpenDevice(0), 1);
    QCOMPARE(SetBusSpeed(0x6E, 1, 0), 1);
    VM_ClearRequestLog();
}

void HubbridgeTest::lastErrorStartsAtZero() {
    QCOMPARE(GetLastErrorCode(), 0);
}

void HubbridgeTest::attachOfAFreshProcess() {
    QProcess probe;
    QElapsedTimer timer;
    timer.start();
    probe.start(QStringLiteral(HUBBRIDGE_PROBE), QStringList());
    QVERIFY(probe.waitForFinished(10000));
    qInfo("fresh process with Hubbridge attached and ended in %lld ms", timer.elapsed());
    QCOMPARE(probe.exitCode(), 0);

    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    QVERIFY2(out.startsWith("LoadTvxHubLib Success, error="), qPrintable(out));
    QVERIFY2(out.endsWith(" \nCloseDevice=1 GetLastErrorCode=0\n"), qPrintable(out));
    QCOMPARE(
        QString::fromUtf8(probe.readAllStandardError()),
        QStringLiteral("No TvxUpx driver installer on this system, installer handshake skipped.\n"
                       "Load TvxHubLib.dll success.\n"
                       "Load TvxHub Fun from HubLib.dll success.\n"));
}

void HubbridgeTest::closeDeviceWithTheLibrary() {
    QVERIFY(world::load(world::oneHub()));
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(CloseDevice(), 1);
    {
        StderrCapture quiet;
        QCOMPARE(OpenDevice(0), 1);
    }
    VM_ClearRequestLog();
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(world::requestLog(), QStringList({"VdCmdEnable 0 0", "Close 0"}));
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(world::requestLog().size(), 2);
}

void HubbridgeTest::availableDevices_data() {
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<int>("usb2Hubs");
    QTest::addColumn<int>("superSpeedHubs");
    QTest::newRow("one hub, both sides") << world::oneHub() << 1 << 1;
    QTest::newRow("two hubs") << world::twoHubsInterleaved() << 2 << 2;
    QTest::newRow("USB 2 side only") << world::usb2Only() << 1 << 0;
    QTest::newRow("full speed") << world::usb2Only(1) << 1 << 0;
    QTest::newRow("nothing") << world::empty() << 0 << 0;
    // Devices 0..28 and the SuperSpeed side at 29 count; the USB 2 side at
    // 30 lies past the scans.
    QTest::newRow("crowded") << world::crowded() << 29 << 1;
}

void HubbridgeTest::availableDevices() {
    QFETCH(QByteArray, world);
    QFETCH(int, usb2Hubs);
    QFETCH(int, superSpeedHubs);
    QVERIFY(world::load(world));

    StderrCapture log;
    QCOMPARE(AvailableDevices(), usb2Hubs);
    const QString text = captured(log);
    const QString superSpeedLine = QString("Get Usb3.0 Hub Devices=%1 \n").arg(superSpeedHubs);
    QCOMPARE(text.contains("Get Usb3.0 Hub Devices="), superSpeedHubs > 0);
    QVERIFY2(superSpeedHubs == 0 || text.contains(superSpeedLine), qPrintable(text));
    QVERIFY2(text.endsWith(QString("Get Available Devices=%1 \n").arg(usb2Hubs)), qPrintable(text));

    QCOMPARE(world::requestLog("Open 30"), QStringList());
    QCOMPARE(world::handlesLeftOpen(), 0);
    QCOMPARE(GetfwVersion(), 0);
}

void HubbridgeTest::getHIDDev_data() {
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("indexAfter");
    QTest::addColumn<int>("superSpeed"); // 7: left as it was
    QTest::addColumn<QString>("text");   // empty: left as it was

    QTest::newRow("hub 0") << world::oneHub() << 0 << 1 << 0 << 1
                           << R"(Hub 0 - USB\VID_2109&PID_0817&Rev_0120 - port 3, parent 1)";
    QTest::newRow("SuperSpeed past a USB 2 side")
        << world::twoHubsInterleaved() << 1 << 1 << 2 << 1
        << R"(Hub 1 - USB\VID_2109&PID_0818&Rev_0231 - port 4, parent 2)";
    QTest::newRow("USB 2 side from the caller's index")
        << world::twoHubsInterleaved() << 3 << 1 << 3 << 0
        << R"(Hub 3 - USB\VID_2109&PID_2818&Rev_0231 - port 4, parent 2)";
    QTest::newRow("high speed only")
        << world::usb2Only(2) << 0 << 1 << 0 << 0
        << R"(Hub 0 - USB\VID_2109&PID_2817&Rev_0120 - port 3, parent 1)";
    QTest::newRow("full speed") << world::usb2Only(1) << 0 << 1 << 0 << 7
                                << R"(Hub 0 - USB\VID_2109&PID_0817&Rev_0120 - port 3, parent 1)";
    QTest::newRow("largest numbers")
        << world::farAway() << 0 << 1 << 0 << 1
        << R"(Hub 0 - USB\VID_FFFF&PID_FFFF&Rev_ffff - port 2147483647, parent 2147483647)";
    QTest::newRow("at the scan limit") << world::crowded() << 30 << 0 << 30 << 7 << QString();
    QTest::newRow("no hub") << world::empty() << 0 << 0 << 0 << 7 << QString();
}

void HubbridgeTest::getHIDDev() {
    QFETCH(QByteArray, world);
    QFETCH(int, index);
    QFETCH(int, result);
    QFETCH(int, indexAfter);
    QFETCH(int, superSpeed);
    QFETCH(QString, text);
    QVERIFY(world::load(world));

    // Larger than the description may be, to see nothing is written past it.
    char buffer[HUBBRIDGE_DESCRIPTION_SIZE + 64];
    std::memset(buffer, 'x', sizeof(buffer));
    int32_t scanIndex = index;
    int32_t superSpeedFlag = 7;
    {
        StderrCapture quiet;
        QCOMPARE(GetHIDDev(buffer, &scanIndex, &superSpeedFlag), result);
    }
    QCOMPARE(scanIndex, indexAfter);
    QCOMPARE(superSpeedFlag, superSpeed);
    if (text.isEmpty()) {
        QCOMPARE(buffer[0], 'x');
    } else {
        const size_t length = std::strlen(buffer);
        QVERIFY(length < HUBBRIDGE_DESCRIPTION_SIZE);
        QCOMPARE(QString::fromLatin1(buffer), text);
        for (size_t i = length + 1; i < sizeof(buffer); ++i) {
            QCOMPARE(buffer[i], 'x');
        }
    }
    QCOMPARE(world::requestLog("Open 30"), QStringList());
    QCOMPARE(world::handlesLeftOpen(), 0);
    StderrCapture quiet;
    QCOMPARE(GetfwVersion(), 0);
}

void HubbridgeTest::getHIDDevWhoseLocationFails() {
    QVERIFY(world::load(world::twoHubsInterleaved()));
    QVERIFY(VM_SetFault("failLocation", 1));
    char buffer[HUBBRIDGE_DESCRIPTION_SIZE];
    std::memset(buffer, 'x', sizeof(buffer));
    int32_t index = 1;
    int32_t superSpeed = 7;
    {
        StderrCapture quiet;
        QCOMPARE(GetHIDDev(buffer, &index, &superSpeed), 0);
    }
    QCOMPARE(index, 2);
    QCOMPARE(superSpeed, 1);
    QCOMPARE(buffer[0], 'x');
    QCOMPARE(world::handlesLeftOpen(), 0);
}

void HubbridgeTest::openDevice_data() {
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("enabled"); // the vendor request that keeps the hub
    QTest::addColumn<QString>("logLine");

    QTest::newRow("SuperSpeed hub") << world::oneHub() << 0 << 1 << "VdCmdEnable 0 1"
                                    << "MP_MultiOpenDevice got usb3.0 hub , device index=0n0 \n";
    QTest::newRow("skips a USB 2 side")
        << world::twoHubsInterleaved() << 1 << 1 << "VdCmdEnable 2 1"
        << "MP_MultiOpenDevice got usb3.0 hub , device index=0n2 \n";
    QTest::newRow("only USB 2 hubs") << world::usb2Only() << 0 << 1 << "VdCmdEnable 0 1"
                                     << "MP_MultiOpenDevice got usb2.0 hub , device index=0n0 \n";
    QTest::newRow("nothing there") << world::empty() << 0 << 0 << QString()
                                   << "MP_MultiOpenDevice got usb2.0 hub , device index=0n0 \n";
    QTest::newRow("at the scan limit")
        << world::crowded() << 30 << 0 << QString()
        << "MP_MultiOpenDevice got usb2.0 hub , device index=0n30 \n";
    QTest::newRow("negative index")
        << world::oneHub() << -1 << 0 << QString() << "MP_MultiOpenDevice index=0n-1 \n";
}

void HubbridgeTest::openDevice() {
    QFETCH(QByteArray, world);
    QFETCH(int, index);
    QFETCH(int, result);
    QFETCH(QString, enabled);
    QFETCH(QString, logLine);
    QVERIFY(world::load(world));
    CloseDevice();

    StderrCapture log;
    QCOMPARE(OpenDevice(index), result);
    QVERIFY2(captured(log).contains(logLine), qPrintable(captured(log)));
    const QStringList enables = world::requestLog("VdCmdEnable");
    QCOMPARE(enables.filter(QRegularExpression(" 1$")).join(','), enabled);
    QCOMPARE(world::handlesLeftOpen(), result);
    QCOMPARE(world::requestLog("Open 30"), QStringList());

    // A second open lets go of the first hub before scanning.
    if (result == 1) {
        QCOMPARE(OpenDevice(index), 1);
        QCOMPARE(world::handlesLeftOpen(), 1);
    }
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(world::handlesLeftOpen(), 0);
}

void HubbridgeTest::speedFailureLeavesNoDeviceBehind() {
    QVERIFY(world::load(world::oneHub()));
    QVERIFY(VM_SetFault("failSpeedAtIndex", 1));
    {
        StderrCapture quiet;
        QCOMPARE(OpenDevice(0), 0);
    }
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_SPEED_QUERY);
    // The hub held by the failed SuperSpeed query is closed before the USB 2
    // scan opens the index again.
    QCOMPARE(world::requestLog(),
             QStringList({"Open 0", "Speed 0", "VdCmdEnable 0 0", "Close 0", "Open 0", "Speed 0"}));
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(world::handlesLeftOpen(), 0);

    // Nor does a description read while a hub is open leave that hub behind.
    VM_ClearFaults();
    VM_ClearRequestLog();
    StderrCapture quiet;
    QCOMPARE(OpenDevice(0), 1);
    char text[HUBBRIDGE_DESCRIPTION_SIZE];
    int32_t index = 0;
    int32_t superSpeed = 0;
    QCOMPARE(GetHIDDev(text, &index, &superSpeed), 1);
    QCOMPARE(world::handlesLeftOpen(), 0);
    QCOMPARE(GetfwVersion(), 0);
}

void HubbridgeTest::firmwareVersion_data() {
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("SuperSpeed") << world::oneHub() << " Got SuperSpeed hub vid=0x2109,pid=0x817 \n";
    QTest::newRow("high speed") << world::usb2Only(2)
                                << " Got HighSpeed hub vid=0x2109,pid=0x2817 \n";
    QTest::newRow("full speed") << world::usb2Only(1)
                                << " Got Unknown speed hub vid=0x2109,pid=0x817 \n";
}

void HubbridgeTest::firmwareVersion() {
    QFETCH(QByteArray, world);
    QFETCH(QString, logLine);
    QVERIFY(world::load(world));
    StderrCapture log;
    QCOMPARE(OpenDevice(0), 1);
    QCOMPARE(GetfwVersion(), 0x0120);
    QVERIFY2(captured(log).endsWith(logLine), qPrintable(captured(log)));
    QCOMPARE(CloseDevice(), 1);
}

void HubbridgeTest::setupPackets_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<QString>("request");

    QTest::newRow("configuration")
        << "config" << 0x6E << 1 << 0 << "CtlPipeNoDataOut 40 F6 01 6E 80 80 00 00";
    QTest::newRow("configuration, low bytes only")
        << "config" << 0x16E << 0x201 << 0x0F << "CtlPipeNoDataOut 40 F6 01 6E 87 80 00 00";
    QTest::newRow("write") << "write" << 0x51 << 5 << 0
                           << "CtlPipeOut 40 C6 51 00 00 00 05 00 | 83 F3 00 00 FF";
    QTest::newRow("write, 32-bit address")
        << "write" << 0x12345678 << 5 << 0 << "CtlPipeOut 40 C6 78 56 34 12 05 00 | ";
    QTest::newRow("write, low 16 bits of the length")
        << "write" << 0x51 << 0x10005 << 0 << "CtlPipeOut 40 C6 51 00 00 00 05 00 | ";
    QTest::newRow("read") << "read" << 0x51 << 11 << 0 << "CtlPipeIn C0 D6 51 00 00 00 0B 00 | ";
    QTest::newRow("read, low byte of the length")
        << "read" << 0x51 << 300 << 0 << "CtlPipeIn C0 D6 51 00 00 00 2C 00 | ";
}

void HubbridgeTest::setupPackets() {
    QFETCH(QString, call);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(QString, request);
    openFirstHub();

    std::vector<uint8_t> data(300, 0);
    const uint8_t capabilitiesRequest[5] = {0x83, 0xF3, 0x00, 0x00, 0xFF};
    std::memcpy(data.data(), capabilitiesRequest, sizeof(capabilitiesRequest));
    StderrCapture quiet;
    if (call == "config") {
        QCOMPARE(SetBusSpeed(a, b, c), 1);
    } else if (call == "write") {
        WriteI2C(static_cast<uint32_t>(a), data.data(), b);
    } else {
        ReadI2C(static_cast<uint32_t>(a), data.data(), b);
    }
    const QStringList sent = world::requestLog("CtlPipe");
    QCOMPARE(sent.size(), 1);
    QVERIFY2(sent.first().startsWith(request), qPrintable(sent.first()));
    CloseDevice();
}

void HubbridgeTest::writeDumps_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("log");
    QTest::newRow("5 bytes") << 5
                             << "Write 5830 I2C function... \n"
                                "Open tvx hub device for write success, dwAddr=0x51, bufLen=5.\n"
                                "00 01 02 03 04 \n";
    QTest::newRow("17 bytes") << 17
                              << "Write 5830 I2C function... \n"
                                 "Open tvx hub device for write success, dwAddr=0x51, bufLen=17.\n"
                                 "Data: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n"
                                 "10 \n";
}

void HubbridgeTest::writeDumps() {
    QFETCH(int, count);
    QFETCH(QString, log);
    openFirstHub();
    std::vector<uint8_t> data(static_cast<size_t>(count));
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i);
    }
    StderrCapture capture;
    WriteI2C(0x51, data.data(), count);
    QCOMPARE(captured(capture), log);
    CloseDevice();
}

void HubbridgeTest::readShowsTheBufferBeforeTheTransfer() {
    openFirstHub();
    uint8_t buffer[3] = {0xAA, 0xBB, 0xCC};
    StderrCapture log;
    QCOMPARE(ReadI2C(0x51, buffer, 3), 1);
    QCOMPARE(captured(log), QStringLiteral("Read 5830 USB2I2C function ... \n"
                                           "Open tvx hub device for read success. dwAddr=0x51, "
                                           "bufLen=3 \n"
                                           "AA BB CC \n"));
    // Nothing was asked, so the bus gave its null answer.
    QCOMPARE(buffer[0], uint8_t(0xFF));
    QCOMPARE(buffer[2], uint8_t(0xFF));
    CloseDevice();
}

void HubbridgeTest::readCountIsOneByte() {
    openFirstHub();
    std::vector<uint8_t> buffer(300, 0x11);
    {
        StderrCapture quiet;
        QCOMPARE(ReadI2C(0x51, buffer.data(), 300), 1);
    }
    for (size_t i = 0; i < buffer.size(); ++i) {
        QCOMPARE(buffer[i], uint8_t(i < 44 ? 0xFF : 0x11));
    }
    CloseDevice();
}

void HubbridgeTest::missingBuffersAreRefused_data() {
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("result");
    QTest::newRow("read 4 into nothing") << true << 4 << 0;
    QTest::newRow("write 4 from nothing") << false << 4 << 0;
    // Only the low byte counts, so 256 asks for no bytes at all.
    QTest::newRow("read 256 into nothing") << true << 256 << 1;
}

void HubbridgeTest::missingBuffersAreRefused() {
    QFETCH(bool, read);
    QFETCH(int, length);
    QFETCH(int, result);
    openFirstHub();
    {
        StderrCapture quiet;
        QCOMPARE(read ? ReadI2C(0x51, nullptr, length) : WriteI2C(0x51, nullptr, length), result);
    }
    QCOMPARE(world::requestLog("CtlPipe").size(), result);
    CloseDevice();
}

void HubbridgeTest::needsAnOpenDevice_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("log");
    QTest::newRow("SetBusSpeed") << "SetBusSpeed"
                                 << "     Invalid Handle on set_BusSpeed function .";
    QTest::newRow("GetfwVersion")
        << "GetfwVersion"
        << " Device has not been opened before Get Firmware Version Function.";
    QTest::newRow("ReadI2C") << "ReadI2C"
                             << "Read 5830 USB2I2C function ... \n";
    QTest::newRow("WriteI2C") << "WriteI2C"
                              << "Write 5830 I2C function... \n";
}

void HubbridgeTest::needsAnOpenDevice() {
    QFETCH(QString, call);
    QFETCH(QString, log);
    openFirstHub();
    QCOMPARE(CloseDevice(), 1);
    VM_ClearRequestLog();

    uint8_t buffer[4] = {};
    StderrCapture capture;
    int32_t result = -1;
    if (call == "SetBusSpeed") {
        result = SetBusSpeed(0x6E, 1, 0);
    } else if (call == "GetfwVersion") {
        result = GetfwVersion();
    } else if (call == "ReadI2C") {
        result = ReadI2C(0x51, buffer, 4);
    } else {
        result = WriteI2C(0x51, buffer, 4);
    }
    QCOMPARE(result, 0);
    QCOMPARE(captured(capture), log);
    QCOMPARE(world::requestLog(), QStringList());
}

void HubbridgeTest::lastErrorIsSticky() {
    openFirstHub();
    StderrCapture log;

    QVERIFY(VM_SetFault("failStatus", 1));
    QCOMPARE(GetfwVersion(), 0);
    QVERIFY(captured(log).endsWith(" Hub GetBasicInfo fail.\n"));
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_STATUS_QUERY);

    QVERIFY(VM_SetFault("refuseBusConfig", 1));
    QCOMPARE(SetBusSpeed(0x6E, 1, 0), 0);
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_BUS_CONFIG);

    VM_ClearFaults();
    QCOMPARE(SetBusSpeed(0x6E, 1, 0), 1);
    QCOMPARE(GetfwVersion(), 0x0120);
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_BUS_CONFIG);

    // A SuperSpeed scan whose speed query fails sets no code; the USB 2 scan
    // after it does.
    QVERIFY(VM_SetFault("failSpeed", 1));
    QCOMPARE(OpenDevice(0), 0);
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_SPEED_QUERY);

    VM_ClearFaults();
    QCOMPARE(OpenDevice(0), 1);
    QCOMPARE(CloseDevice(), 1);
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_SPEED_QUERY);
}

void HubbridgeTest::firmwareWritersPassThrough_data() {
    QTest::addColumn<bool>("scalar");
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<int>("failAtPercent");
    QTest::addColumn<QVector<int>>("params");
    QTest::addColumn<int>("result");

    const QVector<int> lm0420{0xFE19, 0x1029, 1, 16, 16};
    QTest::newRow("scalar written") << true << world::oneHub() << 0 << lm0420 << 0;
    QTest::newRow("scalar parameters refused")
        << true << world::oneHub() << 0 << QVector<int>{1, 2, 3, 4, 5} << 3;
    QTest::newRow("scalar fails part way") << true << world::oneHub() << 50 << lm0420 << 4;
    QTest::newRow("hub written") << false << world::oneHub() << 0 << QVector<int>() << 0;
    QTest::newRow("no hub to write") << false << world::empty() << 0 << QVector<int>() << 1;
}

void HubbridgeTest::firmwareWritersPassThrough() {
    QFETCH(bool, scalar);
    QFETCH(QByteArray, world);
    QFETCH(int, failAtPercent);
    QFETCH(QVector<int>, params);
    QFETCH(int, result);
    QVERIFY(world::load(world));
    if (failAtPercent > 0) {
        QVERIFY(VM_SetFault("firmwareFailAtPercent", failAtPercent));
    }
    CloseDevice();

    std::vector<uint8_t> image(scalar ? 0x10000 : 0x8000, 0x5A);
    image[scalar ? 0xF900 : 0x7EF9] = 0x13;
    image[scalar ? 0xF901 : 0x7EFA] = 0x04;
    const auto length = static_cast<int32_t>(image.size());
    int context = 0;
    progressSeen = ProgressSeen();

    const int32_t written =
        scalar ? UpdateScalar(image.data(), length, params[0], params[1], params[2], params[3],
                              params[4], recordProgress, &context)
               : UpdateHubFW(image.data(), length, recordProgress, &context);
    QCOMPARE(written, result);

    if (result == 1) {
        return; // the writer found no hub to report progress on
    }
    int32_t seenLength = 0;
    int32_t seenParams[5] = {};
    QCOMPARE(VM_LastUpdateArguments(scalar ? 1 : 0, &seenLength, seenParams), 1);
    QCOMPARE(seenLength, length);
    if (scalar) {
        QCOMPARE(QVector<int>(seenParams, seenParams + 5), params);
    }
    if (result != 3) {
        QVERIFY(progressSeen.calls > 0);
        QCOMPARE(progressSeen.total, length);
    }
    if (result == 0) {
        QCOMPARE(progressSeen.done, length);
        int32_t major = 0;
        int32_t minor = 0;
        if (scalar) {
            QVERIFY(VM_GetScalarFirmware(0, &major, &minor));
            QCOMPARE(major * 256 + minor, 0x1304);
        } else {
            QCOMPARE(VM_GetHubFirmware(0), 0x1304);
        }
    }
}

QTEST_GUILESS_MAIN(HubbridgeTest)
#include "HubbridgeExportsTest.moc"
