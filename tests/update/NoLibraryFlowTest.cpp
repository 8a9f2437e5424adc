// The update on a machine without the hub driver: the bridge finds no
// vendor library beside this executable.
#include "FlowFixture.h"
#include "IsolatedTempDir.h"
#include "RecordingSleeper.h"

#include "Hubbridge.h"

#include <QtTest>

class NoLibraryFlowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(CloseDevice(), 0); }

    void driverMissing_data() {
        QTest::addColumn<bool>("hub");
        QTest::newRow("hub phase") << true;
        QTest::newRow("scalar phase") << false;
    }

    void driverMissing() {
        QFETCH(bool, hub);
        RecordingSleeper sleeper;
        FlowFixture fixture;
        const QByteArray image(0x10000, '\1');
        QVERIFY(fixture.store(fixture.hubBinFile, image));
        QVERIFY(fixture.store(fixture.scalarBinFile, image));
        fixture.hubBinCheckSum = fixture.scalarBinCheckSum = QStringLiteral("0x0000");
        (hub ? fixture.hubUpdateNeeded : fixture.scalarUpdateNeeded) = true;
        fixture.btnUpdate->setEnabled(true);

        fixture.run();

        QCOMPARE(fixture.dialogs.shown.size(), 2);
        const auto box = fixture.dialogs.shown[1];
        QCOMPARE(box.icon, seams::DialogIcon::Warning);
        QCOMPARE(box.title, QStringLiteral("Fatal Error"));
        QCOMPARE(box.text, QStringLiteral("Cannot found the Tarvex USB Hub driver installed!"));
        // Both buttons stay off; the window frame still closes the program.
        QVERIFY(!fixture.btnUpdate->isEnabled());
        QVERIFY(!fixture.btnExit->isEnabled());
        QCOMPARE(fixture.lblInfo->text(), kBusyText);
        QCOMPARE(fixture.bar1->value(), 100);
        QCOMPARE(fixture.calls, QStringList{"repair"});
        QCOMPARE(fixture.keepAwake.calls, (QStringList{"begin", "end"}));
        QCOMPARE(fixture.outcome.end, update::UpdateEnd::HubLibraryMissing);
        QVERIFY(!fixture.outcome.hubWritten && !fixture.outcome.scalarWritten);
        QVERIFY(sleeper.waits.empty());
    }
};

PANELUP_ISOLATED_TEST_MAIN(NoLibraryFlowTest)
#include "NoLibraryFlowTest.moc"
