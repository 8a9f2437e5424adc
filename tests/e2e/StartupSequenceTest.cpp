// The start-up sequence of the real window, offscreen, over the simulated
// displays, the real bridge and the virtual monitor, with the update site on
// loopback. Grouped by how the start ends.
#include "E2eFixture.h"

#include "app/Panelup.h"
#include "scalar/ScalarQueries.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace e2e;
using seams::DialogIcon;

namespace {

const QString pendingScalar = QStringLiteral("Please click \"update\" to update your firmware.");
const QString noScalarFile = QStringLiteral("Firmware file is not detected .");
const QString upToDate = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/question_mark\"> Your current firmware version is "
    "already the latest version, you don't need to update.");
const QString downloadTitle = QStringLiteral("Confirm to download new version ");
const QString firstOffer =
    QStringLiteral("A new version is available.<br>Do you want to download the lastest firmware?");
const QString newerOffer = QStringLiteral(
    "The new firmware version is found.<br>Do you want to download the lastest firmware?");
const QString multipleTitle = QStringLiteral("Can't update FW on multiple monitors");
const QString multipleText = QStringLiteral(
    "The firmware update on multiple monitors is not supported currently.<br>Please disconnect "
    "other USB cables from the monitor before updating firmware.");
const QString checksumTitle = QStringLiteral("File checksum is not correct");
const QString downloadFailedTitle = QStringLiteral("Firmware download failed");
QString downloadFailedText(const QString& file) {
    return QStringLiteral("The download of %1 failed.<br>The firmware already in place was kept. "
                          "Please try again later.")
        .arg(file);
}

QString shown(const QString& value) {
    return QStringLiteral("Monitor FW : <b>%1</b>").arg(value);
}

QString sumLabel(const QByteArray& body) {
    return QStringLiteral("0x") + QString::number(byteSum(body), 16);
}

Monitor lm0420() {
    return Monitor{};
}

Monitor monitor(const QString& model, const QString& serial, bool hub = true) {
    Monitor m;
    m.model = model;
    m.serial = serial;
    m.hub = hub;
    return m;
}

} // namespace

class StartupSequenceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void typicalStart();
    void refused_data();
    void refused();
    void noHubPaired_data();
    void noHubPaired();
    void severalPairedWithMultiMonitorTakesTheLast();
    void storedChecksums_data();
    void storedChecksums();
    void firstDownloadOffer_data();
    void firstDownloadOffer();
    void declinedDownloadIsOfferedAgainAtTheNextStart();
    void checkOnlyRecordsOnlyMatchingFiles_data();
    void checkOnlyRecordsOnlyMatchingFiles();
    void newerFirmwareOffer_data();
    void newerFirmwareOffer();
    void testSiteSwitch_data();
    void testSiteSwitch();
    void downgradeOverride_data();
    void downgradeOverride();
    void siteUnreachable_data();
    void siteUnreachable();
    void connectionWarning_data();
    void connectionWarning();
    void formKeepsItsGeometryAt96Dpi();
    void restoringTheMinimisedWindowDoesNotStartAgain();

private:
    Ui::PanelupClass& ui() { return fixture->window().ui; }
    void expectRefusal(DialogIcon icon, const QString& title, const QString& text);

    std::unique_ptr<Fixture> fixture;
};

