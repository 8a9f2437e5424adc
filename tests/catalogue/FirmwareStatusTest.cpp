#include "IsolatedTempDir.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "VirtualWorld.h"

#include "app/StatusWidgets.h"
#include "catalogue/FirmwareStatus.h"
#include "scalar/ScalarQueries.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace catalogue;

namespace {

// What the window does when a hub connection finds no hub.
class WindowReporter : public scalar::ConnectionReporter {
public:
    WindowReporter(QLabel*& info, QPushButton*& update) : info_(info), update_(update) {}
    void showHubNotDetected() override {
        info_->setText(scalar::hubNotDetectedText().shown());
        update_->setEnabled(false);
    }

private:
    QLabel*& info_;
    QPushButton*& update_;
};

// A firmware image of size bytes with a pattern and its two version bytes.
QByteArray image(int size, int majorOffset, int major, int minor) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 13) % 256);
    if (majorOffset + 1 < size) {
        bytes[majorOffset] = static_cast<char>(major);
        bytes[majorOffset + 1] = static_cast<char>(minor);
    }
    return bytes;
}

QString checksumLabel(const QByteArray& bytes) {
    uint sum = 0;
    for (char c : bytes)
        sum += static_cast<uchar>(c);
    return QStringLiteral("0x%1").arg(sum % 65536, 0, 16);
}

const QString latestText = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/question_mark\"> Your current firmware version is "
    "already the latest version, you don't need to update.");

} // namespace

class FirmwareStatusTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void hubQueryFailureChangesNothing();
    void unreadableScalarKeepsVersionsAndSkipsModelRule();

private:
    // Shows the status over the test's widgets; the state is read from and
    // written back to state_.
    void show(bool allowDowngrade = false);
    void writeStored(const QString& name, const QByteArray& bytes);

    RecordingSleeper sleeper_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<QWidget> window_;
    QLabel* lblModelName = nullptr;
    QLabel* lblCurrentFW = nullptr;
    QLabel* lblNewFW = nullptr;
    QLabel* lblCheckSum = nullptr;
    QLabel* lblInfo = nullptr;
    QPushButton* btnUpdate = nullptr;
    QCheckBox* chkOverride = nullptr;
    QProgressBar* bar1 = nullptr;
    int hubIndex_ = 0;
    const int scalarAddress_ = 0x51;
    WindowReporter reporter_{lblInfo, btnUpdate};
    scalar::ScalarQueries queries_{hubIndex_, scalarAddress_, reporter_};
    FirmwareState state_;
    std::unique_ptr<QTemporaryDir> program_;
};

void FirmwareStatusTest::init() {
    window_ = std::make_unique<QWidget>();
    lblModelName = new QLabel(QStringLiteral("Model Name"), window_.get());
    lblCurrentFW = new QLabel(QStringLiteral("Current Firmware"), window_.get());
    lblNewFW = new QLabel(QStringLiteral("New Firmware"), window_.get());
    lblCheckSum = new QLabel(QStringLiteral("CheckSum"), window_.get());
    lblInfo = new QLabel(QStringLiteral("Info"), window_.get());
    btnUpdate = new QPushButton(QStringLiteral("Update"), window_.get());
    chkOverride = new QCheckBox(QStringLiteral("Allow Monitor use older firmware."), window_.get());
    bar1 = new QProgressBar(window_.get());
    bar1->setValue(50);
    // Leftovers of an earlier run that every outcome must put right.
    chkOverride->setChecked(true);
    chkOverride->show();
    btnUpdate->setEnabled(true);
    window_->show();
    state_ = FirmwareState();
    program_ = std::make_unique<QTemporaryDir>();
    QVERIFY(program_->isValid());
}

void FirmwareStatusTest::cleanup() {
    window_.reset();
}

