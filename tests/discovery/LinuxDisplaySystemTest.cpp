#include "EdidBuilder.h"

#include "RecordingSleeper.h"
#include "platform/linux/DdcCiProbe.h"
#include "platform/linux/DrmConnectors.h"
#include "platform/linux/LinuxDisplaySystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// A sysfs and a /dev tree as the kernel shows them, made in a folder.
class FakeMachine {
public:
    FakeMachine() { QDir(dir.path()).mkpath("dev"); }

    std::string sys() const { return (dir.path() + "/sys").toStdString(); }
    std::string dev() const { return (dir.path() + "/dev").toStdString(); }

    QString connector(const QString& name, const QString& status, const Bytes& edid = {},
                      const QString& modes = {}) {
        const QString path = dir.path() + "/sys/class/drm/" + name;
        QDir().mkpath(path);
        write(path + "/status", (status + "\n").toUtf8());
        write(path + "/edid", QByteArray(reinterpret_cast<const char*>(edid.data()),
                                         static_cast<int>(edid.size())));
        if (!modes.isEmpty())
            write(path + "/modes", modes.toUtf8());
        return path;
    }

    void ddcLink(const QString& connectorPath, int bus) {
        std::filesystem::create_symlink(
            ("../../../../devices/pci0000:00/0000:00:02.0/i2c-" + QString::number(bus))
                .toStdString(),
            (connectorPath + "/ddc").toStdString());
    }

    void busDevice(int bus) { write(dir.path() + "/dev/i2c-" + QString::number(bus), {}); }

    static void write(const QString& file, const QByteArray& data) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(data);
    }

    QTemporaryDir dir;
};

Bytes edidOf(const std::string& name, const std::string& serial, int width = 2560,
             int height = 1440) {
    EdidBuilder builder;
    builder.displayName = name;
    builder.serial = serial;
    builder.horizontal = width;
    builder.vertical = height;
    return builder.build();
}

Bytes reply(std::initializer_list<uint8_t> first10) {
    Bytes bytes(first10);
    uint8_t check = 0x50;
    for (uint8_t b : bytes)
        check ^= b;
    bytes.push_back(check);
    return bytes;
}

} // namespace