void StartupSequenceTest::expectRefusal(DialogIcon icon, const QString& title,
                                        const QString& text) {
    const auto messages = fixture->boxes("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].icon, icon);
    QCOMPARE(messages[0].title, title);
    QCOMPARE(messages[0].text, text);
    // The box is the last thing the sequence does.
    QCOMPARE(fixture->dialogs.shown.last().title, title);
    QCOMPARE(fixture->exit.codes, std::vector<int>{0});
}

// The road of a typical run up to the Update button.
void StartupSequenceTest::typicalStart() {
    QVERIFY(fixture->loadWorld({lm0420()}));
    const SiteFile scalar = usualScalar();
    const SiteFile hub = usualHub();
    QVERIFY(fixture->storeAndRecord("LM0420", scalar, hub));
    fixture->publish("LM0420", {scalar, hub});

    fixture->start();

    QVERIFY(fixture->dialogs.shown.isEmpty());
    QVERIFY(!fixture->exited());
    app::Panelup& w = fixture->window();
    QVERIFY(w.siteReachable);
    QCOMPARE(w.modelName, QStringLiteral("LM0420"));
    QCOMPARE(QString::fromStdString(w.currentMonitor.edid.serialNumber),
             QStringLiteral("UP2160100001"));
    QCOMPARE(ui().lblModelName->text(), QStringLiteral("LM0420"));
    QCOMPARE(ui().lblCurrentFW->text(), shown("M012REV 3"));
    QCOMPARE(ui().lblNewFW->text(), shown("M012REV 5"));
    QCOMPARE(ui().lblCheckSum->text(), sumLabel(scalar.body));
    QCOMPARE(ui().lblInfo->text(), pendingScalar);
    QVERIFY(w.scalarUpdateNeeded);
    QVERIFY(!w.hubUpdateNeeded);
    QVERIFY(ui().btnUpdate->isEnabled());
    QVERIFY(ui().chkOverride->isHidden());
    QCOMPARE(ui().bar1->value(), 0);
    // The site is checked and the catalogue compared; nothing is fetched.
    QCOMPARE(fixture->server.requestedPaths(),
             (QStringList{Fixture::productionPath + "Check.htm",
                          Fixture::filePath("LM0420", "LM0420.xml")}));
    // The protocol waits were asked for, not spent.
    QVERIFY(!fixture->sleeper.waits.empty());
}

void StartupSequenceTest::refused_data() {
    QTest::addColumn<QList<Monitor>>("monitors");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const QList<Monitor> twoHubs{lm0420(), monitor("LM0520", "UP2160100002")};
    QTest::newRow("two hubs") << twoHubs << QString() << multipleTitle << multipleText;
    QTest::newRow("two hubs, MultiMonitor=true") << twoHubs << "[Others]\nMultiMonitor=true\n"
                                                 << multipleTitle << multipleText;

    // A hub of firmware 1.04 pairs a second, hubless monitor by its model.
    Monitor first = lm0420();
    first.hubFirmware = 0x0104;
    const QList<Monitor> twoPaired{first, monitor("LM0520", "UP2160100002", false)};
    QTest::newRow("two paired monitors, one hub")
        << twoPaired << QString() << multipleTitle << multipleText;
    QTest::newRow("two paired monitors, MultiMonitor=0")
        << twoPaired << "[Others]\nMultiMonitor=0\n"
        << multipleTitle << multipleText;

    QTest::newRow("unknown model")
        << QList<Monitor>{monitor("LM9999", "UP2160100001")} << QString()
        << "Can't update FW on this monitor"
        << "The firmware update is not supported currently on this monitor.";
}

void StartupSequenceTest::refused() {
    QFETCH(QList<Monitor>, monitors);
    QFETCH(QString, config);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QVERIFY(fixture->loadWorld(monitors));
    QVERIFY(fixture->writeConfig(config));
    fixture->publish("LM0420", {usualScalar(), usualHub()});

    fixture->start();

    expectRefusal(DialogIcon::Critical, title, text);
    // Nothing after the refusal: no model, no status.
    QCOMPARE(ui().lblModelName->text(), QStringLiteral("Model Name"));
    QCOMPARE(ui().lblCurrentFW->text(), QStringLiteral("Current Firmware"));
}

void StartupSequenceTest::noHubPaired_data() {
    QTest::addColumn<QList<Monitor>>("monitors");

    QTest::newRow("monitor without hub")
        << QList<Monitor>{monitor("LM0420", "UP2160100001", false)};
    Monitor stranger = lm0420();
    stranger.scalarSerial = QStringLiteral("UP2160199999");
    QTest::newRow("hub of another serial number") << QList<Monitor>{stranger};
    QTest::newRow("nothing attached") << QList<Monitor>{};
}

void StartupSequenceTest::noHubPaired() {
    QFETCH(QList<Monitor>, monitors);
    QVERIFY(fixture->loadWorld(monitors));
    QVERIFY(fixture->writeConfig("[Others]\nMultiMonitor=true\n"));
    fixture->publish("LM0420", {usualScalar(), usualHub()});

    fixture->start();

    QVERIFY(fixture->dialogs.shown.isEmpty());
    QVERIFY(!fixture->exited());
    QCOMPARE(ui().lblInfo->text(), scalar::hubNotDetectedText().shown());
    QVERIFY(ui().lblInfo->text().startsWith(
        "<img width=20 height=20 src=\":/Panelup/cross_mark\"> The detection of USB Hub"));
    QVERIFY(!ui().btnUpdate->isEnabled());
    QCOMPARE(ui().lblModelName->text(), QStringLiteral("Model Name"));
    QCOMPARE(ui().lblCurrentFW->text(), QStringLiteral("Current Firmware"));
}

void StartupSequenceTest::severalPairedWithMultiMonitorTakesTheLast() {
    Monitor first = lm0420();
    first.hubFirmware = 0x0104;
    Monitor second = monitor("LM0520", "UP2160100002", false);
    second.outputTechnology = 10;
    QVERIFY(fixture->loadWorld({first, second}));
    QVERIFY(fixture->writeConfig("[Others]\nMultiMonitor=yes\n"));

    fixture->start();

    QVERIFY(!fixture->exited());
    app::Panelup& w = fixture->window();
    QCOMPARE(w.inventory.pairedCount, 2);
    QCOMPARE(w.modelName, QStringLiteral("LM0520"));
    QCOMPARE(QString::fromStdString(w.currentModel->name()), QStringLiteral("LM0520"));
    QCOMPARE(QString::fromStdString(w.currentMonitor.edid.serialNumber),
             QStringLiteral("UP2160100002"));
    QCOMPARE(w.currentMonitor.outputTechnology, 10);
    QCOMPARE(ui().lblModelName->text(), QStringLiteral("LM0520"));
}

void StartupSequenceTest::storedChecksums_data() {
    QTest::addColumn<QByteArray>("scalarBody"); // empty: not stored
    QTest::addColumn<QString>("scalarRecord");
    QTest::addColumn<QByteArray>("hubBody"); // empty: not stored
    QTest::addColumn<QString>("hubRecord");
    QTest::addColumn<QString>("failing"); // "scalar", "Hub" or empty

    const QByteArray sum6699 = scalarImageWithSum(0x12, 5, 0x1A2B);
    const QByteArray hub = hubImage(1, 0x20);
    const QString hubSum = checksumText(hub);
    for (const char* form : {"0x1A2B", "0x1a2b", "0X1A2B", "1A2B", "1a2b"})
        QTest::newRow(qPrintable(QStringLiteral("%1 matches a sum of 6699").arg(form)))
            << sum6699 << QString(form) << hub << hubSum << QString();

    QTest::newRow("scalar does not match") << sum6699 << "0x1a2c" << hub << hubSum << "scalar";
    QTest::newRow("hub does not match") << sum6699 << "0x1a2b" << hub << "0x0001"
                                        << "Hub";
    QTest::newRow("both wrong, the scalar is reported") << sum6699 << "0x1a2c" << hub << "0x0001"
                                                        << "scalar";
    QTest::newRow("unreadable record text reads as 0")
        << sum6699 << "zz" << hub << hubSum << "scalar";
    // A named file that is missing is reported even when its record reads 0.
    QTest::newRow("scalar named but missing, record 0x00")
        << QByteArray() << "0x00" << hub << hubSum << "scalar";
    QTest::newRow("hub named but missing, record empty")
        << sum6699 << "0x1a2b" << QByteArray() << QString() << "Hub";
}

void StartupSequenceTest::storedChecksums() {
    QFETCH(QByteArray, scalarBody);
    QFETCH(QString, scalarRecord);
    QFETCH(QByteArray, hubBody);
    QFETCH(QString, hubRecord);
    QFETCH(QString, failing);
    QVERIFY(fixture->loadWorld({lm0420()}));
    if (!scalarBody.isEmpty())
        QVERIFY(fixture->store("Scalar//scalar.bin", scalarBody));
    if (!hubBody.isEmpty())
        QVERIFY(fixture->store("Hub//hub.bin", hubBody));
    fixture->recordFirmware("LM0420", "Scalar//scalar.bin", scalarRecord, "Hub//hub.bin",
                            hubRecord);

    // No site: the stored files are all there is.
    fixture->start();

    if (failing.isEmpty()) {
        QVERIFY(fixture->dialogs.shown.isEmpty());
        QVERIFY(!fixture->exited());
        QCOMPARE(ui().lblInfo->text(), pendingScalar);
        QVERIFY(ui().btnUpdate->isEnabled());
        return;
    }
    expectRefusal(DialogIcon::Information, checksumTitle, checksumBoxText(failing));
    QCOMPARE(ui().lblModelName->text(), QStringLiteral("LM0420"));
    QCOMPARE(ui().lblCurrentFW->text(), QStringLiteral("Current Firmware"));
}

void StartupSequenceTest::firstDownloadOffer_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("scalarFails");

    QTest::newRow("accepted") << true << false;
    QTest::newRow("accepted, scalar download fails") << true << true;
    QTest::newRow("declined") << false << false;
}

