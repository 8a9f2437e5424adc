#include "VirtualWorld.h"

#include "RecordingSleeper.h"
#include "discovery/MonitorInventory.h"
#include "platform/Platform.h"

#include <QtTest>

// The inventory as the demo runs it: displays and monitors from the
// simulated platform, hubs from the real bridge, both over one virtual
// monitor world.
class SimulatedInventoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        platform_ = platform::makeSimulatedPlatform();
        platform::setCurrent(platform_.get());
    }

    void cleanupTestCase() { platform::setCurrent(nullptr); }

    void pairsMonitorsWithTheirHubs() {
        RecordingSleeper sleeper;
        world::Monitor first;
        world::Monitor withoutHub;
        withoutHub.model = QStringLiteral("LM0530");
        withoutHub.displayName = QStringLiteral("LM0530 SERIES");
        withoutHub.serial = QStringLiteral("UP2160100002");
        withoutHub.hub = false;
        withoutHub.outputTechnology = 10;
        withoutHub.ddc = false;
        world::Monitor third;
        third.serial = QStringLiteral("UP2160100003");
        // Two monitors of one model share a hardware ID: each must still
        // get its own EDID.
        QVERIFY(world::load({first, withoutHub, third}));

        discovery::MonitorInventory inventory;
        QCOMPARE(inventory.refreshInventory(), 3);
        QCOMPARE(inventory.displays.size(), size_t(3));
        QCOMPARE(inventory.hubs.size(), size_t(2));
        QCOMPARE(inventory.pairedCount, 2);

        const auto& m = inventory.monitors;
        QCOMPARE(m[0].edid.serialNumber, std::string("UP2160100001"));
        QCOMPARE(m[1].edid.serialNumber, std::string("UP2160100002"));
        QCOMPARE(m[2].edid.serialNumber, std::string("UP2160100003"));
        QCOMPARE(m[0].edid.displayName, std::string("LM0420"));
        QCOMPARE(m[1].edid.displayName, std::string("LM0530 SERIES"));
        QCOMPARE(m[0].edid.hardwareKeyPath, m[2].edid.hardwareKeyPath);
        QCOMPARE(QString::fromStdString(m[0].edid.hardwareKeyPath),
                 QString("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\NVL0000"));

        QCOMPARE(m[0].outputTechnology, 5);
        QCOMPARE(m[1].outputTechnology, 10);
        QCOMPARE(int(m[0].ddcResponds), 1);
        QCOMPARE(int(m[1].ddcResponds), 0);
        QCOMPARE(int(m[0].single), 1);

        QCOMPARE(int(m[0].hubPaired), 1);
        QCOMPARE(int(m[1].hubPaired), 0);
        QCOMPARE(int(m[2].hubPaired), 1);
        QCOMPARE(m[0].hub.serialText, std::string("UP2160100001"));
        QCOMPARE(m[0].hub.modelText, std::string("LM0420"));
        QCOMPARE(int(m[0].hub.usb3), 1);
        QVERIFY(m[0].hub.hubIndex != m[2].hub.hubIndex);
        QCOMPARE(inventory.hubs[0].hubFirmware, 0x0120);
    }

    void emptyWorld() {
        QVERIFY(world::load(QList<world::Monitor>{}));
        discovery::MonitorInventory inventory;
        QCOMPARE(inventory.refreshInventory(), 0);
        QVERIFY(inventory.displays.empty());
        QVERIFY(inventory.hubs.empty());
        QCOMPARE(inventory.pairedCount, 0);
    }

private:
    std::unique_ptr<platform::Platform> platform_;
};

QTEST_GUILESS_MAIN(SimulatedInventoryTest)
#include "SimulatedInventoryTest.moc"
