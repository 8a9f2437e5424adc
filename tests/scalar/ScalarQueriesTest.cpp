#include "scalar/ScalarQueries.h"
#include "Hubbridge.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"
#include "scalar/EdidAreaTransfer.h"

#include <QtTest>

#include <numeric>

using Waits = std::vector<unsigned long>;

namespace {

constexpr int kArea = 0x0500;

class CountingReporter : public scalar::ConnectionReporter {
public:
    void showHubNotDetected() override { ++notices; }
    int notices = 0;
};

std::vector<uint8_t> pattern(std::size_t size, int seed) {
    std::vector<uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>((i * 7 + static_cast<std::size_t>(seed)) & 0xFF);
    return data;
}

world::Monitor monitorWithArea() {
    world::Monitor spec;
    spec.memoryAddress = kArea;
    spec.memory = pattern(256, 1);
    return spec;
}

QList<QByteArray> framesWith(uint8_t opcode, uint8_t subcommand) {
    QList<QByteArray> list;
    for (const QByteArray& frame : world::writes())
        if (frame.size() >= 3 && uint8_t(frame[1]) == opcode && uint8_t(frame[2]) == subcommand)
            list.append(frame);
    return list;
}

// The operations a window runs, by name, each reduced to success or not.
enum class Op { HubFirmware, ModelName, ScalarFirmware, ScalarFirmwareQuiet, Reset, Read, Write };

} // namespace

Q_DECLARE_METATYPE(Op)

class ScalarQueriesTest : public QObject {
    Q_OBJECT

    RecordingSleeper sleeper;
    ScriptedDialogs dialogs;
    CountingReporter reporter;
    int hubIndex = -1;
    const int scalarAddress = 0x51;
    scalar::ScalarQueries queries{hubIndex, scalarAddress, reporter};

    bool run(Op op) {
        int a = -1;
        int b = -1;
        switch (op) {
        case Op::HubFirmware:
            return queries.queryHubFirmware(a);
        case Op::ModelName:
            return !queries.queryModelName().empty();
        case Op::ScalarFirmware:
            return queries.queryScalarFirmware(a, b, true);
        case Op::ScalarFirmwareQuiet:
            return queries.queryScalarFirmware(a, b, false);
        case Op::Reset:
            return queries.resetScalarSettings();
        case Op::Read:
            return queries.readEdidArea(kArea).complete;
        case Op::Write:
            return queries.writeEdidArea(kArea, pattern(256, 9));
        }
        return false;
    }

private slots:
    void init() {
        sleeper.clear();
        dialogs.clear();
        reporter.notices = 0;
        hubIndex = -1;
    }

    void hubNotDetectedText() {
        // The host belongs to the deployment; the rest is the program's own.
        const QString faq = QStringLiteral("http://" PANELUP_SUPPORT_HOST "/support/faq");
        QCOMPARE(scalar::hubNotDetectedText().english(),
                 "<img width=20 height=20 src=\":/Panelup/cross_mark\"> The detection of USB Hub "
                 "is not configured correctly. Please ensure the monitor is powered on and "
                 "connected properly. Please also close and restart the application, then unplug "
                 "& replug the USB cable to retry again. <a href=\"" +
                     faq + "\">" + faq + "</a>");
    }

    void connectionFailures_data() {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("notices");
        QTest::addColumn<bool>("ok");
        const QString speed = QStringLiteral("Set Hub Speed failed!!!");
        const struct {
            const char* name;
            Op op;
            bool reports;
        } ops[] = {{"hub firmware", Op::HubFirmware, true},
                   {"model name", Op::ModelName, true},
                   {"scalar firmware", Op::ScalarFirmware, true},
                   {"scalar firmware quiet", Op::ScalarFirmwareQuiet, false},
                   {"reset", Op::Reset, true},
                   {"EDID read", Op::Read, false},
                   {"EDID write", Op::Write, false}};
        for (const auto& o : ops) {
            QTest::addRow("%s, no hub", o.name)
                << o.op << "noHub" << QString() << (o.reports ? 1 : 0) << false;
            if (o.op == Op::HubFirmware) {
                // The hub's version needs no bus.
                QTest::addRow("%s, bus refused", o.name)
                    << o.op << "busRefused" << QString() << 0 << true;
            } else {
                QTest::addRow("%s, bus refused", o.name)
                    << o.op << "busRefused" << (o.reports ? speed : QString()) << 0 << false;
            }
        }
    }
    void connectionFailures() {
        QFETCH(Op, op);
        QFETCH(QString, failure);
        QFETCH(QString, box);
        QFETCH(int, notices);
        QFETCH(bool, ok);
        world::Monitor spec = monitorWithArea();
        spec.hub = failure != "noHub";
        QVERIFY(world::load({spec}));
        if (failure == "busRefused")
            QVERIFY(world::fault("refuseBusConfig", 1));

        QCOMPARE(run(op), ok);
        QCOMPARE(reporter.notices, notices);
        if (box.isEmpty()) {
            QVERIFY(dialogs.shown.isEmpty());
        } else {
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(dialogs.shown[0].icon, seams::DialogIcon::Warning);
            QCOMPARE(dialogs.shown[0].title, QStringLiteral("Fatal Error"));
            QCOMPARE(dialogs.shown[0].text, box);
        }
        // Nothing reaches the scalar when the connection failed.
        if (!ok)
            QVERIFY(world::writes().isEmpty());
        QCOMPARE(world::memory(0, kArea, 256), pattern(256, 1));
    }