void StartupSequenceTest::firstDownloadOffer() {
    QFETCH(bool, accept);
    QFETCH(bool, scalarFails);
    QVERIFY(fixture->loadWorld({lm0420()}));
    const SiteFile scalar = usualScalar();
    const SiteFile hub = usualHub();
    fixture->publish("LM0420", {scalar, hub});
    if (scalarFails)
        fixture->server.misbehave(Fixture::filePath("LM0420", scalar.file),
                                  TestHttpServer::Behaviour::NotFound);
    fixture->dialogs.answer({accept, false});

    fixture->start();

    QVERIFY(!fixture->exited());
    const auto questions = fixture->boxes("question");
    QVERIFY(!questions.isEmpty());
    QCOMPARE(questions[0].title, downloadTitle);
    QCOMPARE(questions[0].text, firstOffer);
    const auto messages = fixture->boxes("message");
    QCOMPARE(messages.size(), scalarFails ? 1 : 0);
    if (scalarFails) {
        QCOMPARE(messages[0].icon, DialogIcon::Information);
        QCOMPARE(messages[0].title, downloadFailedTitle);
        QCOMPARE(messages[0].text, downloadFailedText(scalar.file));
    }
    app::Panelup& w = fixture->window();

    if (!accept) {
        QCOMPARE(fixture->server.requestCount(Fixture::filePath("LM0420", scalar.file)), 0);
        QCOMPARE(fixture->server.requestCount(Fixture::filePath("LM0420", hub.file)), 0);
        QVERIFY(!fixture->isStored(scalar.recordPath()));
        QVERIFY(w.scalarBinFile.isEmpty());
        QCOMPARE(ui().lblInfo->text(), noScalarFile);
        QVERIFY(!ui().btnUpdate->isEnabled());
        // The catalogue still lists a newer scalar: offered, and declined.
        QCOMPARE(questions.size(), 2);
        QCOMPARE(questions[1].text, newerOffer);
        return;
    }

    QCOMPARE(fixture->stored(hub.recordPath()), hub.body);
    QCOMPARE(w.hubBinFile, hub.recordPath());
    QCOMPARE(w.hubBinCheckSum, checksumText(hub.body));
    QCOMPARE(fixture->record("LM0420", "HubBinFile"), hub.recordPath());
    if (scalarFails) {
        // Nothing stored, nothing recorded: no file reaches the Update button.
        QVERIFY(!fixture->isStored(scalar.recordPath()));
        QVERIFY(w.scalarBinFile.isEmpty());
        QCOMPARE(ui().lblInfo->text(), noScalarFile);
        QVERIFY(!ui().btnUpdate->isEnabled());
        return;
    }
    QCOMPARE(questions.size(), 1);
    QCOMPARE(fixture->stored(scalar.recordPath()), scalar.body);
    QCOMPARE(w.scalarBinFile, scalar.recordPath());
    QCOMPARE(w.scalarBinCheckSum, checksumText(scalar.body));
    QCOMPARE(fixture->record("LM0420", "ScalarBinCheckSum"), checksumText(scalar.body));
    QCOMPARE(ui().lblNewFW->text(), shown("M012REV 5"));
    QCOMPARE(ui().lblCheckSum->text(), sumLabel(scalar.body));
    QCOMPARE(ui().lblInfo->text(), pendingScalar);
    QVERIFY(ui().btnUpdate->isEnabled());
}