void FirmwareStatusTest::show(bool allowDowngrade) {
    app::StatusWidgets::Widgets widgets;
    widgets.modelName = lblModelName;
    widgets.currentFirmware = lblCurrentFW;
    widgets.newFirmware = lblNewFW;
    widgets.checksum = lblCheckSum;
    widgets.info = lblInfo;
    widgets.update = btnUpdate;
    widgets.override = chkOverride;
    widgets.progress = bar1;
    app::StatusWidgets view(widgets);
    FirmwareStatusContext c;
    c.queries = &queries_;
    c.view = &view;
    c.hubBinFile = QStringLiteral("Hub//hub.bin");
    c.scalarBinFile = QStringLiteral("Scalar//scalar.bin");
    c.modelName = QStringLiteral("LM0420");
    c.allowDowngrade = allowDowngrade;
    c.programFolder = program_->path();
    c.state = state_;
    showFirmwareStatus(c);
    state_ = c.state;
}

void FirmwareStatusTest::writeStored(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(program_->path()).absoluteFilePath(name);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void FirmwareStatusTest::outcomes_data() {
    QTest::addColumn<QString>("capabilitiesModel");
    QTest::addColumn<int>("installedHub");
    QTest::addColumn<int>("installedMajor");
    QTest::addColumn<int>("installedMinor");
    QTest::addColumn<QByteArray>("hubFile");    // empty: none stored
    QTest::addColumn<QByteArray>("scalarFile"); // empty: none stored
    QTest::addColumn<bool>("allowDowngrade");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");       // empty: left as the form had it
    QTest::addColumn<QString>("checksumOf"); // "hub" or "scalar"
    QTest::addColumn<bool>("updateEnabled");
    QTest::addColumn<bool>("overrideShown");
    QTest::addColumn<bool>("hubNeeded");
    QTest::addColumn<bool>("scalarNeeded");

    const int hubSize = 0x7EFB;
    const int scalarSize = 0xF902;
    const QString hubPending = QStringLiteral("Please click update button to update new firmware!");
    const QString scalarPending =
        QStringLiteral("Please click \"update\" to update your firmware.");
    const QByteArray scalarSame = image(scalarSize, scalarMajorOffset, 0x12, 3);

    QTest::newRow("hub update pending")
        << "LM0420" << 0x0122 << 0x12 << 3 << image(hubSize, hubMajorOffset, 1, 0x24) << scalarSame
        << false << hubPending << "Hub FW : <b>1.22</b>"
        << "Hub FW : <b>1.24</b>"
        << "hub" << true << false << true << false;
    QTest::newRow("hub minor shown in two hex digits")
        << "LM0420" << 0x0105 << 0x12 << 3 << image(hubSize, hubMajorOffset, 1, 0x0a) << scalarSame
        << false << hubPending << "Hub FW : <b>1.05</b>"
        << "Hub FW : <b>1.0a</b>"
        << "hub" << true << false << true << false;
    QTest::newRow("LM0410 installed 2.0 counts as 1.20")
        << "LM0410 Series" << 0x0200 << 0x12 << 3 << image(hubSize, hubMajorOffset, 1, 0x21)
        << scalarSame << false << hubPending << "Hub FW : <b>1.20</b>"
        << "Hub FW : <b>1.21</b>"
        << "hub" << true << false << true << false;
    QTest::newRow("LM0410 stored 2.0 counts as 1.20")
        << "LM0410 SERIES" << 0x0120 << 0x12 << 3 << image(hubSize, hubMajorOffset, 2, 0)
        << scalarSame << false << latestText << "Monitor FW : <b>M012</b>"
        << "Monitor FW : <b>M012</b>"
        << "scalar" << false << false << false << false;
    QTest::newRow("other model: stored 2.0 is newer")
        << "LM0420" << 0x0120 << 0x12 << 3 << image(hubSize, hubMajorOffset, 2, 0) << scalarSame
        << false << hubPending << "Hub FW : <b>1.20</b>"
        << "Hub FW : <b>2.00</b>"
        << "hub" << true << false << true << false;
    QTest::newRow("older hub file is never written")
        << "LM0420" << 0x0120 << 0x12 << 3 << image(hubSize, hubMajorOffset, 1, 0x10) << scalarSame
        << false << latestText << "Monitor FW : <b>M012</b>"
        << "Monitor FW : <b>M012</b>"
        << "scalar" << false << false << false << false;
    QTest::newRow("scalar file missing")
        << "LM0420" << 0x0120 << 0x12 << 3 << QByteArray() << QByteArray() << true
        << "Firmware file is not detected ."
        << "Monitor FW : <b>M012</b>"
        << ""
        << "scalar" << false << false << false << false;
    QTest::newRow("scalar revision pending")
        << "LM0420" << 0x0120 << 0x12 << 3 << QByteArray()
        << image(scalarSize, scalarMajorOffset, 0x12, 5) << false << scalarPending
        << "Monitor FW : <b>M012REV 3</b>"
        << "Monitor FW : <b>M012REV 5</b>"
        << "scalar" << true << false << false << true;
    QTest::newRow("scalar major pending") << "LM0420" << 0x0120 << 0x11 << 9 << QByteArray()
                                          << image(scalarSize, scalarMajorOffset, 0x12, 0) << false
                                          << scalarPending << "Monitor FW : <b>M011</b>"
                                          << "Monitor FW : <b>M012</b>"
                                          << "scalar" << true << false << false << true;
    QTest::newRow("up to date") << "LM0420" << 0x0120 << 0x12 << 5 << QByteArray()
                                << image(scalarSize, scalarMajorOffset, 0x12, 5) << false
                                << latestText << "Monitor FW : <b>M012</b>"
                                << "Monitor FW : <b>M012</b>"
                                << "scalar" << false << false << false << false;
    QTest::newRow("up to date, downgrade allowed")
        << "LM0420" << 0x0120 << 0x12 << 5 << QByteArray()
        << image(scalarSize, scalarMajorOffset, 0x12, 5) << true << latestText
        << "Monitor FW : <b>M012</b>"
        << "Monitor FW : <b>M012</b>"
        << "scalar" << false << true << false << true;
    QTest::newRow("installed newer, downgrade allowed")
        << "LM0420" << 0x0120 << 0x13 << 0 << QByteArray()
        << image(scalarSize, scalarMajorOffset, 0x12, 5) << true << latestText
        << "Monitor FW : <b>M013</b>"
        << "Monitor FW : <b>M012</b>"
        << "scalar" << false << true << false << true;
    QTest::newRow("short scalar file is 0.0")
        << "LM0420" << 0x0120 << 0x12 << 3 << QByteArray()
        << image(scalarMajorOffset, scalarMajorOffset, 0x13, 0) << false << latestText
        << "Monitor FW : <b>M012</b>"
        << "Monitor FW : <b>M000</b>"
        << "scalar" << false << false << false << false;
}

void FirmwareStatusTest::outcomes() {
    QFETCH(QString, capabilitiesModel);
    QFETCH(int, installedHub);
    QFETCH(int, installedMajor);
    QFETCH(int, installedMinor);
    QFETCH(QByteArray, hubFile);
    QFETCH(QByteArray, scalarFile);
    QFETCH(bool, allowDowngrade);
    QFETCH(QString, info);
    QFETCH(QString, current);
    QFETCH(QString, next);
    QFETCH(QString, checksumOf);
    QFETCH(bool, updateEnabled);
    QFETCH(bool, overrideShown);
    QFETCH(bool, hubNeeded);
    QFETCH(bool, scalarNeeded);

    world::Monitor spec;
    spec.model = capabilitiesModel.left(6);
    spec.capabilities =
        QStringLiteral("(prot(monitor)type(lcd)model(%1)cmds(01 02 03))").arg(capabilitiesModel);
    spec.scalarMajor = installedMajor;
    spec.scalarMinor = installedMinor;
    spec.hubFirmware = installedHub;
    QVERIFY(world::load({spec}));
    if (!hubFile.isEmpty())
        writeStored(QStringLiteral("Hub/hub.bin"), hubFile);
    if (!scalarFile.isEmpty())
        writeStored(QStringLiteral("Scalar/scalar.bin"), scalarFile);

    show(allowDowngrade);

    QCOMPARE(lblInfo->text(), info);
    QCOMPARE(lblCurrentFW->text(), current);
    QCOMPARE(lblNewFW->text(), next.isEmpty() ? QStringLiteral("New Firmware") : next);
    QCOMPARE(lblCheckSum->text(), checksumLabel(checksumOf == "hub" ? hubFile : scalarFile));
    QCOMPARE(btnUpdate->isEnabled(), updateEnabled);
    QCOMPARE(chkOverride->isHidden(), !overrideShown);
    if (overrideShown)
        QVERIFY(chkOverride->isEnabled());
    if (updateEnabled) // a pending update leaves no box to tick
        QVERIFY(!chkOverride->isEnabled());
    QVERIFY(!chkOverride->isChecked());
    QCOMPARE(state_.hubUpdateNeeded, hubNeeded);
    QCOMPARE(state_.scalarUpdateNeeded, scalarNeeded);
    QCOMPARE(lblModelName->text(),
             hubNeeded ? QStringLiteral("LM0420") : QStringLiteral("Model Name"));
    QCOMPARE(bar1->value(), info == latestText ? bar1->maximum() : 50);
    QCOMPARE(state_.scalarVersionMajor, installedMajor);
    QCOMPARE(state_.scalarVersionMinor, installedMinor);
    QVERIFY(dialogs_.shown.isEmpty());
}

void FirmwareStatusTest::hubQueryFailureChangesNothing() {
    world::Monitor spec;
    spec.hub = false;
    QVERIFY(world::load({spec}));
    writeStored(QStringLiteral("Scalar/scalar.bin"), image(0xF902, scalarMajorOffset, 0x13, 0));
    state_.scalarVersionMajor = 0x12;
    state_.scalarUpdateNeeded = true;
    state_.hubUpdateNeeded = true;

    show();

    QCOMPARE(lblInfo->text(), scalar::hubNotDetectedText().shown());
    QVERIFY(!btnUpdate->isEnabled());
    QCOMPARE(lblCurrentFW->text(), QStringLiteral("Current Firmware"));
    QCOMPARE(lblNewFW->text(), QStringLiteral("New Firmware"));
    QCOMPARE(lblCheckSum->text(), QStringLiteral("CheckSum"));
    QVERIFY(!chkOverride->isHidden());
    QVERIFY(chkOverride->isChecked());
    QVERIFY(state_.hubUpdateNeeded);
    QVERIFY(state_.scalarUpdateNeeded);
    QCOMPARE(state_.scalarVersionMajor, 0x12);
}

void FirmwareStatusTest::unreadableScalarKeepsVersionsAndSkipsModelRule() {
    // The model text is read only after the firmware level, so without it
    // the LM0410 rule does not apply and an installed 2.0 hub stays 2.0.
    world::Monitor spec;
    spec.model = QStringLiteral("LM0410");
    spec.capabilities = QStringLiteral("(prot(monitor)model(LM0410)cmds(01))");
    spec.hubFirmware = 0x0200;
    QVERIFY(world::load({spec}));
    QVERIFY(world::fault("dropReplyPercent", 100));
    writeStored(QStringLiteral("Hub/hub.bin"), image(0x7EFB, hubMajorOffset, 1, 0x21));
    writeStored(QStringLiteral("Scalar/scalar.bin"), image(0xF902, scalarMajorOffset, 0x12, 5));
    state_.scalarVersionMajor = 0x12;
    state_.scalarVersionMinor = 3;

    show();

    QCOMPARE(state_.scalarVersionMajor, 0x12);
    QCOMPARE(state_.scalarVersionMinor, 3);
    QCOMPARE(state_.hubVersionMajor, 2);
    QCOMPARE(state_.hubVersionMinor, 0);
    QVERIFY(!state_.hubUpdateNeeded);
    QVERIFY(state_.scalarUpdateNeeded);
    QCOMPARE(lblCurrentFW->text(), QStringLiteral("Monitor FW : <b>M012REV 3</b>"));
    QCOMPARE(lblNewFW->text(), QStringLiteral("Monitor FW : <b>M012REV 5</b>"));
    QVERIFY(dialogs_.shown.isEmpty());
}

PANELUP_ISOLATED_TEST_MAIN(FirmwareStatusTest)
#include "FirmwareStatusTest.moc"
