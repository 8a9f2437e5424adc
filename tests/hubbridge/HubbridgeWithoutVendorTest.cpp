// Hubbridge in a folder without the vendor library: the attach remembers it,
// and every export fails cleanly.
#include "Hubbridge.h"
#include "StderrCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <cstring>

namespace {
const char* const kSkipLine =
    "No TvxUpx driver installer on this system, installer handshake skipped.\n";
}

class HubbridgeWithoutVendorTest : public QObject {
    Q_OBJECT

private slots:
    void attachRemembersTheMissingLibrary();
    void attachMessagesOfAFreshProcess();
    void closeDeviceTellsTheLibraryIsMissing();
    void transfersReportInvalidHandle_data();
    void transfersReportInvalidHandle();
    void busSpeedAndVersionNeedAnOpenDevice_data();
    void busSpeedAndVersionNeedAnOpenDevice();
    void deviceExportsFail_data();
    void deviceExportsFail();
    void getHIDDevLeavesItsArgumentsAlone();
    void firmwareWritersReportFailure_data();
    void firmwareWritersReportFailure();
};

void HubbridgeWithoutVendorTest::attachRemembersTheMissingLibrary() {
    QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libTxHubLib.so"));
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_LIBRARY_MISSING);
}

void HubbridgeWithoutVendorTest::attachMessagesOfAFreshProcess() {
    QProcess probe;
    probe.start(QStringLiteral(HUBBRIDGE_PROBE), QStringList());
    QVERIFY(probe.waitForFinished(10000));
    QCOMPARE(probe.exitCode(), 0);
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    const QString err = QString::fromUtf8(probe.readAllStandardError());

    const QString folder = QFileInfo(QStringLiteral(HUBBRIDGE_PROBE)).canonicalPath();
    QVERIFY2(out.startsWith("LoadTvxHubLib Fail, strPath=" + folder + "/libTxHubLib.so,error="),
             qPrintable(out));
    QVERIFY2(out.endsWith(" \nCloseDevice=0 GetLastErrorCode=40003\n"), qPrintable(out));
    QCOMPARE(err, QString::fromLatin1(kSkipLine));
}

void HubbridgeWithoutVendorTest::closeDeviceTellsTheLibraryIsMissing() {
    QCOMPARE(CloseDevice(), 0);
    QCOMPARE(CloseDevice(), 0);
}

void HubbridgeWithoutVendorTest::transfersReportInvalidHandle_data() {
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("expectedLog");
    QTest::newRow("read") << true << "Read 5830 USB2I2C function ... \n     Invalid Handle.";
    QTest::newRow("write") << false << "Write 5830 I2C function... \n     Invalid Handle.";
}

void HubbridgeWithoutVendorTest::transfersReportInvalidHandle() {
    QFETCH(bool, read);
    QFETCH(QString, expectedLog);
    uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    int32_t result = -1;
    StderrCapture log;
    result = read ? ReadI2C(0x51, buffer, 8) : WriteI2C(0x51, buffer, 8);
    QCOMPARE(result, 0);
    QCOMPARE(QString::fromStdString(log.text()), expectedLog);
    const uint8_t untouched[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    QVERIFY(std::memcmp(buffer, untouched, sizeof(buffer)) == 0);
}

void HubbridgeWithoutVendorTest::busSpeedAndVersionNeedAnOpenDevice_data() {
    QTest::addColumn<bool>("busSpeed");
    QTest::addColumn<QString>("expectedLog");
    QTest::newRow("SetBusSpeed") << true << "     Invalid Handle on set_BusSpeed function .";
    QTest::newRow("GetfwVersion")
        << false << " Device has not been opened before Get Firmware Version Function.";
}

void HubbridgeWithoutVendorTest::busSpeedAndVersionNeedAnOpenDevice() {
    QFETCH(bool, busSpeed);
    QFETCH(QString, expectedLog);
    StderrCapture log;
    QCOMPARE(busSpeed ? SetBusSpeed(0x6E, 1, 0) : GetfwVersion(), 0);
    QCOMPARE(QString::fromStdString(log.text()), expectedLog);
}

void HubbridgeWithoutVendorTest::deviceExportsFail_data() {
    QTest::addColumn<int>("openIndex"); // -2: AvailableDevices instead
    QTest::newRow("AvailableDevices") << -2;
    QTest::newRow("OpenDevice 0") << 0;
    QTest::newRow("OpenDevice -1") << -1;
}

void HubbridgeWithoutVendorTest::deviceExportsFail() {
    QFETCH(int, openIndex);
    StderrCapture log;
    QCOMPARE(openIndex == -2 ? AvailableDevices() : OpenDevice(openIndex), 0);
    QCOMPARE(log.text(), std::string(" TxHubLib is not loaded.\n"));
    QCOMPARE(GetLastErrorCode(), HUBBRIDGE_ERROR_LIBRARY_MISSING);
    QCOMPARE(GetfwVersion(), 0);
}

void HubbridgeWithoutVendorTest::getHIDDevLeavesItsArgumentsAlone() {
    char text[HUBBRIDGE_DESCRIPTION_SIZE];
    std::memset(text, 'x', sizeof(text));
    int32_t index = 4;
    int32_t superSpeed = 7;
    StderrCapture log;
    QCOMPARE(GetHIDDev(text, &index, &superSpeed), 0);
    QCOMPARE(index, 4);
    QCOMPARE(superSpeed, 7);
    QCOMPARE(text[0], 'x');
    QCOMPARE(GetHIDDev(nullptr, nullptr, nullptr), 0);
}

void HubbridgeWithoutVendorTest::firmwareWritersReportFailure_data() {
    QTest::addColumn<bool>("scalar");
    QTest::newRow("UpdateScalar") << true;
    QTest::newRow("UpdateHubFW") << false;
}

void HubbridgeWithoutVendorTest::firmwareWritersReportFailure() {
    QFETCH(bool, scalar);
    static int calls = 0;
    calls = 0;
    const HubProgressCallback progress = [](void*) -> int32_t { return ++calls; };
    const uint8_t image[4] = {1, 2, 3, 4};
    StderrCapture log;
    const int32_t result = scalar ? UpdateScalar(image, 4, 1, 2, 1, 16, 16, progress, nullptr)
                                  : UpdateHubFW(image, 4, progress, nullptr);
    QVERIFY(result != 0);
    QCOMPARE(calls, 0);
}

QTEST_GUILESS_MAIN(HubbridgeWithoutVendorTest)
#include "HubbridgeWithoutVendorTest.moc"