// Declining records nothing, so the next start offers the download again.
void StartupSequenceTest::declinedDownloadIsOfferedAgainAtTheNextStart() {
    QVERIFY(fixture->loadWorld({lm0420()}));
    const SiteFile scalar = usualScalar();
    fixture->publish("LM0420", {scalar, usualHub()});
    fixture->dialogs.defaultAnswer = false;
    fixture->start();
    QVERIFY(!fixture->exited());
    QVERIFY(fixture->record("LM0420", "ScalarBinFile").isEmpty());

    fixture->dialogs.defaultAnswer = true;
    fixture->restart();

    QVERIFY(!fixture->exited());
    QVERIFY(fixture->boxes("message").isEmpty());
    const auto questions = fixture->boxes("question");
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].text, firstOffer);
    QCOMPARE(fixture->stored(scalar.recordPath()), scalar.body);
    QCOMPARE(ui().lblInfo->text(), pendingScalar);
}

void StartupSequenceTest::checkOnlyRecordsOnlyMatchingFiles_data() {
    QTest::addColumn<bool>("matches"); // the stored file has the catalogue's checksum
    QTest::newRow("stored file differs") << false;
    QTest::newRow("stored file matches") << true;
}

// A stored file that the record does not name yet, and every offer
// declined: check-only mode records it only with a checksum it really has,
// so no later start ends at the checksum test.
void StartupSequenceTest::checkOnlyRecordsOnlyMatchingFiles() {
    QFETCH(bool, matches);
    QVERIFY(fixture->loadWorld({lm0420()}));
    SiteFile scalar = usualScalar();
    QVERIFY(fixture->store(scalar.recordPath(), scalar.body));
    if (!matches)
        scalar.checksum = checksumText(static_cast<uint16_t>(byteSum(scalar.body) + 0x4e));
    fixture->publish("LM0420", {scalar, usualHub()});
    fixture->dialogs.defaultAnswer = false;

    fixture->start();
    QVERIFY(!fixture->exited());
    QCOMPARE(fixture->record("LM0420", "ScalarBinFile"), matches ? scalar.recordPath() : QString());
    fixture->restart();
    QVERIFY(!fixture->exited());
    QVERIFY(fixture->boxes("message").isEmpty());
}

