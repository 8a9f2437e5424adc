#include "TestDisplaySystem.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include "RecordingSleeper.h"
#include "discovery/MonitorInventory.h"

#include <QtTest>

namespace {

QStringList logged;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    logged << message;
}

// One display per EDID serial, each an LM0420.
void addMonitors(TestDisplaySystem& system, const QStringList& serials,
                 const QStringList& names = {}) {
    for (int i = 0; i < serials.size(); ++i)
        system.addDisplay({{names.value(i, "LM0420").toStdString(), serials[i].toStdString()}});
}

world::Monitor hub(const QString& serial, int firmware = 0x0120) {
    world::Monitor m;
    m.serial = serial;
    m.hubFirmware = firmware;
    return m;
}

QVector<int> pairedFlags(const discovery::MonitorInventory& inventory) {
    QVector<int> flags;
    for (const auto& monitor : inventory.monitors)
        flags << monitor.hubPaired;
    return flags;
}

} // namespace

class MonitorInventoryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        logged.clear();
        VM_ClearFaults();
    }

    void cloneDisplays() {
        QVERIFY(world::load(QList<world::Monitor>{}));
        TestDisplaySystem system;
        system.addDisplay({{"LM0420", "UP2160100001", true}, {"LM0420", "UP2160100002", false}});
        system.addDisplay({{"LM0530 SERIES", "UP2160100003"}}, -1, 10);
        system.addDisplay({{"LM0610", "UP2160100004"}});
        system.paths.pop_back(); // the third display has no path

        discovery::MonitorInventory inventory(system);
        QCOMPARE(inventory.refreshInventory(), 4);
        QCOMPARE(inventory.displays.size(), size_t(3));
        const auto& m = inventory.monitors;
        QCOMPARE(m.size(), size_t(4));

        // The clone display's two monitors share its fields; the j-th takes
        // the j-th device.
        for (int j = 0; j < 2; ++j) {
            QCOMPARE(int(m[j].single), 0);
            QVERIFY(m[j].deviceName == inventory.displays[0].deviceName);
            QCOMPARE(m[j].monitorRect.right, 1920);
            QCOMPARE(m[j].workRect.bottom, 1040);
            QCOMPARE(m[j].flags, edid::MonitorInfoPrimary);
            QCOMPARE(m[j].outputTechnology, 5);
        }
        QVERIFY(m[0].device.deviceId != m[1].device.deviceId);
        QCOMPARE(m[0].edid.serialNumber, std::string("UP2160100001"));
        QCOMPARE(m[1].edid.serialNumber, std::string("UP2160100002"));
        QCOMPARE(int(m[0].ddcResponds), 1);
        QCOMPARE(int(m[1].ddcResponds), 0);
        QCOMPARE(m[1].physicalMonitor, uintptr_t(0x1001));

        QCOMPARE(int(m[2].single), 1);
        QCOMPARE(m[2].outputTechnology, 10);
        QCOMPARE(m[2].edid.displayName, std::string("LM0530 SERIES"));
        QCOMPARE(m[3].outputTechnology, -1);
        QCOMPARE(m[3].monitorRect.left, 3840);
    }

    void moreMonitorsThanDevices() {
        QVERIFY(world::load(QList<world::Monitor>{}));
        TestDisplaySystem system;
        system.addDisplay({{"LM0420", "UP2160100001"}, {"LM0420", "UP2160100002"}}, 1);
        discovery::MonitorInventory inventory(system);
        QCOMPARE(inventory.refreshInventory(), 2);
        QCOMPARE(inventory.monitors[0].edid.serialNumber, std::string("UP2160100001"));
        QVERIFY(inventory.monitors[1].device.deviceId.empty());
        QCOMPARE(inventory.monitors[1].edid.serialNumber, std::string());
    }

    void pairingBySerial_data() {
        QTest::addColumn<QStringList>("edidSerials");
        QTest::addColumn<QStringList>("hubSerials");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QVector<int>>("paired");
        QTest::addColumn<int>("pairedCount");

        const QString s1 = "UP2160100001";
        const QString s2 = "UP2160100002";
        QTest::newRow("one hub") << QStringList{s1} << QStringList{s1} << "" << QVector<int>{1}
                                 << 1;
        QTest::newRow("second monitor")
            << QStringList{s2, s1} << QStringList{s1} << "" << QVector<int>{0, 1} << 1;
        QTest::newRow("two hubs, two monitors")
            << QStringList{s1, s2} << QStringList{s2, s1} << "" << QVector<int>{1, 1} << 2;
        QTest::newRow("two hubs with the same serial")
            << QStringList{s1} << QStringList{s1, s1} << "" << QVector<int>{1} << 2;
        QTest::newRow("same serial twice on both sides")
            << QStringList{s1, s1} << QStringList{s1, s1} << "" << QVector<int>{1, 0} << 2;
        QTest::newRow("13-character EDID serial")
            << QStringList{s1 + "X"} << QStringList{s1} << "" << QVector<int>{0} << 0;
        QTest::newRow("letter case differs")
            << QStringList{s1.toLower()} << QStringList{s1} << "" << QVector<int>{0} << 0;
        QTest::newRow("hub serial read fails, EDID serial empty")
            << QStringList{""} << QStringList{s1} << "refuseBusConfig" << QVector<int>{0} << 0;
        QTest::newRow("scalar without serial, EDID serial empty")
            << QStringList{""} << QStringList{""} << "" << QVector<int>{0} << 0;
        QTest::newRow("no hubs") << QStringList{s1} << QStringList{} << "" << QVector<int>{0} << 0;
    }

    void pairingBySerial() {
        QFETCH(QStringList, edidSerials);
        QFETCH(QStringList, hubSerials);
        QFETCH(QString, fault);
        QFETCH(QVector<int>, paired);
        QFETCH(int, pairedCount);

        RecordingSleeper sleeper;
        QList<world::Monitor> hubs;
        for (const auto& serial : hubSerials)
            hubs.append(hub(serial));
        QVERIFY(world::load(hubs));
        if (!fault.isEmpty())
            QVERIFY(world::fault(fault.toLatin1().constData(), 1));
        TestDisplaySystem system;
        addMonitors(system, edidSerials);

        discovery::MonitorInventory inventory(system);
        inventory.pairedCount = 7;
        QCOMPARE(inventory.refreshInventory(), edidSerials.size());
        QCOMPARE(inventory.hubs.size(), size_t(hubSerials.size()));
        QCOMPARE(pairedFlags(inventory), paired);
        QCOMPARE(inventory.pairedCount, pairedCount);
        for (const auto& monitor : inventory.monitors) {
            if (monitor.hubPaired) {
                QCOMPARE(monitor.hub.serialText, monitor.edid.serialNumber);
                QCOMPARE(monitor.hub.modelText, std::string("LM0420"));
                QCOMPARE(int(monitor.hub.usb3), 1);
            }
        }
    }

    void fallbackByModelName_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("hubFirmware");
        QTest::addColumn<QVector<int>>("paired");

        QTest::newRow("first of two known monitors")
            << QStringList{"LM0420", "LM0530 SERIES"} << 0x104 << QVector<int>{1, 0};
        QTest::newRow("unknown model passed over")
            << QStringList{"ACME 27", "LM0610"} << 0x104 << QVector<int>{0, 1};
        QTest::newRow("no known model")
            << QStringList{"ACME 27", "LM0420 "} << 0x104 << QVector<int>{0, 0};
        QTest::newRow("other hub firmware")
            << QStringList{"LM0420", "LM0530"} << 0x105 << QVector<int>{0, 0};
    }

    void fallbackByModelName() {
        QFETCH(QStringList, names);
        QFETCH(int, hubFirmware);
        QFETCH(QVector<int>, paired);

        RecordingSleeper sleeper;
        QVERIFY(world::load({hub("UP9999999999", hubFirmware)}));
        TestDisplaySystem system;
        addMonitors(system, {"UP2160100001", "UP2160100002"}, names);

        discovery::MonitorInventory inventory(system);
        QCOMPARE(inventory.refreshInventory(), 2);
        QCOMPARE(inventory.hubs.at(0).hubFirmware, hubFirmware);
        QCOMPARE(pairedFlags(inventory), paired);
        QCOMPARE(inventory.pairedCount, int(paired.count(1)));
        for (const auto& monitor : inventory.monitors) {
            // Flagged without a hub: its hub part keeps the new values.
            QCOMPARE(monitor.hub.serialText, std::string());
            QCOMPARE(monitor.hub.hubIndex, 0);
        }
    }

    void noDisplayEnumeration() {
        RecordingSleeper sleeper;
        QVERIFY(world::load({hub("UP2160100001")}));
        TestDisplaySystem system;
        addMonitors(system, {"UP2160100001"});
        system.enumerationFails = true;
        discovery::MonitorInventory inventory(system);
        inventory.pairedCount = 3;
        QCOMPARE(inventory.refreshInventory(), 0);
        QVERIFY(inventory.monitors.empty());
        QCOMPARE(inventory.hubs.size(), size_t(1));
        QCOMPARE(inventory.pairedCount, 0);
    }

    void logLines() {
        RecordingSleeper sleeper;
        QVERIFY(world::load({hub("UP2160100001", 0x0123)}));
        TestDisplaySystem system;
        addMonitors(system, {"UP2160100001"});
        discovery::MonitorInventory inventory(system);
        const auto previous = qInstallMessageHandler(recordMessage);
        inventory.refreshInventory();
        qInstallMessageHandler(previous);

        const QString all = logged.join('\n');
        QVERIFY2(logged.filter(QRegularExpression("^Monitor +0 .*: 0xDF = 514 +Handle: 0x1000$"))
                         .size() == 1,
                 qPrintable(all));
        QVERIFY2(logged.contains("X  2560  Y 1440 : SerialNumber = \"UP2160100001\""),
                 qPrintable(all));
        QVERIFY2(logged.contains("Total Monitor: 1"), qPrintable(all));
        QVERIFY2(logged.filter(QRegularExpression("^Hub +0 : \"LM0420\" +USB3.0 +1 +SN: +"
                                                  "\"UP2160100001\" +Hub FW: 123$"))
                         .size() == 1,
                 qPrintable(all));
    }
};

QTEST_GUILESS_MAIN(MonitorInventoryTest)
#include "MonitorInventoryTest.moc"