    void lastAnsweringHubIsChosen() {
        world::Monitor first;
        world::Monitor second;
        second.model = "LM0530";
        second.serial = "UP2160100002";
        second.capabilities = "(prot(monitor)type(lcd)model(LM0530))";
        QVERIFY(world::load({first, second}));
        QCOMPARE(QString::fromStdString(queries.queryModelName()), QStringLiteral("LM0530"));
        QVERIFY(hubIndex > 0);
    }

    void hubAfterOneWhoseLocationFails() {
        world::Monitor first;
        first.model = "LM0530";
        first.capabilities = "(model(LM0530))";
        QVERIFY(world::load({first, world::Monitor{}}));
        QVERIFY(world::fault("failLocationAtIndex", 1));
        QCOMPARE(QString::fromStdString(queries.queryModelName()), QStringLiteral("LM0420"));
        QVERIFY(hubIndex > 0);
    }

    void firstIndexWhenNoHubAnswers() {
        world::Monitor second;
        second.model = "LM0530";
        second.capabilities = "(model(LM0530))";
        QVERIFY(world::load({world::Monitor{}, second}));
        QVERIFY(world::fault("failLocation", 1));
        QCOMPARE(QString::fromStdString(queries.queryModelName()), QStringLiteral("LM0420"));
        QCOMPARE(hubIndex, 0);
    }

    void deviceLeftOpenIsClosedByNextProbe() {
        QVERIFY(world::load({world::Monitor{}}));
        QCOMPARE(QString::fromStdString(queries.queryModelName()), QStringLiteral("LM0420"));
        QVERIFY(GetfwVersion() != 0);
        int version = 0;
        QVERIFY(queries.queryHubFirmware(version));
        QCOMPARE(version, 0x0120);
        QCOMPARE(GetfwVersion(), 0);
        QVERIFY(queries.resetScalarSettings());
        QVERIFY(GetfwVersion() != 0);
        int major = 0;
        int minor = 0;
        QVERIFY(queries.queryScalarFirmware(major, minor, true));
        QCOMPARE(GetfwVersion(), 0);
    }

