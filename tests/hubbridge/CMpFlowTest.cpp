// The bridge state's own output and its refusals, on an instance of its own.
#include "CMpFlow.h"
#include "StderrCapture.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include <QtTest>

#include <string>
#include <vector>

using namespace hubbridge;

class CMpFlowTest : public QObject {
    Q_OBJECT

private slots:
    void debugLogCutsLongText();
    void dumpHexLines_data();
    void dumpHexLines();
    void loadBindUnload();
    void scans_data();
    void scans();
    void speedFailureIsReleasedByTheNextScan_data();
    void speedFailureIsReleasedByTheNextScan();

private:
    // An instance with the virtual monitor loaded and bound, as the attach
    // leaves it.
    static void loadVendor(CMpFlow& flow);
};

void CMpFlowTest::loadVendor(CMpFlow& flow) {
    QVERIFY(flow.LoadTvxHubLib());
    flow.BindHubFunctions();
    flow.loaded = true;
}

void CMpFlowTest::debugLogCutsLongText() {
    const CMpFlow flow;
    const std::string longText(5000, 'a');
    StderrCapture log;
    flow.DebugLog("%s", longText.c_str());
    QCOMPARE(log.text(), std::string(4095, 'a'));
}

void CMpFlowTest::dumpHexLines_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << 0 << "";
    QTest::newRow("negative count") << -3 << "";
    QTest::newRow("5 bytes") << 5 << "00 01 02 03 04 \n";
    QTest::newRow("16 bytes") << 16 << "Data: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n";
    QTest::newRow("17 bytes") << 17
                              << "Data: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n"
                                 "10 \n";
    QTest::newRow("32 bytes") << 32
                              << "Data: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n"
                                 "Data: 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F \n";
}

void CMpFlowTest::dumpHexLines() {
    QFETCH(int, count);
    QFETCH(QString, expected);
    std::vector<uint8_t> bytes(64);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    const CMpFlow flow;
    StderrCapture log;
    flow.DumpHex(bytes.data(), count);
    QCOMPARE(QString::fromStdString(log.text()), expected);
}

void CMpFlowTest::loadBindUnload() {
    CMpFlow flow;
    QVERIFY(flow.LoadTvxHubLib());
    QVERIFY(flow.library != nullptr);
    {
        StderrCapture log;
        flow.BindHubFunctions();
        QCOMPARE(log.text(), std::string()); // every name found
    }
#define EXPECT_BOUND(name, type) QVERIFY2(flow.functions.name != nullptr, #name);
    TXHUB_FUNCTIONS(EXPECT_BOUND)
#undef EXPECT_BOUND

    flow.UnloadHubLib();
    QVERIFY(flow.library == nullptr);
    QVERIFY(flow.device == nullptr);
#define EXPECT_CLEARED(name, type) QVERIFY2(flow.functions.name == nullptr, #name);
    TXHUB_FUNCTIONS(EXPECT_CLEARED)
#undef EXPECT_CLEARED
}

void CMpFlowTest::scans_data() {
    QTest::addColumn<QByteArray>("world");
    QTest::addColumn<bool>("superSpeed");
    QTest::addColumn<uint>("index");
    QTest::addColumn<bool>("found");
    QTest::addColumn<uint>("indexAfter");
    QTest::addColumn<QStringList>("requests");

    QTest::newRow("SuperSpeed skips a USB 2 side")
        << world::twoHubsInterleaved() << true << 1u << true << 2u
        << QStringList{"Open 1", "Speed 1", "VdCmdEnable 1 0", "Close 1",
                       "Open 2", "Speed 2", "VdCmdEnable 2 1"};
    QTest::newRow("USB 2 skips a SuperSpeed side")
        << world::twoHubsInterleaved() << false << 0u << true << 1u
        << QStringList{"Open 0", "Speed 0", "VdCmdEnable 0 0", "Close 0",
                       "Open 1", "Speed 1", "VdCmdEnable 1 1"};
    QTest::newRow("USB 2 from 29 stops at the limit")
        << world::crowded() << false << 29u << false << 30u
        << QStringList{"Open 29", "Speed 29", "VdCmdEnable 29 0", "Close 29"};
    QTest::newRow("SuperSpeed at 29") << world::crowded() << true << 29u << true << 29u
                                      << QStringList{"Open 29", "Speed 29", "VdCmdEnable 29 1"};
    QTest::newRow("full speed counts as USB 2")
        << world::usb2Only(1) << false << 0u << true << 0u
        << QStringList{"Open 0", "Speed 0", "VdCmdEnable 0 1"};
    QTest::newRow("nothing at the index")
        << world::empty() << true << 0u << false << 0u << QStringList{"Open 0 none"};
    QTest::newRow("starting past the limit")
        << world::crowded() << false << 30u << false << 30u << QStringList();
}

void CMpFlowTest::scans() {
    QFETCH(QByteArray, world);
    QFETCH(bool, superSpeed);
    QFETCH(uint, index);
    QFETCH(bool, found);
    QFETCH(uint, indexAfter);
    QFETCH(QStringList, requests);
    CMpFlow flow;
    loadVendor(flow);
    QVERIFY(world::load(world));

    uint32_t scanIndex = index;
    StderrCapture quiet;
    const bool opened = superSpeed ? flow.MP_MultiOpenDevice_USB3(scanIndex)
                                   : flow.MP_MultiOpenDevice_USB2(scanIndex);
    QCOMPARE(opened, found);
    QCOMPARE(scanIndex, indexAfter);
    QCOMPARE(flow.device != nullptr, found);
    QCOMPARE(world::requestLog(), requests);
    flow.releaseDevice();
    flow.UnloadHubLib();
}

void CMpFlowTest::speedFailureIsReleasedByTheNextScan_data() {
    QTest::addColumn<bool>("superSpeed");
    QTest::addColumn<int>("lastError");
    QTest::newRow("SuperSpeed scan") << true << 0;
    QTest::newRow("USB 2 scan") << false << int(HUBBRIDGE_ERROR_SPEED_QUERY);
}

void CMpFlowTest::speedFailureIsReleasedByTheNextScan() {
    QFETCH(bool, superSpeed);
    QFETCH(int, lastError);
    CMpFlow flow;
    loadVendor(flow);
    QVERIFY(world::load(world::oneHub()));
    QVERIFY(VM_SetFault("failSpeedAtIndex", 1));

    StderrCapture quiet;
    uint32_t index = 0;
    QVERIFY(
        !(superSpeed ? flow.MP_MultiOpenDevice_USB3(index) : flow.MP_MultiOpenDevice_USB2(index)));
    QCOMPARE(flow.lastError, lastError);
    QVERIFY(flow.device != nullptr);
    QCOMPARE(world::handlesLeftOpen(), 1);

    VM_ClearFaults();
    index = 0;
    QVERIFY(flow.MP_MultiOpenDevice_USB3(index));
    QCOMPARE(world::handlesLeftOpen(), 1);
    QCOMPARE(world::requestLog().mid(2, 2), QStringList({"VdCmdEnable 0 0", "Close 0"}));
    flow.releaseDevice();
    QCOMPARE(world::handlesLeftOpen(), 0);
    flow.UnloadHubLib();
}

QTEST_GUILESS_MAIN(CMpFlowTest)
#include "CMpFlowTest.moc"
