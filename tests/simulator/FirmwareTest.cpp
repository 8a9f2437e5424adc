// The two firmware writers and the state kept between runs.

#include "VendorLink.h"

#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

struct Progress {
    int32_t total;
    int32_t done;
};
std::vector<Progress> reports;

int32_t HUBBRIDGE_CALL recordProgress(void* record) {
    const auto* progress = static_cast<const HubProgressRecord*>(record);
    reports.push_back({progress->total, progress->done});
    return 0;
}

QByteArray hubImage(int length, int major, int minor) {
    QByteArray image(length, '\x5A');
    if (length > 0x7EFA) {
        image[0x7EF9] = char(major);
        image[0x7EFA] = char(minor);
    }
    return image;
}

QByteArray scalarImage(int length, int major, int minor) {
    QByteArray image(length, '\x3C');
    if (length > 0xF901) {
        image[0xF900] = char(major);
        image[0xF901] = char(minor);
    }
    return image;
}

// Unplugs the hub once the write is half done.
int32_t HUBBRIDGE_CALL unplugHalfWay(void* record) {
    recordProgress(record);
    const auto* progress = static_cast<const HubProgressRecord*>(record);
    if (int64_t{progress->done} * 2 >= progress->total && progress->done > 0)
        VM_SetFault("hubGone", 1);
    return 0;
}

int32_t writeHub(const QByteArray& image) {
    reports.clear();
    return TvHub_UpdateFW(reinterpret_cast<const uint8_t*>(image.constData()), image.size(),
                          recordProgress, nullptr);
}

int32_t writeScalar(const QByteArray& image, const QList<int>& p) {
    reports.clear();
    return TvHub_UpdateScalar(reinterpret_cast<const uint8_t*>(image.constData()), image.size(),
                              p[0], p[1], p[2], p[3], p[4], recordProgress, nullptr);
}

bool progressRunsFromZeroToTotal(int32_t total) {
    if (reports.size() < 2 || reports.front().done != 0 || reports.back().done != total)
        return false;
    for (size_t i = 0; i < reports.size(); ++i) {
        if (reports[i].total != total || (i > 0 && reports[i].done < reports[i - 1].done))
            return false;
    }
    return true;
}

QByteArray scalarWorld(const QByteArray& model) {
    world::Monitor m;
    m.model = QString::fromLatin1(model);
    m.scalarMajor = 1;
    m.scalarMinor = 2;
    m.hubFirmware = 0x0100;
    return world::description({m});
}

int scalarLevel() {
    int32_t major = -1, minor = -1;
    VM_GetScalarFirmware(0, &major, &minor);
    return major << 8 | minor;
}

} // namespace

class FirmwareTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(world::load(lm0420World())); }

    void hubWrite() {
        const QByteArray image = hubImage(0x8000, 0x01, 0x25);
        QCOMPARE(writeHub(image), 0);
        QCOMPARE(VM_GetHubFirmware(0), 0x0125);
        QVERIFY(progressRunsFromZeroToTotal(0x8000));
        QCOMPARE(reports.size(), size_t(0x8000 / 4096 + 1));
        int32_t length = 0;
        QCOMPARE(VM_LastUpdateArguments(0, &length, nullptr), 1);
        QCOMPARE(length, 0x8000);
        QCOMPARE(VM_LastUpdateArguments(1, &length, nullptr), 0);
        QVERIFY(requestLog().contains("UpdateFW 32768"));
        // The new version is what the hub reports from now on.
        VendorLink link;
        uint8_t status[16];
        QCOMPARE(TvHub_Status(link.handle(), status, 16), 0);
        QCOMPARE(status[10] << 8 | status[11], 0x0125);
    }

    void progressStepsAreConfigurable_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("length");
        QTest::newRow("five steps") << 5 << 0x7EFB;
        QTest::newRow("more steps than bytes") << 0x9000 << 0x8000;
        QTest::newRow("one step") << 1 << 0x8000;
    }

    void progressStepsAreConfigurable() {
        QFETCH(int, steps);
        QFETCH(int, length);
        QVERIFY(world::load(lm0420World({{"progressSteps", steps}})));
        QCOMPARE(writeHub(hubImage(length, 1, 0x30)), 0);
        QCOMPARE(reports.size(), size_t(steps) + 1);
        QVERIFY(progressRunsFromZeroToTotal(length));
    }

    void scalarWrite_data() {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QList<int>>("params");
        QTest::addColumn<int>("result");
        const QList<int> lm0420{0xFE19, 0x1029, 1, 16, 16};
        const QList<int> lm0420_4k{0xFE26, 0x1036, 1, 32, 32};
        const QList<int> lm0510{0xFE28, 0x1038, 1, 16, 16};
        const QList<int> lm0520{0xFE28, 0x1038, 1, 32, 32};
        QTest::newRow("LM0410") << QByteArray("LM0410") << lm0420 << 0;
        QTest::newRow("LM0420") << QByteArray("LM0420") << lm0420 << 0;
        QTest::newRow("LM0420-4K") << QByteArray("LM0420-4K") << lm0420_4k << 0;
        QTest::newRow("LM0510") << QByteArray("LM0510") << lm0510 << 0;
        QTest::newRow("LM0510-CN") << QByteArray("LM0510-CN") << lm0510 << 0;
        QTest::newRow("LM0520") << QByteArray("LM0520") << lm0520 << 0;
        QTest::newRow("LM0530") << QByteArray("LM0530") << lm0520 << 0;
        QTest::newRow("LM0430") << QByteArray("LM0430") << lm0520 << 0;
        QTest::newRow("LM0610") << QByteArray("LM0610") << lm0520 << 0;
        QTest::newRow("model in lower case") << QByteArray("lm0420-4k") << lm0420_4k << 0;
        QTest::newRow("LM0420 with the 4K pair") << QByteArray("LM0420") << lm0420_4k << 3;
        QTest::newRow("LM0520 with block size 16") << QByteArray("LM0520") << lm0510 << 3;
        QTest::newRow("p3 not 1") << QByteArray("LM0410") << QList<int>{0xFE19, 0x1029, 0, 16, 16}
                                  << 3;
        QTest::newRow("p4 and p5 differ")
            << QByteArray("LM0610") << QList<int>{0xFE28, 0x1038, 1, 32, 16} << 3;
        QTest::newRow("unknown model") << QByteArray("LM9999") << lm0520 << 3;
    }

    void scalarWrite() {
        QFETCH(QByteArray, model);
        QFETCH(QList<int>, params);
        QFETCH(int, result);
        QVERIFY(world::load(scalarWorld(model)));
        const QByteArray image = scalarImage(0x10000, 0x13, 0x07);
        QCOMPARE(writeScalar(image, params), result);
        QCOMPARE(scalarLevel(), result == 0 ? 0x1307 : 0x0102);
        if (result == 0)
            QVERIFY(progressRunsFromZeroToTotal(0x10000));
        else
            QVERIFY(reports.empty());
        int32_t length = 0;
        int32_t recorded[5] = {};
        QCOMPARE(VM_LastUpdateArguments(1, &length, recorded), 1);
        QCOMPARE(length, 0x10000);
        QCOMPARE((QList<int>{recorded[0], recorded[1], recorded[2], recorded[3], recorded[4]}),
                 params);
    }

    void imagesTooShortOrMissing_data() {
        QTest::addColumn<bool>("hub");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("null");
        QTest::newRow("hub image ends before its minor byte") << true << 0x7EFA << false;
        QTest::newRow("scalar image ends before its minor byte") << false << 0xF901 << false;
        QTest::newRow("empty hub image") << true << 0 << false;
        QTest::newRow("no hub image") << true << 0x8000 << true;
        QTest::newRow("no scalar image") << false << 0x10000 << true;
    }

    void imagesTooShortOrMissing() {
        QFETCH(bool, hub);
        QFETCH(int, length);
        QFETCH(bool, null);
        const QByteArray image = hub ? hubImage(length, 9, 9) : scalarImage(length, 9, 9);
        const auto* data = null ? nullptr : reinterpret_cast<const uint8_t*>(image.constData());
        reports.clear();
        const int32_t result = hub ? TvHub_UpdateFW(data, length, recordProgress, nullptr)
                                   : TvHub_UpdateScalar(data, length, 0xFE19, 0x1029, 1, 16, 16,
                                                        recordProgress, nullptr);
        QCOMPARE(result, 2);
        QVERIFY(reports.empty());
        QCOMPARE(VM_GetHubFirmware(0), 288);
        QCOMPARE(scalarLevel(), 0x1203);
    }

    void writesNeedAHub_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("monitor without hub")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "LM0420" } } ] })");
        QTest::newRow("only a stranger")
            << QByteArray(R"({ "monitors": [ { "scalar": { "model": "LM0420" } } ],
                              "devices": [ { "speed": 3 } ] })");
        QTest::newRow("nothing") << QByteArray("{}");
    }

    void writesNeedAHub() {
        QFETCH(QByteArray, json);
        QVERIFY(world::load(json));
        QCOMPARE(writeHub(hubImage(0x8000, 1, 1)), 1);
        QCOMPARE(writeScalar(scalarImage(0x10000, 1, 1), {0xFE19, 0x1029, 1, 16, 16}), 1);
        QVERIFY(reports.empty());
    }

    void theFirstMonitorInTheDeviceListIsWritten() {
        QVERIFY(world::load(R"({ "monitors": [
            { "scalar": { "model": "LM0420" }, "hub": { "firmware": 256 } },
            { "scalar": { "model": "LM0610" }, "hub": { "firmware": 512 } } ],
            "devices": [ { "speed": 2 }, { "monitor": 1, "side": "usb2" },
                         { "monitor": 0, "side": "usb2" } ] })"));
        QCOMPARE(writeHub(hubImage(0x8000, 3, 4)), 0);
        QCOMPARE(VM_GetHubFirmware(0), 256);
        QCOMPARE(VM_GetHubFirmware(1), 0x0304);
        QCOMPARE(writeScalar(scalarImage(0x10000, 1, 1), {0xFE19, 0x1029, 1, 16, 16}), 3);
    }

    void aWriteFailingPartWay_data() {
        QTest::addColumn<int>("percent");
        QTest::newRow("half way") << 50;
        QTest::newRow("at the start") << 1;
        QTest::newRow("at the very end") << 100;
    }

    void aWriteFailingPartWay() {
        QFETCH(int, percent);
        QCOMPARE(VM_SetFault("firmwareFailAtPercent", percent), 1);
        QCOMPARE(writeHub(hubImage(0x8000, 7, 7)), 4);
        QCOMPARE(VM_GetHubFirmware(0), 288);
        QVERIFY(!reports.empty());
        const Progress last = reports.back();
        QVERIFY(int64_t{last.done} * 100 >= int64_t{percent} * last.total);
        if (reports.size() > 1) {
            const Progress before = reports[reports.size() - 2];
            QVERIFY(int64_t{before.done} * 100 < int64_t{percent} * before.total);
        }
        QCOMPARE(writeScalar(scalarImage(0x10000, 7, 7), {0xFE19, 0x1029, 1, 16, 16}), 4);
        QCOMPARE(scalarLevel(), 0x1203);
        // It keeps failing until switched off.
        VM_SetFault("firmwareFailAtPercent", 0);
        QCOMPARE(writeHub(hubImage(0x8000, 7, 7)), 0);
        QCOMPARE(VM_GetHubFirmware(0), 0x0707);
    }

    // The writers answer success, and the monitor keeps its versions.
    void aMonitorKeepingItsFirmware() {
        QCOMPARE(VM_SetFault("firmwareVersionStays", 1), 1);
        const int hubBefore = VM_GetHubFirmware(0);
        const int scalarBefore = scalarLevel();
        QCOMPARE(writeHub(hubImage(0x8000, 7, 8)), 0);
        QCOMPARE(VM_GetHubFirmware(0), hubBefore);
        QCOMPARE(writeScalar(scalarImage(0x10000, 7, 8), {0xFE19, 0x1029, 1, 16, 16}), 0);
        QCOMPARE(scalarLevel(), scalarBefore);
        VM_SetFault("firmwareVersionStays", 0);
        QCOMPARE(writeHub(hubImage(0x8000, 7, 8)), 0);
        QCOMPARE(VM_GetHubFirmware(0), 0x0708);
    }

    void aHubUnpluggedDuringTheWrite() {
        reports.clear();
        const QByteArray hub = hubImage(0x8000, 7, 7);
        QCOMPARE(TvHub_UpdateFW(reinterpret_cast<const uint8_t*>(hub.constData()), hub.size(),
                                unplugHalfWay, nullptr),
                 4);
        QCOMPARE(VM_GetHubFirmware(0), 288);
        QVERIFY(reports.back().done < reports.back().total);
        VM_SetFault("hubGone", 0);
        reports.clear();
        const QByteArray scalar = scalarImage(0x10000, 7, 7);
        QCOMPARE(TvHub_UpdateScalar(reinterpret_cast<const uint8_t*>(scalar.constData()),
                                    scalar.size(), 0xFE19, 0x1029, 1, 16, 16, unplugHalfWay,
                                    nullptr),
                 4);
        QCOMPARE(scalarLevel(), 0x1203);
    }

    void stateOutlivesTheRun() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath("virtual-monitor.json");
        QFile description(path);
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(lm0420World({{"persistState", true}}));
        description.close();
        const QByteArray name = QFile::encodeName(path);

        QCOMPARE(VM_LoadDescriptionFile(name.constData()), 1);
        QCOMPARE(writeHub(hubImage(0x8000, 0x01, 0x30)), 0);
        QCOMPARE(writeScalar(scalarImage(0x10000, 0x14, 0x01), {0xFE19, 0x1029, 1, 16, 16}), 0);
        {
            VendorLink link;
            link.configure();
            link.write(modeRequest(3));
            link.exchange(memoryWriteRequest(0x1200, QByteArray(32, '\x77')), 6);
        }
        const uint8_t byte = 0x66;
        QCOMPARE(VM_WriteMemory(0, 0xFFFF, &byte, 1), 1);
        QVERIFY(QFile::exists(path + ".state.json"));
        QVERIFY(!QFile::exists(path + ".state.json.tmp"));

        // A world loaded from text starts afresh; the file's state is kept.
        QVERIFY(world::load(lm0420World({{"persistState", true}})));
        QCOMPARE(VM_GetHubFirmware(0), 288);
        QCOMPARE(VM_LoadDescriptionFile(name.constData()), 1);
        QCOMPARE(VM_GetHubFirmware(0), 0x0130);
        QCOMPARE(scalarLevel(), 0x1401);
        uint8_t memory[3] = {};
        VM_ReadMemory(0, 0x1200, memory, 1);
        VM_ReadMemory(0, 0xFFFF, memory + 1, 1);
        VM_ReadMemory(0, 0x1300, memory + 2, 1);
        QCOMPARE(memory[0], uint8_t(0x77));
        QCOMPARE(memory[1], uint8_t(0x66));
        QCOMPARE(memory[2], uint8_t(0xFF));
    }

    void noStateWithoutPersistence() {
        QTemporaryDir folder;
        const QString path = folder.filePath("virtual-monitor.json");
        QFile description(path);
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(lm0420World());
        description.close();
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(VM_LoadDescriptionFile(name.constData()), 1);
        QCOMPARE(writeHub(hubImage(0x8000, 0x01, 0x30)), 0);
        QVERIFY(!QFile::exists(path + ".state.json"));
        QCOMPARE(VM_LoadDescriptionFile(name.constData()), 1);
        QCOMPARE(VM_GetHubFirmware(0), 288);
    }

    void aBadStateFileIsSetAside_data() {
        QTest::addColumn<QByteArray>("state");
        QTest::newRow("not json") << QByteArray("{ monitors");
        QTest::newRow("another number of monitors") << QByteArray(R"({ "monitors": [] })");
        QTest::newRow("firmware out of range") << QByteArray(
            R"({ "monitors": [ { "scalarFirmware": [300, 1], "hubFirmware": 1, "memory": [] } ] })");
        QTest::newRow("memory past the end") << QByteArray(
            R"({ "monitors": [ { "scalarFirmware": [1, 1], "hubFirmware": 1,
                 "memory": [ { "address": 65535, "hex": "0000" } ] } ] })");
    }

    void aBadStateFileIsSetAside() {
        QFETCH(QByteArray, state);
        QTemporaryDir folder;
        const QString path = folder.filePath("virtual-monitor.json");
        QFile description(path);
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(lm0420World({{"persistState", true}}));
        description.close();
        QFile stateFile(path + ".state.json");
        QVERIFY(stateFile.open(QIODevice::WriteOnly));
        stateFile.write(state);
        stateFile.close();

        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(VM_LoadDescriptionFile(name.constData()), 1);
        QVERIFY2(QString(VM_LastError()).contains("state file"), VM_LastError());
        QCOMPARE(VM_GetHubFirmware(0), 288);
        QCOMPARE(scalarLevel(), 0x1203);
        QFile aside(path + ".state.json.bad");
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), state);
    }
};

QTEST_GUILESS_MAIN(FirmwareTest)
#include "FirmwareTest.moc"
