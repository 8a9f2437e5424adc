// The virtual monitor's world: descriptions, the device list, the identity
// the vendor library reports, the EDID images and the request log.

#include "VendorLink.h"

#include <QLibrary>
#include <QtTest>

#include <vector>

namespace {

std::vector<uint8_t> monitorEdid(int monitor) {
    std::vector<uint8_t> edid(512, 0);
    const int32_t length = VM_GetMonitorEdid(monitor, edid.data(), 512);
    edid.resize(static_cast<size_t>(qMax(0, length)));
    return edid;
}

QByteArray descriptorText(const std::vector<uint8_t>& edid, uint8_t tag) {
    for (size_t at = 54; at < 126; at += 18) {
        if (edid[at] == 0 && edid[at + 1] == 0 && edid[at + 3] == tag)
            return QByteArray(reinterpret_cast<const char*>(&edid[at + 5]), 13);
    }
    return QByteArray();
}

bool blockSumsToZero(const std::vector<uint8_t>& edid, size_t block) {
    uint8_t sum = 0;
    for (size_t i = block * 128; i < block * 128 + 128; ++i)
        sum = static_cast<uint8_t>(sum + edid[i]);
    return sum == 0;
}

} // namespace

class WorldTest : public QObject {
    Q_OBJECT

private slots:
    void init() { VM_ClearFaults(); }

    void theFullExampleLoads() {
        QFile example(PANELUP_SOURCE_DIR "/demo/virtual-monitor.json");
        QVERIFY(example.open(QIODevice::ReadOnly));
        QVERIFY(world::load(example.readAll()));
        QCOMPARE(VM_MonitorCount(), 1);
        QCOMPARE(VM_GetHubFirmware(0), 0x0120);
        int32_t major = 0, minor = 0;
        QCOMPARE(VM_GetScalarFirmware(0, &major, &minor), 1);
        QCOMPARE(major, 0x12);
        QCOMPARE(minor, 3);
        // The demo shows a repair: the source area holds the EDID, the copy
        // area is blank.
        const std::vector<uint8_t> edid = monitorEdid(0);
        std::vector<uint8_t> area(256);
        QCOMPARE(VM_ReadMemory(0, 0x0500, area.data(), 256), 1);
        QVERIFY(area == edid);
        QCOMPARE(VM_ReadMemory(0, 0x1200, area.data(), 256), 1);
        QVERIFY(std::all_of(area.begin(), area.end(), [](uint8_t b) { return b == 0xFF; }));
        QCOMPARE(descriptorText(edid, 0xFF), QByteArray("UP2160100001\n"));
    }

