#include "Hubbridge.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "scalar/HubExchanges.h"
#include "scalar/ScalarQueries.h"

#include <QtTest>

// Runs from a folder without the hub library beside it.
class NoLibraryTest : public QObject {
    Q_OBJECT

    class CountingReporter : public scalar::ConnectionReporter {
    public:
        void showHubNotDetected() override { ++notices; }
        int notices = 0;
    };

    RecordingSleeper sleeper;
    ScriptedDialogs dialogs;
    CountingReporter reporter;
    int hubIndex = 7;
    const int scalarAddress = 0x51;
    scalar::ScalarQueries queries{hubIndex, scalarAddress, reporter};

    void expectBox(bool shown) {
        if (!shown) {
            QVERIFY(dialogs.shown.isEmpty());
            return;
        }
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, seams::DialogIcon::Warning);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Fatal Error"));
        QCOMPARE(dialogs.shown[0].text,
                 QStringLiteral("Cannot found the Tarvex USB Hub driver installed!"));
    }

private slots:
    void initTestCase() { QCOMPARE(CloseDevice(), 0); }
    void init() {
        dialogs.clear();
        sleeper.clear();
    }
    void cleanup() {
        QCOMPARE(reporter.notices, 0);
        QVERIFY(sleeper.waits.empty());
        QCOMPARE(hubIndex, 7);
    }

    void hubFirmware() {
        int version = -1;
        QVERIFY(!queries.queryHubFirmware(version));
        QCOMPARE(version, -1);
        expectBox(true);
    }
    void modelName() {
        QVERIFY(queries.queryModelName().empty());
        expectBox(true);
    }
    void scalarFirmware_data() {
        QTest::addColumn<bool>("showErrors");
        QTest::newRow("reporting") << true;
        QTest::newRow("quiet") << false;
    }
    void scalarFirmware() {
        QFETCH(bool, showErrors);
        int major = -1;
        int minor = -1;
        QVERIFY(!queries.queryScalarFirmware(major, minor, showErrors));
        QCOMPARE(major, -1);
        expectBox(showErrors);
    }
    void reset() {
        QVERIFY(!queries.resetScalarSettings());
        expectBox(true);
    }
    void edidAreas() {
        const auto area = queries.readEdidArea(0x0500);
        QVERIFY(!area.complete);
        QCOMPARE(area.bytes, std::vector<uint8_t>(256, 0));
        QVERIFY(!queries.writeEdidArea(0x0500, std::vector<uint8_t>(256, 1)));
        expectBox(false);
    }
    void hubRecordExchanges() {
        scalar::HubRecord hub;
        QVERIFY(!scalar::readHubFirmware(hub));
        QVERIFY(!scalar::readModelText(hub));
        QVERIFY(!scalar::readSerialText(hub));
        QCOMPARE(hub.hubFirmware, 0);
        QVERIFY(hub.modelText.empty());
        QVERIFY(hub.serialText.empty());
        expectBox(false);
    }
};

QTEST_MAIN(NoLibraryTest)
#include "NoLibraryTest.moc"