void StartupSequenceTest::newerFirmwareOffer_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("keptFileMismatches");

    QTest::newRow("accepted") << true << false;
    QTest::newRow("declined") << false << false;
    QTest::newRow("accepted, a kept file does not match the catalogue") << true << true;
}

void StartupSequenceTest::newerFirmwareOffer() {
    QFETCH(bool, accept);
    QFETCH(bool, keptFileMismatches);
    QVERIFY(fixture->loadWorld({lm0420()}));
    // Installed M012 REV 3; stored and recorded the same.
    SiteFile current{"Scalar", "scalar_123.bin", "18.3", "Scalar", scalarImage(0x12, 3), {}};
    const SiteFile hub = usualHub();
    QVERIFY(fixture->storeAndRecord("LM0420", current, hub));
    SiteFile newer{"Scalar", "scalar_125.bin", "18.5", "Scalar", scalarImage(0x12, 5), {}};
    SiteFile newerHub = hub;
    if (keptFileMismatches) {
        // The hub is what is new; the scalar entry has no version and a
        // checksum that its file does not have.
        current.version.clear();
        current.checksum = QStringLiteral("0x0001");
        newerHub = SiteFile{"Hub", "hub_121.bin", "1.21", "Hub", hubImage(1, 0x21), {}};
        fixture->publish("LM0420", {current, newerHub});
    } else {
        fixture->publish("LM0420", {newer, hub});
    }
    fixture->dialogs.answer({accept});

    fixture->start();

    const auto questions = fixture->boxes("question");
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].title, downloadTitle);
    QCOMPARE(questions[0].text, newerOffer);
    app::Panelup& w = fixture->window();

    if (keptFileMismatches) {
        // The file is fetched again and fails the catalogue's checksum: the
        // stored file and its record stay, the user is told, the program
        // goes on instead of refusing at every later start.
        QCOMPARE(fixture->stored(newerHub.recordPath()), newerHub.body);
        QCOMPARE(fixture->stored(current.recordPath()), current.body);
        QCOMPARE(w.scalarBinCheckSum, checksumText(current.body));
        QVERIFY(!fixture->exited());
        const auto messages = fixture->boxes("message");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, downloadFailedTitle);
        QCOMPARE(messages[0].text, downloadFailedText(current.file));
        fixture->restart();
        QVERIFY(!fixture->exited());
        return;
    }
    QVERIFY(!fixture->exited());
    QVERIFY(fixture->boxes("message").isEmpty());
    if (!accept) {
        QVERIFY(!fixture->isStored(newer.recordPath()));
        QCOMPARE(w.scalarBinFile, current.recordPath());
        QCOMPARE(fixture->record("LM0420", "ScalarBinFile"), current.recordPath());
        QCOMPARE(ui().lblInfo->text(), upToDate);
        QVERIFY(!ui().btnUpdate->isEnabled());
        return;
    }
    QCOMPARE(fixture->stored(newer.recordPath()), newer.body);
    QCOMPARE(w.scalarBinFile, newer.recordPath());
    QCOMPARE(w.scalarBinCheckSum, checksumText(newer.body));
    QCOMPARE(ui().lblCurrentFW->text(), shown("M012REV 3"));
    QCOMPARE(ui().lblNewFW->text(), shown("M012REV 5"));
    QCOMPARE(ui().lblInfo->text(), pendingScalar);
    QVERIFY(ui().btnUpdate->isEnabled());
    QVERIFY(w.scalarUpdateNeeded);
}