    void modelName_data() {
        QTest::addColumn<QString>("capabilities");
        QTest::addColumn<int>("wrongOffsets");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("reads");
        QTest::addColumn<int>("waits");
        const QString split = "(prot(monitor)type(lcd)model(LM0530)cmds(01 02 03))";
        const QString none = "(prot(monitor)type(lcd)cmds(01 02 03 0C E3 F3))";
        QTest::newRow("split entry") << split << 0 << "LM0530" << 2 << 2;
        // The last fragment comes whole: 21 characters and 5 bytes of padding.
        QTest::newRow("no entry gives the whole text")
            << none << 0 << none + QString(5, QChar(0)) << 2 << 2;
        // A mismatch costs one more wait before the request is sent again.
        QTest::newRow("wrong offsets asked again") << split << 2 << "LM0530" << 4 << 6;
        QTest::newRow("wrong offsets past the limit") << split << 30 << "" << 21 << 41;
    }
    void modelName() {
        QFETCH(QString, capabilities);
        QFETCH(int, wrongOffsets);
        QFETCH(QString, result);
        QFETCH(int, reads);
        QFETCH(int, waits);
        world::Monitor spec;
        spec.capabilities = capabilities;
        QVERIFY(world::load({spec}));
        QVERIFY(world::fault("wrongOffsetFragments", wrongOffsets));
        const std::string text = queries.queryModelName();
        QCOMPARE(QByteArray::fromStdString(text), result.toLatin1());
        QCOMPARE(world::reads(), reads);
        QCOMPARE(sleeper.waits, Waits(std::size_t(waits), 100));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void scalarFirmware_data() {
        QTest::addColumn<int>("corrupt");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Waits>("waits");
        QTest::newRow("first answer") << 0 << true << Waits{100};
        QTest::newRow("two refused") << 2 << true << Waits{100, 100, 100, 200, 100};
        QTest::newRow("all refused")
            << 5 << false << Waits{100, 100, 100, 200, 100, 300, 100, 400, 100, 500};
    }
    void scalarFirmware() {
        QFETCH(int, corrupt);
        QFETCH(bool, ok);
        QFETCH(Waits, waits);
        QVERIFY(world::load({world::Monitor{}}));
        QVERIFY(world::fault("corruptReplies", corrupt));
        int major = -1;
        int minor = -1;
        QCOMPARE(queries.queryScalarFirmware(major, minor, true), ok);
        QCOMPARE(major, ok ? 0x12 : -1);
        QCOMPARE(minor, ok ? 3 : -1);
        QCOMPARE(sleeper.waits, waits);
        for (const QByteArray& frame : world::writes())
            QCOMPARE(frame, world::bytes({0x82, 0x01, 0xC9, 0xFF}));
        QCOMPARE(GetfwVersion(), 0);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void factoryReset() {
        QVERIFY(world::load({world::Monitor{}}));
        QVERIFY(queries.resetScalarSettings());
        QCOMPARE(world::writes(),
                 QList<QByteArray>{world::bytes({0x84, 0x03, 0x04, 0x00, 0x01, 0xFF})});
        QCOMPARE(VM_FactoryResetCount(0), 1);
        QVERIFY(sleeper.waits.empty());
        QCOMPARE(world::reads(), 0);
    }

    void readArea_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("reads");
        QTest::newRow("clean") << "" << 0 << true << 10;
        QTest::newRow("corrupt replies retried") << "corruptReplies" << 4 << true << 14;
        QTest::newRow("dropped replies retried") << "dropReplies" << 4 << true << 14;
        QTest::newRow("corrupt chunk gives up") << "corruptReplies" << 5 << false << 5;
        QTest::newRow("wrong length byte gives up") << "dropReplies" << 5 << false << 5;
    }
    void readArea() {
        QFETCH(QString, fault);
        QFETCH(int, count);
        QFETCH(bool, complete);
        QFETCH(int, reads);
        QVERIFY(world::load({monitorWithArea()}));
        if (!fault.isEmpty())
            QVERIFY(world::fault(fault.toLatin1().constData(), count));

        const scalar::EdidAreaRead area = queries.readEdidArea(kArea);
        QCOMPARE(area.complete, complete);
        QCOMPARE(area.bytes.size(), std::size_t(256));
        QCOMPARE(area.bytes, complete ? pattern(256, 1) : std::vector<uint8_t>(256, 0));
        QCOMPARE(world::reads(), reads);
        QCOMPARE(sleeper.waits, Waits(std::size_t(reads), 100));
        QCOMPARE(GetfwVersion(), 0);
    }

    void readAreaChunks() {
        QVERIFY(world::load({monitorWithArea()}));
        QVERIFY(queries.readEdidArea(kArea).complete);
        QList<QByteArray> expected;
        for (int i = 0; i < 9; ++i)
            expected << world::bytes(
                {0x85, 0xC0, 0x09, 27, (kArea + 27 * i) >> 8, (kArea + 27 * i) & 0xFF, 0xFF});
        expected << world::bytes(
            {0x85, 0xC0, 0x09, 13, (kArea + 243) >> 8, (kArea + 243) & 0xFF, 0xFF});
        QCOMPARE(world::writes(), expected);
        // Reads of 32 bytes, the last of 18.
        int lastLength = 0;
        for (const auto& r : world::requests())
            if (r.setup.startsWith(world::bytes({0xC0, 0xD6})))
                lastLength = uint8_t(r.setup[6]);
        QCOMPARE(lastLength, 18);
    }

    void writeArea_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("chunks");
        QTest::newRow("256 bytes") << 256 << QList<int>{32, 32, 32, 32, 32, 32, 32, 32};
        QTest::newRow("40 bytes") << 40 << QList<int>{32, 8};
    }
    void writeArea() {
        QFETCH(int, size);
        QFETCH(QList<int>, chunks);
        QVERIFY(world::load({monitorWithArea()}));
        const std::vector<uint8_t> data = pattern(std::size_t(size), 5);
        QVERIFY(queries.writeEdidArea(kArea, data));

        const QList<QByteArray> frames = world::writes();
        QCOMPARE(frames.first(), world::bytes({0x83, 0xC0, 0x11, 0x03, 0xFF}));
        QCOMPARE(frames.last(), world::bytes({0x83, 0xC0, 0x11, 0x00, 0xFF}));
        const QList<QByteArray> writes = framesWith(0xC0, 0x02);
        QCOMPARE(writes.size(), chunks.size());
        int offset = 0;
        for (int i = 0; i < writes.size(); ++i) {
            QCOMPARE(int(uint8_t(writes[i][0])), 0x84 + chunks[i]);
            QCOMPARE(int(uint8_t(writes[i][3])), chunks[i]);
            QCOMPARE((uint8_t(writes[i][4]) << 8) | uint8_t(writes[i][5]), kArea + offset);
            offset += chunks[i];
        }
        QCOMPARE(world::memory(0, kArea, size), data);
        Waits waits{50};
        waits.insert(waits.end(), std::size_t(chunks.size()), 150);
        QCOMPARE(sleeper.waits, waits);
        QCOMPARE(GetfwVersion(), 0);
    }

