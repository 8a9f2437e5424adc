// The Update button of the real window, offscreen, over the simulated
// displays, the real bridge and the virtual monitor's firmware writers.
#include "E2eFixture.h"

#include "VirtualMonitorControl.h"
#include "app/Panelup.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <algorithm>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace e2e;
using seams::DialogIcon;

namespace {

const QString confirmTitle = QStringLiteral("Confirm to update firmware");
const QString updateQuestion =
    QStringLiteral("Are you sure you want to update your firmware to the latest version?");
const QString downgradeQuestion =
    QStringLiteral("Are you sure you want to downgrade your firmware to the old version?");
const QString upToDate = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/question_mark\"> Your current firmware version is "
    "already the latest version, you don't need to update.");
const QString crossMark = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/cross_mark\">The detection of USB Hub is not "
    "configured correctly, please close the application and retry again, then unplug & replug "
    "the USB cable to try again.");

// The platform of the fixture with the keep-awake requests recorded.
class RecordingPlatform : public platform::Platform {
public:
    class Requests : public platform::KeepAwake {
    public:
        void begin() override { calls << QStringLiteral("begin"); }
        void end() override { calls << QStringLiteral("end"); }
        QStringList calls;
    };

    RecordingPlatform() : inner_(platform::current()) { platform::setCurrent(this); }
    platform::DisplaySystem& displays() override { return inner_.displays(); }
    platform::SingleInstance& singleInstance() override { return inner_.singleInstance(); }
    platform::KeepAwake& keepAwake() override { return keepAwake_; }
    std::optional<platform::FileVersion> fileVersion(const std::string& path) override {
        return inner_.fileVersion(path);
    }
    QStringList calls() const { return keepAwake_.calls; }

private:
    platform::Platform& inner_;
    Requests keepAwake_;
};

struct Written {
    int length = 0; // 0 when nothing was written
    QList<int> parameters;
};

Written lastWrite(int kind) {
    int32_t length = 0;
    int32_t p[5] = {};
    VM_LastUpdateArguments(kind, &length, p);
    return {length, {p[0], p[1], p[2], p[3], p[4]}};
}

QPair<int, int> scalarFirmware() {
    int32_t major = 0;
    int32_t minor = 0;
    VM_GetScalarFirmware(0, &major, &minor);
    return {major, minor};
}

std::vector<uint8_t> memory(int address) {
    std::vector<uint8_t> bytes(256);
    VM_ReadMemory(0, address, bytes.data(), 256);
    return bytes;
}

// The fixed waits of the update among the protocol's own short ones.
std::vector<unsigned long> updateWaits(const std::vector<unsigned long>& waits) {
    std::vector<unsigned long> long_;
    std::copy_if(waits.begin(), waits.end(), std::back_inserter(long_),
                 [](unsigned long ms) { return ms >= 1000; });
    return long_;
}

} // namespace

class FirmwareUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typicalRoad();
    void hubThenScalar();
    void declinedChangesNothing();
    void missingFirmwareRefused();
    void downgradeWritesTheStoredFile();
    void wholeRoadWritesOnlyItsLogsInTheTemporaryFolder();
    void closeWaitsForTheWrites();

private:
    Ui::PanelupClass& ui() { return fixture->window().ui; }
    // Starts with the usual files stored and published.
    void startWith(const SiteFile& scalar, const SiteFile& hub, const Monitor& monitor = {});
    void clickUpdate();

    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<RecordingPlatform> platform;
    QList<int> progress;
};

void FirmwareUpdateTest::init() {
    fixture = std::make_unique<Fixture>();
    platform = std::make_unique<RecordingPlatform>();
    progress.clear();
}

void FirmwareUpdateTest::cleanup() {
    fixture.reset();
    platform.reset();
}

void FirmwareUpdateTest::startWith(const SiteFile& scalar, const SiteFile& hub,
                                   const Monitor& monitor) {
    QVERIFY(fixture->loadWorld({monitor}));
    QVERIFY(fixture->storeAndRecord(monitor.model, scalar, hub));
    fixture->publish(monitor.model, {scalar, hub});
    fixture->start();
    QVERIFY(!fixture->exited());
    QVERIFY(fixture->dialogs.shown.isEmpty());
    connect(ui().bar1, &QProgressBar::valueChanged, this, [this](int v) { progress << v; });
}

void FirmwareUpdateTest::clickUpdate() {
    fixture->sleeper.clear();
    fixture->dialogs.clear();
    QVERIFY(ui().btnUpdate->isEnabled());
    QTest::mouseClick(ui().btnUpdate, Qt::LeftButton);
}