void StartupSequenceTest::testSiteSwitch_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<bool>("testSite");

    QTest::newRow("Site=true") << "[Others]\nSite=true\n" << true;
    QTest::newRow("Site=1") << "[Others]\nSite=1\n" << true;
    QTest::newRow("Site=yes") << "[Others]\nSite=yes\n" << true;
    QTest::newRow("Site=TRUE") << "[Others]\nSite=TRUE\n" << true;
    QTest::newRow("Site=false") << "[Others]\nSite=false\n" << false;
    QTest::newRow("Site=FALSE") << "[Others]\nSite=FALSE\n" << false;
    QTest::newRow("Site=0") << "[Others]\nSite=0\n" << false;
    QTest::newRow("Site=") << "[Others]\nSite=\n" << false;
    QTest::newRow("no Config.ini") << QString() << false;
}

void StartupSequenceTest::testSiteSwitch() {
    QFETCH(QString, config);
    QFETCH(bool, testSite);
    QVERIFY(fixture->loadWorld({lm0420()}));
    if (!config.isEmpty())
        QVERIFY(fixture->writeConfig(config));
    fixture->publish("LM0420", {usualScalar(), usualHub()}, Fixture::productionPath);
    fixture->publish("LM0420", {usualScalar(), usualHub()}, Fixture::testPath);
    fixture->dialogs.defaultAnswer = true;

    fixture->start();

    const QString base = testSite ? Fixture::testPath : Fixture::productionPath;
    const QStringList requested = fixture->server.requestedPaths();
    // The check page, the catalogue of the first download, both files and
    // the catalogue comparison: every one on the chosen site.
    QCOMPARE(requested.size(), 5);
    for (const QString& path : requested)
        QVERIFY2(path.startsWith(base), qPrintable(path));
    QCOMPARE(fixture->window().useTestSite, testSite);
    QVERIFY(fixture->window().siteBaseUrl.endsWith(base.toUtf8()));
    QCOMPARE(ui().lblInfo->text(), pendingScalar);
}

void StartupSequenceTest::downgradeOverride_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<bool>("offered");

    QTest::newRow("AllowDowngrade=true") << "[Others]\nAllowDowngrade=true\n" << true;
    QTest::newRow("AllowDowngrade=Yes") << "[Others]\nAllowDowngrade=Yes\n" << true;
    QTest::newRow("AllowDowngrade=False") << "[Others]\nAllowDowngrade=False\n" << false;
    QTest::newRow("AllowDowngrade absent") << "[Others]\nSite=0\n" << false;
}

void StartupSequenceTest::downgradeOverride() {
    QFETCH(QString, config);
    QFETCH(bool, offered);
    QVERIFY(fixture->loadWorld({lm0420()}));
    QVERIFY(fixture->writeConfig(config));
    // Stored as installed: M012 REV 3, hub 1.20.
    const SiteFile same{"Scalar", "scalar_123.bin", "18.3", "Scalar", scalarImage(0x12, 3), {}};
    QVERIFY(fixture->storeAndRecord("LM0420", same, usualHub()));
    fixture->publish("LM0420", {same, usualHub()});

    fixture->start();

    QVERIFY(fixture->dialogs.shown.isEmpty());
    QVERIFY(!fixture->exited());
    QCOMPARE(fixture->window().allowDowngrade, offered);
    QCOMPARE(ui().lblInfo->text(), upToDate);
    QVERIFY(!ui().btnUpdate->isEnabled());
    QCOMPARE(ui().chkOverride->isVisible(), offered);
    if (!offered)
        return;
    QVERIFY(ui().chkOverride->isEnabled());
    QVERIFY(fixture->window().scalarUpdateNeeded);
    ui().chkOverride->setChecked(true);
    QVERIFY(ui().btnUpdate->isEnabled());
    ui().chkOverride->setChecked(false);
    QVERIFY(!ui().btnUpdate->isEnabled());
}

