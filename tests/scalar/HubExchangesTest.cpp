#include "scalar/HubExchanges.h"
#include "Hubbridge.h"
#include "RecordingSleeper.h"
#include "VirtualWorld.h"

#include <QtTest>

namespace {
const QString kSplitModel = QStringLiteral("(prot(monitor)type(lcd)model(LM0530)cmds(01 02 03))");
const QString kNoModel =
    QStringLiteral("(prot(monitor)type(lcd)cmds(01 02 03 0C E3 F3)vcp(02 04 05 08 10 12 14))");

int capabilitiesRequests() {
    int count = 0;
    for (const QByteArray& frame : world::writes())
        if (frame.size() == 5 && uint8_t(frame[1]) == 0xF3)
            ++count;
    return count;
}

// Fragments of 26 characters; the last one shorter, or empty when the
// text fills its fragments.
int fragmentsOf(const QString& text) {
    return text.size() / 26 + 1;
}
} // namespace

class HubExchangesTest : public QObject {
    Q_OBJECT

    RecordingSleeper sleeper;

private slots:
    void init() { sleeper.clear(); }

    void modelText_data() {
        QTest::addColumn<QString>("capabilities");
        QTest::addColumn<int>("wrongOffsets");
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("reads");
        QTest::newRow("entry split over two fragments") << kSplitModel << 0 << "LM0530" << 2;
        QTest::newRow("no model entry") << kNoModel << 0 << "" << fragmentsOf(kNoModel);
        const QString empty = QStringLiteral("(type(lcd)model()cmds(01 02)vcp(02 04 05 08 10 12))");
        QTest::newRow("empty model entry") << empty << 0 << "" << fragmentsOf(empty);
        QTest::newRow("wrong offsets asked again") << kSplitModel << 3 << "LM0530" << 5;
        QTest::newRow("wrong offsets past the read limit") << kSplitModel << 30 << "" << 21;
    }
    void modelText() {
        QFETCH(QString, capabilities);
        QFETCH(int, wrongOffsets);
        QFETCH(QString, model);
        QFETCH(int, reads);
        world::Monitor spec;
        spec.capabilities = capabilities;
        QVERIFY(world::load({spec}));
        QVERIFY(world::fault("wrongOffsetFragments", wrongOffsets));

        scalar::HubRecord hub;
        QVERIFY(scalar::readModelText(hub));
        QCOMPARE(QString::fromStdString(hub.modelText), model);
        QCOMPARE(capabilitiesRequests(), reads);
        // Each request waits before its read, and nothing else is waited.
        QCOMPARE(sleeper.waits, std::vector<unsigned long>(std::size_t(reads), 100));
        QCOMPARE(GetfwVersion(), 0);
    }

    void capabilitiesRequestAfterBusConfiguration() {
        QVERIFY(world::load({world::Monitor{}}));
        scalar::HubRecord hub;
        QVERIFY(scalar::readModelText(hub));
        const auto requests = world::requests();
        int configAt = -1;
        int firstWriteAt = -1;
        for (int i = 0; i < requests.size(); ++i) {
            const QByteArray& setup = requests[i].setup;
            if (configAt < 0 && setup.startsWith(world::bytes({0x40, 0xF6})))
                configAt = i;
            if (firstWriteAt < 0 && setup.startsWith(world::bytes({0x40, 0xC6})))
                firstWriteAt = i;
        }
        QVERIFY(configAt >= 0);
        QVERIFY(configAt < firstWriteAt);
        // Memory-address length 1 and slave 0x6E in the value, speed 0.
        QCOMPARE(requests[configAt].setup,
                 world::bytes({0x40, 0xF6, 0x01, 0x6E, 0x80, 0x80, 0x00, 0x00}));
        // Register address 0x51, five bytes.
        QCOMPARE(requests[firstWriteAt].setup,
                 world::bytes({0x40, 0xC6, 0x51, 0x00, 0x00, 0x00, 0x05, 0x00}));
        QCOMPARE(requests[firstWriteAt].data, world::bytes({0x83, 0xF3, 0x00, 0x00, 0xFF}));
    }