// The road of a typical run, from the Update button to the OSD reset.
void FirmwareUpdateTest::typicalRoad() {
    startWith(usualScalar(), usualHub());
    // The monitor's own EDID, and a blank copy area for the repair.
    QFile edid(QStringLiteral(PANELUP_TEST_DATA "/edid/LM0510_B.bin"));
    QVERIFY(edid.open(QIODevice::ReadOnly));
    const QByteArray source = edid.readAll();
    VM_WriteMemory(0, 0x0500, reinterpret_cast<const uint8_t*>(source.constData()), 256);
    fixture->dialogs.answer({true, true});
    // Left over from before, so that the write's 0 shows as a change.
    ui().bar1->setValue(37);
    progress.clear();

    clickUpdate();

    // Confirmation, the offer and the reset's notice, nothing else.
    const auto& shown = fixture->dialogs.shown;
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].title, confirmTitle);
    QCOMPARE(shown[0].text, updateQuestion);
    QCOMPARE(shown[1].kind, QStringLiteral("choice"));
    QCOMPARE(shown[1].icon, DialogIcon::NoIcon);
    QCOMPARE(shown[1].title, QStringLiteral("Update Firmware"));
    QCOMPARE(shown[1].text,
             QStringLiteral("Your monitor firmware was updated successfully.\nSuggest "
                            "to reset OSD setting to default."));
    QCOMPARE(shown[1].yesLabel, QStringLiteral("Reset OSD Setting"));
    QCOMPARE(shown[1].noLabel, QStringLiteral("Exit"));
    QCOMPARE(shown[2].icon, DialogIcon::Information);
    QCOMPARE(shown[2].title, QStringLiteral("OSD Settings Reset"));
    QCOMPARE(shown[2].text,
             QStringLiteral("Your monitor OSD Settings has been reset successfully."));

    // The repair came first: the copy area holds the source, marked.
    const std::vector<uint8_t> copy = memory(0x1200);
    QCOMPARE(int(copy[12]), 21);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(copy.data()) + 13, 114), source.mid(13, 114));
    QVERIFY(QFile::exists(QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                          QStringLiteral("/Panelup_edid_backup.txt")));

    QCOMPARE(lastWrite(1).length, usualScalar().body.size());
    QCOMPARE(lastWrite(1).parameters, (QList<int>{0xFE19, 0x1029, 1, 16, 16}));
    QCOMPARE(lastWrite(0).length, 0);
    QCOMPARE(scalarFirmware(), qMakePair(0x12, 5));
    // The write ran the bar from 0 to 100; the status refresh leaves it full.
    QCOMPARE(progress.first(), 0);
    QVERIFY(progress.contains(100));
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QCOMPARE(updateWaits(fixture->sleeper.waits), (std::vector<unsigned long>{8000, 3000}));
    QCOMPARE(VM_FactoryResetCount(0), 1);

    // The refreshed status shows the new version as installed.
    QCOMPARE(ui().lblCurrentFW->text(), QStringLiteral("Monitor FW : <b>M012</b>"));
    QCOMPARE(ui().lblInfo->text(), upToDate);
    QVERIFY(!ui().btnUpdate->isEnabled());
    QVERIFY(ui().btnExit->isEnabled());
    QCOMPARE(platform->calls(), (QStringList{"begin", "end"}));
}

void FirmwareUpdateTest::hubThenScalar() {
    SiteFile hub = usualHub();
    hub.body = hubImage(1, 0x24);
    hub.version = QStringLiteral("1.24");
    startWith(usualScalar(), hub);
    QVERIFY(fixture->window().hubUpdateNeeded);
    fixture->dialogs.answer({true, false});

    clickUpdate();

    QCOMPARE(VM_GetHubFirmware(0), 0x0124);
    QCOMPARE(scalarFirmware(), qMakePair(0x12, 5));
    QCOMPARE(lastWrite(0).length, hub.body.size());
    QCOMPARE(updateWaits(fixture->sleeper.waits), (std::vector<unsigned long>{1300, 8000}));
    QCOMPARE(fixture->dialogs.titles(), (QStringList{confirmTitle, "Update Firmware"}));
    QCOMPARE(VM_FactoryResetCount(0), 0);
    QVERIFY(ui().chkOverride->isHidden());
    QVERIFY(ui().btnExit->isEnabled());
    QCOMPARE(platform->calls(), (QStringList{"begin", "end"}));
}

// Alt+F4 or the window manager's close during a write would otherwise end
// the program with the monitor half written.
void FirmwareUpdateTest::closeWaitsForTheWrites() {
    SiteFile hub = usualHub();
    hub.body = hubImage(1, 0x24);
    hub.version = QStringLiteral("1.24");
    startWith(usualScalar(), hub);
    fixture->dialogs.answer({true, false});
    int asked = 0;
    const auto closer = connect(ui().bar1, &QProgressBar::valueChanged, this, [&](int value) {
        if (value > 0 && value < 100 && !ui().btnExit->isEnabled()) {
            ++asked;
            fixture->window().close();
        }
    });

    clickUpdate();
    disconnect(closer);

    QVERIFY(asked >= 2); // in both writes
    QVERIFY(!fixture->exited());
    QCOMPARE(VM_GetHubFirmware(0), 0x0124);
    QCOMPARE(scalarFirmware(), qMakePair(0x12, 5));
    // Written, the window closes as ever.
    fixture->window().close();
    QVERIFY(fixture->exited());
}

