// The update on a machine without the hub driver: the bridge finds no
// vendor library beside this executable.
#include "FlowBench.h"
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
        FlowBench bench;
        const QByteArray image(0x10000, '\1');
        QVERIFY(bench.store(bench.hubBinFile, image));
        QVERIFY(bench.store(bench.scalarBinFile, image));
        bench.hubBinCheckSum = bench.scalarBinCheckSum = QStringLiteral("0x0000");
        (hub ? bench.hubUpdateNeeded : bench.scalarUpdateNeeded) = true;
        bench.btnUpdate->setEnabled(true);

        bench.run();

        QCOMPARE(bench.dialogs.shown.size(), 2);
        const auto box = bench.dialogs.shown[1];
        QCOMPARE(box.icon, seams::DialogIcon::Warning);
        QCOMPARE(box.title, QStringLiteral("Fatal Error"));
        QCOMPARE(box.text, QStringLiteral("Cannot found the Tarvex USB Hub driver installed!"));
        // Both buttons stay off; the window frame still closes the program.
        QVERIFY(!bench.btnUpdate->isEnabled());
        QVERIFY(!bench.btnExit->isEnabled());
        QCOMPARE(bench.lblInfo->text(), kBusyText);
        QCOMPARE(bench.bar1->value(), 100);
        QCOMPARE(bench.calls, QStringList{"repair"});
        QCOMPARE(bench.keepAwake.calls, (QStringList{"begin", "end"}));
        QVERIFY(sleeper.waits.empty());
    }
};

PANELUP_ISOLATED_TEST_MAIN(NoLibraryFlowTest)
#include "NoLibraryFlowTest.moc"