    // A string without end: 1024 characters (40 fragments of 26), 48 reads
    // in all, or a mismatch after 20 reads end the reading.
    void endlessCapabilitiesStayBounded_data() {
        QTest::addColumn<int>("wrongOffsets");
        QTest::addColumn<int>("requests");
        QTest::newRow("1024 characters") << 0 << 40;
        QTest::newRow("48 reads") << 20 << 48;
        QTest::newRow("a mismatch past 20 reads") << 21 << 21;
    }
    void endlessCapabilitiesStayBounded() {
        QFETCH(int, wrongOffsets);
        QFETCH(int, requests);
        world::Monitor spec;
        spec.capabilities = QString(4000, QLatin1Char('x'));
        QVERIFY(world::load({spec}));
        QVERIFY(world::fault("wrongOffsetFragments", wrongOffsets));
        scalar::HubRecord hub;
        scalar::readModelText(hub);
        QVERIFY(hub.modelText.empty());
        QCOMPARE(capabilitiesRequests(), requests);
    }

    void serialText_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("twelve characters") << "UP2160100001" << QByteArray("UP2160100001");
        QTest::newRow("short serial keeps its zero bytes")
            << "UP21" << QByteArray("UP21\0\0\0\0\0\0\0\0", 12);
    }
    void serialText() {
        QFETCH(QString, serial);
        QFETCH(QByteArray, expected);
        world::Monitor spec;
        spec.serial = serial;
        QVERIFY(world::load({spec}));
        scalar::HubRecord hub;
        QVERIFY(scalar::readSerialText(hub));
        QCOMPARE(QByteArray::fromStdString(hub.serialText), expected);
        QCOMPARE(world::writes().value(0), world::bytes({0x82, 0xF1, 0x44, 0xFF}));
        QCOMPARE(sleeper.waits, std::vector<unsigned long>{100});
        QCOMPARE(GetfwVersion(), 0);
    }

    void serialTextOfVanishedHub() {
        QVERIFY(world::load({world::Monitor{}}));
        // The request goes out, the read finds no hub.
        QVERIFY(world::fault("hubGoneAfterTransfers", 1));
        scalar::HubRecord hub;
        QVERIFY(!scalar::readSerialText(hub));
        QVERIFY(hub.serialText.empty());
    }

    void refusedBusLeavesDefaults() {
        QVERIFY(world::load({world::Monitor{}}));
        QVERIFY(world::fault("refuseBusConfig", 1));
        scalar::HubRecord hub;
        QVERIFY(!scalar::readModelText(hub));
        QVERIFY(!scalar::readSerialText(hub));
        QVERIFY(hub.modelText.empty());
        QVERIFY(hub.serialText.empty());
        QVERIFY(world::writes().isEmpty());
        QCOMPARE(GetfwVersion(), 0);
    }

    void hubFirmware_data() {
        QTest::addColumn<int>("firmware");
        QTest::addColumn<bool>("refuseBus");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("configurations");
        QTest::newRow("bus configured") << 0x0120 << false << true << 0x0120 << 1;
        QTest::newRow("0x0104 skips the bus") << 0x0104 << false << true << 0x0104 << 0;
        QTest::newRow("bus refused") << 0x0120 << true << false << 0 << 1;
        QTest::newRow("0x0104 with a refusing bus") << 0x0104 << true << true << 0x0104 << 0;
        QTest::newRow("version 0 read is success") << 0 << false << true << 0 << 1;
    }
    void hubFirmware() {
        QFETCH(int, firmware);
        QFETCH(bool, refuseBus);
        QFETCH(bool, ok);
        QFETCH(int, stored);
        QFETCH(int, configurations);
        world::Monitor spec;
        spec.hubFirmware = firmware;
        QVERIFY(world::load({spec}));
        QVERIFY(world::fault("refuseBusConfig", refuseBus ? 1 : 0));
        scalar::HubRecord hub;
        QCOMPARE(scalar::readHubFirmware(hub), ok);
        QCOMPARE(hub.hubFirmware, stored);
        QCOMPARE(world::configurations().size(), configurations);
        QCOMPARE(GetfwVersion(), 0);
    }

    void hubFirmwareOfMissingHub() {
        world::Monitor spec;
        spec.hub = false;
        QVERIFY(world::load({spec}));
        scalar::HubRecord hub;
        QVERIFY(!scalar::readHubFirmware(hub));
        QCOMPARE(hub.hubFirmware, 0);
    }
};

QTEST_GUILESS_MAIN(HubExchangesTest)
#include "HubExchangesTest.moc"