void FirmwareUpdateTest::declinedChangesNothing() {
    startWith(usualScalar(), usualHub());
    const QString info = ui().lblInfo->text();
    fixture->dialogs.answer({false});

    clickUpdate();

    QCOMPARE(fixture->dialogs.titles(), QStringList{confirmTitle});
    QCOMPARE(ui().lblInfo->text(), info);
    QVERIFY(ui().btnUpdate->isEnabled());
    QVERIFY(ui().btnExit->isEnabled());
    QCOMPARE(lastWrite(1).length, 0);
    QVERIFY(fixture->sleeper.waits.empty());
    QVERIFY(platform->calls().isEmpty());
}

void FirmwareUpdateTest::missingFirmwareRefused() {
    startWith(usualScalar(), usualHub());
    // Gone after the start-up checks passed.
    QVERIFY(
        QFile::remove(fixture->programFolder() + QLatin1Char('/') + usualScalar().recordPath()));

    clickUpdate();

    const auto messages = fixture->boxes("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Update Firmware Failed"));
    QVERIFY(messages[0].text.contains(QStringLiteral("LM0420_scalar.bin")));
    QCOMPARE(lastWrite(1).length, 0);
    QCOMPARE(scalarFirmware(), qMakePair(0x12, 3));
    QVERIFY(ui().btnExit->isEnabled());
    QVERIFY(fixture->boxes("choice").isEmpty());
    QCOMPARE(platform->calls(), (QStringList{"begin", "end"}));
}

void FirmwareUpdateTest::downgradeWritesTheStoredFile() {
    QVERIFY(fixture->writeConfig(QStringLiteral("[Others]\nAllowDowngrade=true\n")));
    Monitor newer;
    newer.scalarMinor = 7;
    startWith(usualScalar(), usualHub(), newer);
    QCOMPARE(ui().lblInfo->text(), upToDate);
    QVERIFY(!ui().btnUpdate->isEnabled());
    QVERIFY(ui().chkOverride->isVisible());
    ui().chkOverride->click();
    fixture->dialogs.answer({true, false});

    clickUpdate();

    QCOMPARE(fixture->dialogs.shown[0].text, downgradeQuestion);
    QCOMPARE(lastWrite(1).length, usualScalar().body.size());
    QCOMPARE(scalarFirmware(), qMakePair(0x12, 5));
    QCOMPARE(fixture->dialogs.titles(), (QStringList{confirmTitle, "Update Firmware"}));
}

// From the first download to the written firmware: the temporary folder is
// the user's (on Windows, the one who approved the elevation prompt), so the
// program keeps there only the logs support staff look for; downloads go
// through AutoUpdate beside the program on Windows, and through the user's
// own private folder on Linux, where the program is not elevated.
void FirmwareUpdateTest::wholeRoadWritesOnlyItsLogsInTheTemporaryFolder() {
    const QString temp = IsolatedTempDir::active()->path();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-2);
    QVERIFY(fixture->loadWorld({Monitor{}}));
    fixture->publish(QStringLiteral("LM0420"), {usualScalar(), usualHub()});
    // The download offer, the update's confirmation, the OSD reset offer.
    fixture->dialogs.answer({true, true, false});
    fixture->start();
    QCOMPARE(fixture->dialogs.titles().value(0),
             QStringLiteral("Confirm to download new version "));
    QVERIFY(fixture->isStored(usualScalar().recordPath()));

    clickUpdate();

    QCOMPARE(scalarFirmware(), qMakePair(0x12, 5));
    QStringList written;
    for (QDirIterator it(temp,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        written << QDir(temp).relativeFilePath(it.next());
    written.sort();
#ifdef Q_OS_WIN
    const QString downloads =
        QCoreApplication::applicationDirPath() + QStringLiteral("/AutoUpdate");
#else
    const QString downloads = temp + QStringLiteral("/AutoUpdate-") + QString::number(::geteuid());
#endif
    // The trace log, when the run keeps one, and on Linux the downloads.
    QVERIFY2(std::all_of(written.begin(), written.end(),
                         [&](const QString& name) {
                             return name == QLatin1String("Panelup_log.txt") ||
                                    (temp + QLatin1Char('/') + name).startsWith(downloads);
                         }),
             qPrintable(written.join(QLatin1Char('\n'))));
    // The catalogue fetched on this road lies in the download folder.
    const QFileInfo catalogue(downloads + QStringLiteral("/LM0420.xml"));
    QVERIFY2(catalogue.exists() && catalogue.lastModified().toUTC() >= before,
             qPrintable(catalogue.filePath()));
}

PANELUP_E2E_TEST_MAIN(FirmwareUpdateTest)
#include "FirmwareUpdateTest.moc"