    void edidBuiltFromItsIdentity() {
        QVERIFY(world::load(R"({ "monitors": [
            { "edid": { "displayName": "LM0530 SERIES", "serial": "U8K1", "manufacturer": "NVL",
                        "productCode": 1328 },
              "outputTechnology": 10, "ddc": false, "scalar": { "model": "LM0530" } } ] })"));
        const std::vector<uint8_t> edid = monitorEdid(0);
        QCOMPARE(edid.size(), size_t(256));
        QVERIFY(std::equal(edid.begin(), edid.begin() + 8,
                           std::vector<uint8_t>{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0}.begin()));
        QCOMPARE(edid[8], uint8_t(0x3A)); // N V L in five-bit letters
        QCOMPARE(edid[9], uint8_t(0xCC));
        QCOMPARE(edid[10] | edid[11] << 8, 1328);
        QCOMPARE(edid[18], uint8_t(1));
        QCOMPARE(edid[19], uint8_t(4));
        QCOMPARE(edid[126], uint8_t(1));
        QCOMPARE(edid[128], uint8_t(0x02));
        QVERIFY(blockSumsToZero(edid, 0));
        QVERIFY(blockSumsToZero(edid, 1));
        QCOMPARE(descriptorText(edid, 0xFC), QByteArray("LM0530 SERIES"));
        QCOMPARE(descriptorText(edid, 0xFF), QByteArray("U8K1\n        "));
        QVERIFY(edid[54] != 0 || edid[55] != 0); // a preferred timing first
        QCOMPARE(VM_GetMonitorOutputTechnology(0), 10);
        QCOMPARE(VM_GetMonitorDdc(0), 0);
    }

    void edidHexIsTakenAsItIs() {
        QByteArray hex;
        for (int i = 0; i < 128; ++i)
            hex += QByteArray::number(i % 256 | 0x10, 16);
        QVERIFY(world::load(R"({ "monitors": [ { "edid": ")" + hex + R"(",
            "scalar": { "model": "LM0420", "edidAreas": [512] } } ] })"));
        const std::vector<uint8_t> edid = monitorEdid(0);
        QCOMPARE(edid.size(), size_t(128));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(edid.data()), 128).toHex(), hex);
        // A 128-byte EDID fills half an area; the rest stays blank.
        std::vector<uint8_t> area(256);
        VM_ReadMemory(0, 512, area.data(), 256);
        QVERIFY(std::equal(edid.begin(), edid.end(), area.begin()));
        QCOMPARE(area[128], uint8_t(0xFF));
        // Asking with too small a buffer tells the length and copies what fits.
        uint8_t small[4] = {};
        QCOMPARE(VM_GetMonitorEdid(0, small, 4), 128);
        QCOMPARE(small[3], edid[3]);
    }

    void memoryEntriesLieOverTheEdidAreas() {
        QVERIFY(world::load(R"({ "monitors": [ { "scalar": { "model": "LM0430",
            "edidAreas": [4096, 4352],
            "memory": [ { "address": 4352, "hex": "00 11 22" },
                        { "address": 65534, "hex": "abcd" } ] } } ] })"));
        uint8_t area[256];
        QCOMPARE(VM_ReadMemory(0, 4352, area, 256), 1);
        QCOMPARE(area[0], uint8_t(0x00));
        QCOMPARE(area[1], uint8_t(0x11));
        QCOMPARE(area[2], uint8_t(0x22));
        QCOMPARE(area[3], monitorEdid(0)[3]);
        uint8_t end[2];
        QCOMPARE(VM_ReadMemory(0, 65534, end, 2), 1);
        QCOMPARE(end[0], uint8_t(0xAB));
        QCOMPARE(end[1], uint8_t(0xCD));
        uint8_t blank[1];
        QCOMPARE(VM_ReadMemory(0, 0, blank, 1), 1);
        QCOMPARE(blank[0], uint8_t(0xFF));
        QCOMPARE(VM_ReadMemory(0, 65535, end, 2), 0);
        QCOMPARE(VM_ReadMemory(1, 0, end, 1), 0);
    }

    void badDescriptionsAreRefused_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        const QByteArray scalar = R"("scalar": { "model": "LM0420" })";
        QTest::newRow("not json") << QByteArray("{ monitors: }") << "parse error";
        QTest::newRow("top level array") << QByteArray("[]") << "expected an object";
        QTest::newRow("monitors not a list")
            << QByteArray(R"({ "monitors": {} })") << "monitors: expected an array";
        QTest::newRow("no scalar")
            << QByteArray(R"({ "monitors": [ {} ] })") << "monitors[0]: missing \"scalar\"";
        QTest::newRow("empty model")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "" } } ] })")
            << "model: must not be empty";
        QTest::newRow("serial too long")
            << QByteArray(
                   R"({ "monitors": [ { "scalar": { "model": "X", "serial": "UP21601000012" } } ] })")
            << "serial: longer than 12";
        QTest::newRow("firmware byte")
            << QByteArray(
                   R"({ "monitors": [ { "scalar": { "model": "X", "firmware": [1, 256] } } ] })")
            << "out of range 0..255";
        QTest::newRow("firmware not a pair")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "X", "firmware": 18 } } ] })")
            << "expected [major, minor]";
        QTest::newRow("firmware text")
            << QByteArray(
                   R"({ "monitors": [ { "scalar": { "model": "X", "firmware": ["18", 3] } } ] })")
            << "expected an integer";
        QTest::newRow("edid area past the end")
            << QByteArray(
                   R"({ "monitors": [ { "scalar": { "model": "X", "edidAreas": [65281] } } ] })")
            << "edidAreas[0]";
        QTest::newRow("memory past the end")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "X",
                   "memory": [ { "address": 65535, "hex": "0011" } ] } } ] })")
            << "runs past the end";
        QTest::newRow("odd hex") << QByteArray(R"({ "monitors": [ { "scalar": { "model": "X",
                   "memory": [ { "address": 0, "hex": "001" } ] } } ] })")
                                 << "hex digit pairs";
        QTest::newRow("edid of 100 bytes")
            << QByteArray(R"({ "monitors": [ { "edid": ")" + QByteArray(200, '0') + R"(", )" +
                          scalar + " } ] }")
            << "128 or 256 bytes";
        QTest::newRow("lower-case maker")
            << QByteArray(R"({ "monitors": [ { "edid": { "manufacturer": "nvl" }, )" + scalar +
                          " } ] }")
            << "three capital letters";
        QTest::newRow("display name too long")
            << QByteArray(R"({ "monitors": [ { "edid": { "displayName": "LM0420 MONITOR" }, )" +
                          scalar + " } ] }")
            << "longer than 13";
        QTest::newRow("misspelt key")
            << QByteArray(R"({ "monitors": [ { )" + scalar + R"(, "hubs": {} } ] })")
            << "unknown key \"hubs\"";
        QTest::newRow("misspelt setting")
            << QByteArray(R"({ "firmwareWriteMS": 10 })") << "unknown key \"firmwareWriteMS\"";
        QTest::newRow("negative vendor id")
            << QByteArray(R"({ "monitors": [ { )" + scalar + R"(, "hub": { "vendorId": -1 } } ] })")
            << "vendorId: value -1 out of range";
        QTest::newRow("side of a monitor without hub")
            << QByteArray(R"({ "monitors": [ { )" + scalar +
                          R"( } ], "devices": [ { "monitor": 0, "side": "usb2" } ] })")
            << "monitor 0 has no hub";
        QTest::newRow("side the hub does not show")
            << QByteArray(R"({ "monitors": [ { )" + scalar +
                          R"(, "hub": { "superSpeed": false } } ],
                   "devices": [ { "monitor": 0, "side": "superSpeed" } ] })")
            << "has no superSpeed side";
        QTest::newRow("side listed twice")
            << QByteArray(R"({ "monitors": [ { )" + scalar + R"(, "hub": {} } ],
                   "devices": [ { "monitor": 0, "side": "usb2" }, { "monitor": 0, "side": "usb2" } ] })")
            << "a second time";
        QTest::newRow("unknown side")
            << QByteArray(R"({ "monitors": [ { )" + scalar + R"(, "hub": {} } ],
                   "devices": [ { "monitor": 0, "side": "usb3" } ] })")
            << "expected \"superSpeed\" or \"usb2\"";
        QTest::newRow("monitor out of range")
            << QByteArray(R"({ "monitors": [ { )" + scalar + R"(, "hub": {} } ],
                   "devices": [ { "monitor": 1, "side": "usb2" } ] })")
            << "devices[0].monitor: value 1 out of range";
        QTest::newRow("monitor in an empty world")
            << QByteArray(R"({ "devices": [ { "monitor": 0, "side": "usb2" } ] })")
            << "the description has none";
        QTest::newRow("foreign without speed")
            << QByteArray(R"({ "devices": [ { "port": 2 } ] })") << "needs \"monitor\"";
        QTest::newRow("speed 4") << QByteArray(R"({ "devices": [ { "speed": 4 } ] })")
                                 << "speed: value 4 out of range 1..3";
        QTest::newRow("negative write time")
            << QByteArray(R"({ "firmwareWriteMs": -1 })") << "firmwareWriteMs";
        QTest::newRow("persist flag as text")
            << QByteArray(R"({ "persistState": "yes" })") << "expected true or false";
    }

    void badDescriptionsAreRefused() {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        QVERIFY(world::load(lm0420World()));
        QVERIFY(VM_SetFault("dropReplies", 3));
        QCOMPARE(VM_LoadDescription(json.constData()), 0);
        const QString error = QString::fromUtf8(VM_LastError());
        QVERIFY2(error.contains(reason), qPrintable(error));
        // The world before is untouched, faults included.
        QCOMPARE(VM_MonitorCount(), 1);
        QCOMPARE(VM_GetHubFirmware(0), 288);
        VendorLink link;
        QVERIFY(link.handle() != nullptr);
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.exchange(bytes({0x82, 0x01, 0xC9, 0xFF}), 11), QByteArray(11, '\xFF'));
    }

    void noDescriptionAndNoFile() {
        QCOMPARE(VM_LoadDescription(nullptr), 0);
        QCOMPARE(VM_LoadDescriptionFile(nullptr), 0);
        QCOMPARE(VM_LoadDescriptionFile("/nonexistent/virtual-monitor.json"), 0);
        QVERIFY(QByteArray(VM_LastError()).contains("cannot read /nonexistent"));
        // Nothing lies beside the test program.
        QCOMPARE(QByteArray(VM_DescriptionPath()), QByteArray());
    }

    void deviceList_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QList<int>>("speeds");
        QTest::addColumn<QList<int>>("productIds");

        const QByteArray hubA = R"("hub": { "productIdSuperSpeed": 4097, "productIdUsb2": 4098 })";
        const QByteArray hubB =
            R"("hub": { "productIdSuperSpeed": 8193, "productIdUsb2": 8194, "superSpeed": false, "usb2Speed": 1 })";
        const QByteArray two = R"({ "monitors": [ { "scalar": { "model": "A" }, )" + hubA +
                               R"( }, { "scalar": { "model": "B" }, )" + hubB + " } ]";
        QTest::newRow("each monitor's sides in order")
            << QByteArray(two + " }") << QList<int>{3, 2, 1} << QList<int>{4097, 4098, 8194};
        QTest::newRow("listed devices with a stranger")
            << QByteArray(two + R"(, "devices": [ { "monitor": 1, "side": "usb2" },
                   { "speed": 3, "productIdSuperSpeed": 12288 },
                   { "monitor": 0, "side": "usb2" } ] })")
            << QList<int>{1, 3, 2} << QList<int>{8194, 12288, 4098};
        QTest::newRow("empty world") << QByteArray("{}") << QList<int>{} << QList<int>{};
        QTest::newRow("monitor without hub")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "A" } } ] })") << QList<int>{}
            << QList<int>{};
    }

    void deviceList() {
        QFETCH(QByteArray, json);
        QFETCH(QList<int>, speeds);
        QFETCH(QList<int>, productIds);
        QVERIFY(world::load(json));
        for (int i = 0; i < speeds.size(); ++i) {
            VendorLink link(static_cast<uint32_t>(i));
            QVERIFY(link.handle() != nullptr);
            uint32_t speed = 0;
            QCOMPARE(TvHub_Speed(link.handle(), &speed), 0);
            QCOMPARE(int(speed), speeds[i]);
            // The product id of the side the device shows.
            uint8_t status[16] = {};
            QCOMPARE(TvHub_Status(link.handle(), status, 16), 0);
            const int product =
                speed == 3 ? status[2] << 8 | status[3] : status[4] << 8 | status[5];
            QCOMPARE(product, productIds[i]);
        }
        uint32_t past = static_cast<uint32_t>(speeds.size());
        QCOMPARE(TvHub_Open(&past), nullptr);
        QCOMPARE(past, uint32_t(speeds.size()));
        uint32_t far = 29;
        QCOMPARE(TvHub_Open(&far), nullptr);
        QCOMPARE(TvHub_Open(nullptr), nullptr);
    }

    void identityBlockAndLocation() {
        QVERIFY(world::load(lm0420World()));
        VendorLink link(1);
        uint8_t status[20];
        std::fill(std::begin(status), std::end(status), 0xEE);
        QCOMPARE(TvHub_Status(link.handle(), status, 16), 0);
        const uint8_t expected[16] = {0x21, 0x09, 0x08, 0x11, 0x08, 0x12, 0, 0,
                                      0,    0,    0x01, 0x20, 0,    0,    0, 0};
        QVERIFY(std::equal(expected, expected + 16, status));
        QCOMPARE(status[16], uint8_t(0xEE));
        QVERIFY(TvHub_Status(link.handle(), status, 8) != 0);
        QVERIFY(TvHub_Status(link.handle(), nullptr, 16) != 0);

        uint32_t port = 0, parent = 0;
        QCOMPARE(TvHub_GetLocation(link.handle(), &port, &parent), 0);
        QCOMPARE(port, uint32_t(3));
        QCOMPARE(parent, uint32_t(1));
        QCOMPARE(TvHub_VdCmdEnable(link.handle(), 1), 0);
    }

    void handlesEndWithTheirWorld() {
        QVERIFY(world::load(lm0420World()));
        uint32_t index = 0;
        TvHubHandle first = TvHub_Open(&index);
        TvHubHandle second = TvHub_Open(&index);
        QVERIFY(first != nullptr && second != nullptr && first != second);
        QCOMPARE(TvHub_Close(first), 0);
        QVERIFY(TvHub_Close(first) != 0);
        uint32_t speed = 0;
        QVERIFY(TvHub_Speed(first, &speed) != 0);
        QCOMPARE(TvHub_Speed(second, &speed), 0);
        QVERIFY(world::load(lm0420World()));
        QVERIFY(TvHub_Speed(second, &speed) != 0);
        QVERIFY(TvHub_Close(second) != 0);
        QVERIFY(TvHub_Close(nullptr) != 0);
    }

    void requestLogLines() {
        QVERIFY(world::load(lm0420World()));
        {
            VendorLink link(0);
            uint32_t speed = 0;
            TvHub_Speed(link.handle(), &speed);
            link.configure();
            link.exchange(bytes({0x82, 0x01, 0xC9, 0xFF}), 11);
        }
        uint32_t none = 7;
        TvHub_Open(&none);
        const QStringList expected = {
            "Open 0",
            "Speed 0",
            "CtlPipeNoDataOut 40 F6 01 6E 80 80 00 00",
            "CtlPipeOut 40 C6 51 00 00 00 04 00 | 82 01 C9 FF",
            "CtlPipeIn C0 D6 51 00 00 00 0B 00 | 6E 88 02 00 C9 00 FF FF 12 03 6C",
            "Close 0",
            "Open 7 none",
        };
        QCOMPARE(requestLog(), expected);
        char cut[8];
        QCOMPARE(VM_GetRequest(2, cut, sizeof cut), int32_t(expected[2].size()));
        QCOMPARE(QByteArray(cut), QByteArray("CtlPipe"));
        QCOMPARE(VM_GetRequest(7, cut, sizeof cut), -1);
        VM_ClearRequestLog();
        QCOMPARE(VM_RequestCount(), 0);
    }

    void requestLogKeepsTheLatestLines() {
        QVERIFY(world::load(lm0420World()));
        for (uint32_t i = 0; i < 100005; ++i) {
            uint32_t index = 100 + i;
            TvHub_Open(&index);
        }
        QCOMPARE(VM_RequestCount(), 100000);
        char line[64];
        VM_GetRequest(0, line, sizeof line);
        QCOMPARE(QByteArray(line), QByteArray("Open 105 none"));
        VM_GetRequest(99999, line, sizeof line);
        QCOMPARE(QByteArray(line), QByteArray("Open 100104 none"));
    }

    void everyEntryPointBindsByName() {
        QLibrary library(QCoreApplication::applicationDirPath() + "/libTxHubLib.so");
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        QStringList missing;
#define CHECK_BOUND(name, type)                                                                    \
    if (library.resolve(#name) == nullptr)                                                         \
        missing << #name;
        TXHUB_FUNCTIONS(CHECK_BOUND)
#undef CHECK_BOUND
        QCOMPARE(missing, QStringList());
        // Nothing of the implementation leaks out.
        QVERIFY(library.resolve("_ZN2vm14VirtualMonitor8instanceEv") == nullptr);
        const auto unused = reinterpret_cast<TvHub_Unused_t>(library.resolve("TvHub_ReadEEPROM"));
        QCOMPARE(unused(), -1);
    }
};

QTEST_GUILESS_MAIN(WorldTest)
#include "WorldTest.moc"