void StartupSequenceTest::siteUnreachable_data() {
    QTest::addColumn<bool>("filesStored");
    QTest::newRow("files stored") << true;
    QTest::newRow("nothing stored") << false;
}

void StartupSequenceTest::siteUnreachable() {
    QFETCH(bool, filesStored);
    QVERIFY(fixture->loadWorld({lm0420()}));
    if (filesStored)
        QVERIFY(fixture->storeAndRecord("LM0420", usualScalar(), usualHub()));
    // The catalogue answers, but the check page does not.
    fixture->publish("LM0420", {usualScalar(), usualHub()});
    fixture->server.misbehave(Fixture::productionPath + "Check.htm",
                              TestHttpServer::Behaviour::NotFound);

    fixture->start();

    QVERIFY(fixture->dialogs.shown.isEmpty());
    QVERIFY(!fixture->exited());
    QVERIFY(!fixture->window().siteReachable);
    QCOMPARE(fixture->server.requestedPaths(), QStringList{Fixture::productionPath + "Check.htm"});
    QCOMPARE(ui().lblInfo->text(), filesStored ? pendingScalar : noScalarFile);
    QCOMPARE(ui().btnUpdate->isEnabled(), filesStored);
}

void StartupSequenceTest::connectionWarning_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<int>("output");
    QTest::addColumn<bool>("warned");

    QTest::newRow("LM0530 on DisplayPort") << "LM0530"
                                           << "LM0530 SERIES" << 10 << true;
    QTest::newRow("LM0530 on USB Type-C (unknown)") << "LM0530"
                                                    << "LM0530 SERIES" << -1 << true;
    QTest::newRow("LM0530 on HDMI") << "LM0530"
                                    << "LM0530 SERIES" << 5 << false;
    QTest::newRow("LM0420 on DisplayPort") << "LM0420"
                                           << "LM0420" << 10 << false;
}

void StartupSequenceTest::connectionWarning() {
    QFETCH(QString, model);
    QFETCH(QString, displayName);
    QFETCH(int, output);
    QFETCH(bool, warned);
    Monitor m = monitor(model, "U8K140100001");
    m.displayName = displayName;
    m.outputTechnology = output;
    QVERIFY(fixture->loadWorld({m}));

    fixture->start();

    QVERIFY(!fixture->exited());
    QCOMPARE(fixture->window().modelName, model);
    if (!warned) {
        QVERIFY(fixture->dialogs.shown.isEmpty());
        return;
    }
    QCOMPARE(fixture->dialogs.shown.size(), 1);
    QCOMPARE(fixture->dialogs.shown[0].icon, DialogIcon::Information);
    QCOMPARE(fixture->dialogs.shown[0].title, QStringLiteral("Update firmware warning"));
    QCOMPARE(fixture->dialogs.shown[0].text,
             QStringLiteral("WARNING!<br>DOES NOT support firmware updates via USB Type-C port. "
                            "Suggest to connect to HDMI / DP port or USB Type-B port for "
                            "updates."));
    // A warning only: the window is left as the status made it.
    QCOMPARE(ui().lblInfo->text(), noScalarFile);
}

void StartupSequenceTest::formKeepsItsGeometryAt96Dpi() {
    QVERIFY(fixture->loadWorld({lm0420()}));
    fixture->start();
    QCOMPARE(fixture->window().size(), QSize(644, 362));
    QCOMPARE(ui().lblTitle->geometry(), QRect(174, 5, 461, 41));
    QCOMPARE(ui().bar1->geometry(), QRect(20, 220, 601, 23));
}

void StartupSequenceTest::restoringTheMinimisedWindowDoesNotStartAgain() {
    QVERIFY(fixture->loadWorld({monitor("LM9999", "UP2160100001")}));
    fixture->publish("LM0420", {});
    fixture->start();
    QCOMPARE(fixture->dialogs.shown.size(), 1);

    fixture->window().setWindowState(Qt::WindowMinimized);
    fixture->window().setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();

    QCOMPARE(fixture->dialogs.shown.size(), 1);
    QCOMPARE(fixture->server.requestCount(Fixture::productionPath + "Check.htm"), 1);
}

PANELUP_E2E_TEST_MAIN(StartupSequenceTest)
#include "StartupSequenceTest.moc"