    void refusedWrites_data() {
        QTest::addColumn<int>("refusals");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("writes");
        QTest::newRow("retried") << 4 << true << 4 + 8;
        QTest::newRow("given up") << 5 << false << 5;
    }
    void refusedWrites() {
        QFETCH(int, refusals);
        QFETCH(bool, ok);
        QFETCH(int, writes);
        QVERIFY(world::load({monitorWithArea()}));
        QVERIFY(world::fault("refuseMemoryWrites", refusals));
        const std::vector<uint8_t> data = pattern(256, 5);
        QCOMPARE(queries.writeEdidArea(kArea, data), ok);
        QCOMPARE(framesWith(0xC0, 0x02).size(), writes);
        // Normal mode is restored and the device closed either way.
        QCOMPARE(world::writes().last(), world::bytes({0x83, 0xC0, 0x11, 0x00, 0xFF}));
        QCOMPARE(GetfwVersion(), 0);
        QCOMPARE(world::memory(0, kArea, 256), ok ? data : pattern(256, 1));
    }

    void writeOutsideMemoryRefused_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        QTest::newRow("negative") << -1 << 256;
        QTest::newRow("past the end") << 0xFF80 << 256;
    }
    void writeOutsideMemoryRefused() {
        QFETCH(int, address);
        QFETCH(int, size);
        QVERIFY(world::load({monitorWithArea()}));
        QVERIFY(!queries.writeEdidArea(address, pattern(std::size_t(size), 5)));
        QVERIFY(world::requests().isEmpty());
    }

    void areaReadSurvivesOccasionalFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("corrupt") << "corruptReplyPercent";
        QTest::newRow("dropped") << "dropReplyPercent";
    }
    void areaReadSurvivesOccasionalFaults() {
        QFETCH(QString, fault);
        QVERIFY(world::load({monitorWithArea()}));
        QVERIFY(world::fault(fault.toLatin1().constData(), 10));
        for (int round = 0; round < 5; ++round) {
            const auto area = queries.readEdidArea(kArea);
            QVERIFY(area.complete);
            QCOMPARE(area.bytes, pattern(256, 1));
        }
        QVERIFY(world::reads() > 50);
    }

    // Whatever the monitor answers, each operation ends within its own
    // bound of waits with a failure; a garbled answer changes no memory but
    // what a write had already put there.
    void everyOperationEndsOnBadAnswers_data() {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<unsigned long>("bound");
        const struct {
            const char* name;
            Op op;
            unsigned long bound;
        } ops[] = {{"model name", Op::ModelName, 100UL * (2 * 20 + 1)},
                   {"scalar firmware", Op::ScalarFirmware, 2000UL},
                   {"EDID read", Op::Read, 500UL},
                   {"EDID write", Op::Write, 50UL + 5 * 150}};
        for (const auto& o : ops) {
            QTest::addRow("%s, dropped", o.name) << o.op << "dropReplyPercent" << o.bound;
            if (o.op != Op::ModelName)
                QTest::addRow("%s, corrupt", o.name) << o.op << "corruptReplyPercent" << o.bound;
        }
    }
    void everyOperationEndsOnBadAnswers() {
        QFETCH(Op, op);
        QFETCH(QString, fault);
        QFETCH(unsigned long, bound);
        QVERIFY(world::load({monitorWithArea()}));
        QVERIFY(world::fault(fault.toLatin1().constData(), 100));
        QVERIFY(!run(op));
        QVERIFY(sleeper.total() <= bound);
        QVERIFY(dialogs.shown.isEmpty());
        if (op == Op::Write)
            QCOMPARE(framesWith(0xC0, 0x02).size(), 5);
        else
            QCOMPARE(world::memory(0, kArea, 256), pattern(256, 1));
    }
};

QTEST_MAIN(ScalarQueriesTest)
#include "ScalarQueriesTest.moc"