class LinuxDisplaySystemTest : public QObject {
    Q_OBJECT

private slots:
    void outputTechnology_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("technology");
        QTest::newRow("HDMI-A") << "card0-HDMI-A-1" << 5;
        QTest::newRow("DP") << "card0-DP-3" << 10;
        QTest::newRow("DP, two-digit numbers") << "card12-DP-10" << 10;
        QTest::newRow("eDP") << "card1-eDP-1" << 11;
        QTest::newRow("DVI-D") << "card0-DVI-D-1" << 4;
        QTest::newRow("VGA") << "card0-VGA-1" << 0;
        QTest::newRow("LVDS") << "card0-LVDS-1" << -1;
        QTest::newRow("Virtual") << "card0-Virtual-1" << -1;
        QTest::newRow("DP lookalike") << "card0-DPI-1" << -1;
    }

    void outputTechnology() {
        QFETCH(QString, name);
        QFETCH(int, technology);
        QCOMPARE(platform::outputTechnologyOfConnector(name.toStdString()), technology);
    }

    void connectedConnectorsAreDisplays() {
        RecordingSleeper sleeper;
        FakeMachine machine;
        QDir().mkpath(machine.dir.path() + "/sys/class/drm/card0");
        QDir().mkpath(machine.dir.path() + "/sys/class/drm/renderD128");
        const QString hdmi =
            machine.connector("card0-HDMI-A-1", "connected", edidOf("LM0420", "UP2160100001"),
                              "3840x2160\n2560x1440\n1920x1080\n");
        machine.ddcLink(hdmi, 3);
        machine.busDevice(3); // a plain file: no I2C adapter behind it
        const QString dp = machine.connector("card0-DP-1", "connected",
                                             edidOf("LM0530 SERIES", "UP3A00000001", 1920, 1200));
        QDir().mkpath(dp + "/i2c-7");
        machine.connector("card0-DP-2", "disconnected");
        machine.connector("card0-Writeback-1", "unknown");

        platform::LinuxDisplaySystem system(machine.sys(), machine.dev());
        const auto paths = system.queryDisplayPaths();
        QCOMPARE(paths.size(), size_t(2));
        QVERIFY(paths[0].sourceDeviceName == u"card0-DP-1");
        QCOMPARE(paths[0].outputTechnology, 10);
        QVERIFY(paths[0].targetFriendlyName == u"LM0530 SERIES");
        QVERIFY(paths[1].sourceDeviceName == u"card0-HDMI-A-1");
        QCOMPARE(paths[1].outputTechnology, 5);

        std::vector<edid::DisplayRecord> displays;
        QVERIFY(system.enumerateDisplays(displays));
        QCOMPARE(displays.size(), size_t(2));
        // No modes file: the EDID's first timing gives the size.
        QCOMPARE(displays[0].width, 1920);
        QCOMPARE(displays[0].height, 1200);
        QCOMPARE(displays[0].flags, edid::MonitorInfoPrimary);
        QCOMPARE(displays[1].width, 3840);
        QCOMPARE(displays[1].height, 2160);
        QCOMPARE(displays[1].flags, 0u);
        QCOMPARE(displays[1].monitorRect.left, 1920);
        QCOMPARE(displays[1].monitorRect.right, 1920 + 3840);

        const auto devices = system.activeMonitorDevices(displays[1]);
        QCOMPARE(devices.size(), size_t(1));
        QVERIFY(devices[0].stateFlags & edid::DisplayDeviceActive);
        QCOMPARE(edid::narrowDeviceId(devices[0].deviceId),
                 std::string("MONITOR\\NVL0420\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\"
                             "card0-HDMI-A-1"));

        const auto edid = system.readEdid(devices[0]);
        QCOMPARE(edid.displayName, std::string("LM0420"));
        QCOMPARE(edid.serialNumber, std::string("UP2160100001"));
        QCOMPARE(edid.deviceId, edid::narrowDeviceId(devices[0].deviceId));

        const auto hdmiMonitors = system.physicalMonitors(displays[1]);
        QCOMPARE(hdmiMonitors.size(), size_t(1));
        QCOMPARE(hdmiMonitors[0].handle, uintptr_t(3));
        QVERIFY(!hdmiMonitors[0].ddcResponds);
        const auto dpMonitors = system.physicalMonitors(displays[0]);
        QCOMPARE(dpMonitors.size(), size_t(1));
        QCOMPARE(dpMonitors[0].handle, uintptr_t(7)); // bus device missing altogether
        QVERIFY(!dpMonitors[0].ddcResponds);
        QVERIFY(sleeper.waits.empty());
    }

    void edidIsReadOnlyUnderTheSysfsRoot() {
        FakeMachine machine;
        FakeMachine elsewhere;
        const QString outside =
            elsewhere.connector("card0-HDMI-A-1", "connected", edidOf("LM0610", "X"));
        platform::LinuxDisplaySystem system(machine.sys(), machine.dev());
        edid::DisplayDevice device;
        device.deviceKey = edid::widenBytes(outside.toStdString());
        QCOMPARE(system.readEdid(device).displayName, std::string());
    }

    void noDisplays_data() {
        QTest::addColumn<bool>("withDrmClass");
        QTest::newRow("no DRM class") << false;
        QTest::newRow("only disconnected connectors") << true;
    }

    void noDisplays() {
        QFETCH(bool, withDrmClass);
        FakeMachine machine;
        if (withDrmClass)
            machine.connector("card0-HDMI-A-1", "disconnected");
        platform::LinuxDisplaySystem system(machine.sys(), machine.dev());
        std::vector<edid::DisplayRecord> displays;
        QVERIFY(system.enumerateDisplays(displays));
        QVERIFY(displays.empty());
        QVERIFY(system.queryDisplayPaths().empty());
    }

    void thisMachine() {
        RecordingSleeper sleeper;
        platform::LinuxDisplaySystem system("/sys", "/dev");
        std::vector<edid::DisplayRecord> displays;
        QVERIFY(system.enumerateDisplays(displays));
        QCOMPARE(system.queryDisplayPaths().size(), displays.size());
        if (!QDir("/sys/class/drm").exists())
            QVERIFY(displays.empty());
    }

    void vcpRequest() {
        const auto request = platform::getVcpRequest(0x10);
        QCOMPARE(Bytes(request.begin(), request.end()), (Bytes{0x51, 0x82, 0x01, 0x10, 0xAC}));
    }

    void vcpReplies_data() {
        QTest::addColumn<Bytes>("reply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("current");
        QTest::newRow("version 2.2")
            << reply({0x6E, 0x88, 0x02, 0x00, 0xDF, 0x00, 0xFF, 0xFF, 0x02, 0x02}) << true
            << 0x0202;
        Bytes badCheck = reply({0x6E, 0x88, 0x02, 0x00, 0xDF, 0x00, 0xFF, 0xFF, 0x02, 0x02});
        badCheck[10] ^= 0x01;
        QTest::newRow("check byte wrong") << badCheck << false << 0;
        QTest::newRow("unsupported code")
            << reply({0x6E, 0x88, 0x02, 0x01, 0xDF, 0x00, 0x00, 0x00, 0x00, 0x00}) << false << 0;
        QTest::newRow("answer for another code")
            << reply({0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x32}) << false << 0;
        QTest::newRow("null message")
            << reply({0x6E, 0x80, 0xBE, 0, 0, 0, 0, 0, 0, 0}) << false << 0;
        QTest::newRow("short") << Bytes{0x6E, 0x88, 0x02} << false << 0;
    }

    void vcpReplies() {
        QFETCH(Bytes, reply);
        QFETCH(bool, ok);
        QFETCH(int, current);
        const auto reading = platform::parseVcpReply(reply.data(), reply.size(), 0xDF);
        QCOMPARE(reading.ok, ok);
        QCOMPARE(int(reading.current), current);
    }
};

QTEST_GUILESS_MAIN(LinuxDisplaySystemTest)
#include "LinuxDisplaySystemTest.moc"
