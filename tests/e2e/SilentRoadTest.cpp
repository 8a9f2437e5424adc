// The unattended run of the real demo program over the virtual monitor and
// the update site on loopback: its exit code, what the virtual monitor holds
// afterwards, its request log and the /l result log. The test lives in a
// network namespace of its own, so the demo's fixed site port is its alone.
#include "E2eFixture.h"
#include "PrivateNamespaces.h"
#include "TestFiles.h"
#include "VirtualWorld.h"
#include "platform/Platform.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

using e2e::Fixture;
using e2e::Monitor;
using e2e::SiteFile;

namespace {

const QString model = QStringLiteral("LM0420");

// What a row's world has besides its monitors.
enum class Special {
    None,
    NoVendorLibrary, // the program's folder holds no libTxHubLib.so
    SiteDown,        // nothing listens at the site's port
    DamagedDownload, // the scalar file does not match the catalogue's checksum
    CorruptedStore,  // the stored scalar file does not match its record
    HubWriteFails,   // the hub write fails half way
    SecondCopy,      // another copy holds the single-instance marker and writes the same /l
    ReadOnlyFolder,  // the program folder is mounted read-only: nothing can be stored
    AllowDowngrade,  // Config.ini's Others/AllowDowngrade=1
    HubNotBack,      // the hub does not come back after its firmware write
    FirmwareStays,   // the writes end well, the monitor keeps its old firmware
};

struct Held {
    int scalarMinor = -1;
    int hub = -1;
};

SiteFile newerHub() {
    SiteFile hub = e2e::usualHub();
    hub.version = QStringLiteral("1.22");
    hub.body = e2e::hubImage(1, 0x22);
    return hub;
}

Monitor lm0420(int scalarMinor, int hub, const QString& serial = QStringLiteral("UP2160100001")) {
    Monitor m;
    m.scalarMinor = scalarMinor;
    m.hubFirmware = hub;
    m.serial = serial;
    return m;
}

// What the virtual monitor holds after the runs: its saved state, or what it
// was given when nothing changed.
Held held(const QString& folder, const Monitor& given) {
    const QByteArray state = readAll(folder + QStringLiteral("/virtual-monitor.json.state.json"));
    if (state.isEmpty())
        return {given.scalarMinor, given.hubFirmware};
    const QJsonObject first = QJsonDocument::fromJson(state)
                                  .object()
                                  .value(QStringLiteral("monitors"))
                                  .toArray()
                                  .at(0)
                                  .toObject();
    return {first.value(QStringLiteral("scalarFirmware")).toArray().at(1).toInt(),
            first.value(QStringLiteral("hubFirmware")).toInt()};
}

// The requests that change the monitor: firmware writes, memory writes and
// Set VCP (the factory reset).
QStringList changingRequests(const QString& folder) {
    static const QRegularExpression changes(
        QStringLiteral("^(UpdateFW |UpdateScalar |CtlPipeOut .*\\| [0-9A-F]{2} (C0 02|03) )"));
    QStringList found;
    const QString log = QString::fromUtf8(readAll(folder + QStringLiteral("/requests.log")));
    for (const QString& line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (changes.match(line).hasMatch())
            found << line;
    return found;
}

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The demo program from folder, without a display and with no Qt platform
// chosen from outside; a run that shows a box would wait, so it is bounded.
Run runDemo(const QString& folder, const QStringList& arguments,
            const QString& libraryPath = QString()) {
    QProcess demo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    if (!libraryPath.isEmpty())
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), libraryPath);
    demo.setProcessEnvironment(environment);
    demo.start(folder + QStringLiteral("/PanelupDemo"), arguments);
    // The site answers from this process: its events go on while waiting.
    QEventLoop loop;
    QObject::connect(&demo, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    if (demo.state() != QProcess::NotRunning)
        loop.exec();
    Run run;
    if (demo.state() != QProcess::NotRunning) {
        demo.kill();
        demo.waitForFinished();
        run.err = "the run did not end within two minutes";
        return run;
    }
    run.code = demo.exitStatus() == QProcess::NormalExit ? demo.exitCode() : -1;
    run.out = demo.readAllStandardOutput();
    run.err = demo.readAllStandardError();
    return run;
}

bool installDemo(const QString& folder, bool withVirtualMonitor) {
    const QStringList files = {QStringLiteral(PANELUP_DEMO_PROGRAM),
                               QStringLiteral(PANELUP_HUBBRIDGE_LIBRARY)};
    for (QString file : files + QStringList{QStringLiteral(PANELUP_VIRTUAL_MONITOR_LIBRARY)}) {
        if (!withVirtualMonitor && file == QLatin1String(PANELUP_VIRTUAL_MONITOR_LIBRARY))
            continue;
        const QString target = folder + QLatin1Char('/') + QFileInfo(file).fileName();
        QFile::remove(target);
        if (!QFile::copy(file, target) ||
            !QFile::setPermissions(target, QFileInfo(file).permissions()))
            return false;
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Special)

class SilentRoadTest : public QObject {
    Q_OBJECT

private slots:
    void silentRun_data() {
        QTest::addColumn<QList<Monitor>>("monitors");
        QTest::addColumn<Special>("special");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("scalarAfter");
        QTest::addColumn<int>("hubAfter");
        QTest::addColumn<int>("secondCode"); // a second run with the same switches; -1: none
        QTest::addColumn<QStringList>("logged");

        const QList<Monitor> old = {lm0420(3, 0x0120)};
        const QList<Monitor> current = {lm0420(5, 0x0122)};
        const QList<Monitor> newer = {lm0420(7, 0x0122)};
        const QStringList s = {QStringLiteral("/s")};
        auto row = [](const char* name, const QList<Monitor>& monitors, Special special,
                      const QStringList& switches, int code, int scalarAfter, int hubAfter,
                      int secondCode, const QStringList& logged) {
            QTest::newRow(name) << monitors << special << switches << code << scalarAfter
                                << hubAfter << secondCode << logged;
        };
        const Special none = Special::None;

        row("updated, then nothing to do", old, none, s, 0, 5, 0x0122, 3,
            {"box \"Confirm to download new version\": A new version is available. Do you want to "
             "download the lastest firmware? -> Yes",
             "monitor: LM0420, serial UP2160100001, hub firmware 1.20, scalar firmware M012 REV 3",
             "box \"Confirm to update firmware\": Are you sure you want to update your firmware to "
             "the latest version? -> Yes",
             "wrote: hub firmware Hub//LM0420_hub.bin written",
             "wrote: scalar firmware Scalar//LM0420_scalar.bin written",
             "box \"Update Firmware\": Your monitor firmware was updated successfully. Suggest to "
             "reset OSD setting to default. -> Exit",
             "monitor now: LM0420, serial UP2160100001, hub firmware 1.22, scalar firmware M012 "
             "REV 5",
             "result=0 updated"});
        row("check: an update applies", old, none, {"/S", "-c"}, 0, 3, 0x0120, 0,
            {"monitor: LM0420, serial UP2160100001, hub firmware 1.20, scalar firmware M012 REV 3",
             "result=0 update-available"});
        row("check: up to date", current, none, {"--silent", "--check"}, 3, 5, 0x0122, -1,
            {"result=3 no-update"});
        row("up to date", current, none, s, 3, 5, 0x0122, -1,
            {"window: Your current firmware version is already the latest version, you don't "
             "need to update.",
             "result=3 nothing-to-do"});
        row("older firmware refused", newer, none, s, 3, 7, 0x0122, -1, {"result=3 nothing-to-do"});
        row("older firmware with /f", newer, none, {"/s", "/F"}, 0, 5, 0x0122, 3,
            {"older firmware allowed (/f): scalar M012 REV 5 over M012 REV 7",
             "wrote: scalar firmware Scalar//LM0420_scalar.bin written", "result=0 updated"});
        row("no monitor", {}, none, s, 4, -1, -1, -1,
            {"found: monitors 0, hubs 0, paired 0", "result=4 nothing-supported"});
        Monitor noHub = lm0420(3, 0x0120);
        noHub.hub = false;
        row("no hub", {noHub}, none, s, 4, 3, 0x0120, -1,
            {"window: The detection of USB Hub is not configured correctly.",
             "result=4 nothing-supported"});
        Monitor second = lm0420(3, 0x0120, QStringLiteral("UP2160100002"));
        second.port = 4;
        row("two monitors", {lm0420(3, 0x0120), second}, none, s, 8, 3, 0x0120, -1,
            {"found: monitors 2, hubs 2, paired 2",
             "box \"Can't update FW on multiple monitors\": The firmware update on multiple "
             "monitors is not supported currently. Please disconnect other USB cables",
             "result=8 several-monitors"});
        Monitor unknown = lm0420(3, 0x0120);
        unknown.model = QStringLiteral("LM9999");
        row("unknown model", {unknown}, none, s, 4, 3, 0x0120, -1,
            {"box \"Can't update FW on this monitor\": The firmware update is not supported "
             "currently on this monitor.",
             "result=4 nothing-supported"});
        row("no vendor library", old, Special::NoVendorLibrary, s, 4, 3, 0x0120, -1,
            {"result=4 nothing-supported"});
        row("site down", old, Special::SiteDown, s, 5, 3, 0x0120, -1,
            {"reason: update site not reachable", "result=5 site-failed"});
        row("damaged download", old, Special::DamagedDownload, s, 5, 3, 0x0120, -1,
            {"box \"Firmware download failed\": The download of LM0420_scalar.bin failed. The "
             "firmware already in place was kept.",
             "result=5 site-failed"});
        row("corrupted stored file", old, Special::CorruptedStore, s, 7, 3, 0x0120, -1,
            {"box \"File checksum is not correct\": The scalar firmware file is either not found "
             "or corrupted,",
             "result=7 stored-firmware-corrupted"});
        row("hub write fails part way", old, Special::HubWriteFails, s, 1, 3, 0x0120, -1,
            {"wrote: hub firmware Hub//LM0420_hub.bin write failed (result 4)",
             "box \"Update Hub FW Failed\"", "result=1 failed"});
        row("second copy, one /l", old, Special::SecondCopy, s, 6, 3, 0x0120, -1,
            {"result=6 already-running"});
        row("program folder read-only", old, Special::ReadOnlyFolder, s, 1, 3, 0x0120, -1,
            {"found: monitors 1, hubs 1, paired 1",
             "window: The firmware could not be stored: the program folder cannot be written",
             "reason: firmware not stored: the program folder cannot be written",
             "result=1 failed"});
        row("AllowDowngrade with a pending hub update", {lm0420(5, 0x0120)},
            Special::AllowDowngrade, s, 0, 5, 0x0122, -1,
            {"wrote: hub firmware Hub//LM0420_hub.bin written",
             "scalar firmware left as it is: stored M012 REV 5, installed M012 REV 5",
             "result=0 updated"});
        row("the monitor keeps its old firmware", {lm0420(3, 0x0122)}, Special::FirmwareStays, s, 1,
            3, 0x0122, -1,
            {"wrote: scalar firmware Scalar//LM0420_scalar.bin written",
             "monitor now: LM0420, serial UP2160100001, hub firmware 1.22, scalar firmware M012 "
             "REV 3",
             "reason: the monitor reports scalar firmware M012 REV 3, written M012 REV 5",
             "result=1 failed"});
        row("hub does not come back", old, Special::HubNotBack, s, 1, 3, 0x0122, -1,
            {"wrote: hub firmware Hub//LM0420_hub.bin written",
             "reason: the hub did not answer after its firmware was written", "result=1 failed"});
    }

    void silentRun() {
        QFETCH(QList<Monitor>, monitors);
        QFETCH(Special, special);
        QFETCH(QStringList, switches);
        QFETCH(int, code);
        QFETCH(int, scalarAfter);
        QFETCH(int, hubAfter);
        QFETCH(int, secondCode);
        QFETCH(QStringList, logged);
        Fixture fixture;
        const QString folder = fixture.programFolder();
        QVERIFY(installDemo(folder, special != Special::NoVendorLibrary));
        QJsonObject settings{{QStringLiteral("persistState"), true},
                             {QStringLiteral("requestLogFile"), QStringLiteral("requests.log")}};
        if (special == Special::HubWriteFails)
            settings.insert(QStringLiteral("faults"),
                            QJsonObject{{QStringLiteral("firmwareFailAtPercent"), 50}});
        if (special == Special::HubNotBack)
            settings.insert(QStringLiteral("faults"),
                            QJsonObject{{QStringLiteral("hubGoneAfterHubWrite"), 1}});
        if (special == Special::FirmwareStays)
            settings.insert(QStringLiteral("faults"),
                            QJsonObject{{QStringLiteral("firmwareVersionStays"), 1}});
        if (special == Special::AllowDowngrade)
            QVERIFY(
                writeFile(folder + QStringLiteral("/Config.ini"), "[Others]\nAllowDowngrade=1\n"));
        QVERIFY(writeFile(folder + QStringLiteral("/virtual-monitor.json"),
                          world::description(monitors, {}, settings)));

        SiteFile scalar = e2e::usualScalar();
        if (special == Special::DamagedDownload)
            scalar.checksum = QStringLiteral("0x1234");
        fixture.publish(model, {scalar, newerHub()});
        if (special != Special::SiteDown)
            QVERIFY(fixture.server.start(PANELUP_DEMO_PORT));
        if (special == Special::CorruptedStore) {
            QVERIFY(fixture.storeAndRecord(model, e2e::usualScalar(), newerHub()));
            QVERIFY(fixture.store(e2e::usualScalar().recordPath(), e2e::scalarImage(0x12, 5, 9)));
        }
        // Another copy holds the marker in the same temporary folder.
        const std::unique_ptr<platform::Platform> holder = platform::makeSimulatedPlatform();
        if (special == Special::SecondCopy)
            QCOMPARE(holder->singleInstance().acquire("NV_Panelup"),
                     platform::InstanceState::Acquired);

        const QString resultLog =
            IsolatedTempDir::active()->path() + QStringLiteral("/result log.txt");
        const QStringList arguments = switches + QStringList{QStringLiteral("/l=") + resultLog};
        // The running copy's result log, which a second copy must leave alone.
        const QByteArray firstCopysLog = "PanelupDemo 2024-05-06T10:11:12: /s\n";
        if (special == Special::SecondCopy)
            QVERIFY(writeFile(resultLog, firstCopysLog));
        // Read-only even for root: a read-only bind mount in this test's own
        // mount namespace, undone on every way out.
        const QByteArray folderPath = QFile::encodeName(folder);
        struct Unmount {
            const QByteArray* path = nullptr;
            ~Unmount() {
                if (path)
                    ::umount2(path->constData(), MNT_DETACH);
            }
        } unmount;
        if (special == Special::ReadOnlyFolder) {
            QVERIFY(::mount(folderPath.constData(), folderPath.constData(), nullptr, MS_BIND,
                            nullptr) == 0);
            unmount.path = &folderPath;
            QVERIFY(::mount(nullptr, folderPath.constData(), nullptr,
                            MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        }
        const Run run =
            runDemo(folder, arguments,
                    special == Special::NoVendorLibrary
                        ? QFileInfo(QStringLiteral(PANELUP_VIRTUAL_MONITOR_LIBRARY)).path()
                        : QString());
        QVERIFY2(run.code == code, qPrintable(QStringLiteral("exit code %1, expected %2; %3\n%4")
                                                  .arg(run.code)
                                                  .arg(code)
                                                  .arg(QString::fromUtf8(readAll(resultLog)),
                                                       QString::fromUtf8(run.err.right(300)))));

        if (special == Special::SecondCopy) {
            QCOMPARE(readAll(resultLog), firstCopysLog);
            QVERIFY2(run.err.contains("result=6 already-running"), run.err.constData());
            return;
        }
        const QString trace = QString::fromUtf8(
            readAll(IsolatedTempDir::active()->path() + QStringLiteral("/Panelup_log.txt")));
        QVERIFY2(!trace.contains(QStringLiteral("a window appeared")), qPrintable(trace));
        const QStringList lines =
            QString::fromUtf8(readAll(resultLog)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.first().startsWith(QStringLiteral("PanelupDemo ")),
                 qPrintable(lines.first()));
        for (const QString& expected : logged)
            QVERIFY2(std::any_of(lines.begin(), lines.end(),
                                 [&](const QString& line) { return line.startsWith(expected); }),
                     qPrintable(expected + QStringLiteral("\nnot in\n") + lines.join('\n')));
        QCOMPARE(lines.last(), QStringLiteral("result=%1 ").arg(code) +
                                   logged.last().section(QLatin1Char(' '), 1));
        // The result line on the console too, on a line of its own.
        QVERIFY2(run.out.endsWith("\n" + lines.last().toUtf8() + "\n"), run.out.constData());

        // Nothing is written where nothing was to be, and the OSD settings
        // are never reset.
        const QStringList changes = changingRequests(folder);
        const bool checkOnly = std::any_of(switches.begin(), switches.end(), [](const QString& sw) {
            return sw.compare(QStringLiteral("-c"), Qt::CaseInsensitive) == 0 ||
                   sw.compare(QStringLiteral("/c"), Qt::CaseInsensitive) == 0 ||
                   sw.compare(QStringLiteral("--check"), Qt::CaseInsensitive) == 0;
        });
        const bool writes = code == 0 && !checkOnly;
        if (!writes && special != Special::HubWriteFails && special != Special::HubNotBack &&
            special != Special::FirmwareStays)
            QVERIFY2(changes.isEmpty(), qPrintable(changes.join('\n')));
        // Config.ini's AllowDowngrade alone never rewrites the scalar.
        if (special == Special::AllowDowngrade)
            QVERIFY(!std::any_of(changes.begin(), changes.end(), [](const QString& line) {
                return line.startsWith(QStringLiteral("UpdateScalar "));
            }));
        QVERIFY(!std::any_of(changes.begin(), changes.end(), [](const QString& line) {
            return line.contains(QStringLiteral("| 84 03 "));
        }));
        if (!monitors.isEmpty()) {
            const Held after = held(folder, monitors.first());
            QCOMPARE(after.scalarMinor, scalarAfter);
            QCOMPARE(after.hub, hubAfter);
        }

        if (secondCode < 0)
            return;
        QFile::remove(resultLog);
        const Run second = runDemo(folder, arguments);
        QCOMPARE(second.code, secondCode);
        QVERIFY(QString::fromUtf8(readAll(resultLog))
                    .endsWith(QStringLiteral("result=%1 %2\n")
                                  .arg(secondCode)
                                  .arg(secondCode == 3 ? (checkOnly ? "no-update" : "nothing-to-do")
                                                       : "update-available")));
    }

    // Wrong switches never start a half-silent run; neither they nor /?
    // need a display.
    void usage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said"); // on the console
        QTest::addColumn<int>("logged");   // 0: no /l; 2: /l given, left alone

        QTest::newRow("/?") << QStringList{"/?"} << 0 << "64  usage error" << 0;
        QTest::newRow("-H") << QStringList{"-H"} << 0 << "Exit codes:" << 0;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "/c         with /s" << 0;
        QTest::newRow("/c without /s") << QStringList{"/c"} << 64 << "/c, /f and /l need /s" << 0;
        QTest::newRow("/f without /s") << QStringList{"-f"} << 64 << "/c, /f and /l need /s" << 0;
        QTest::newRow("unknown switch")
            << QStringList{"/x"} << 64 << "unknown argument \"/x\"" << 0;
        QTest::newRow("a plain word") << QStringList{"update"} << 64 << "unknown argument" << 0;
        QTest::newRow("/s with an unknown switch")
            << QStringList{"/s", "/bogus"} << 64 << "unknown argument \"/bogus\"" << 2;
        QTest::newRow("/l without a file")
            << QStringList{"/s", "--log"} << 64 << "needs a file" << 0;
        QTest::newRow("/s with a value") << QStringList{"/s=1"} << 64 << "takes no value" << 0;
        QTest::newRow("/s /? with /l") << QStringList{"/s", "/?"} << 0 << "Exit codes:" << 2;
        QTest::newRow("/l that cannot be opened")
            << QStringList{"/s", "/l=/nonexistent-folder/panelup.log"} << 64
            << "the result log cannot be opened" << 0;
    }

    void usage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, said);
        QFETCH(int, logged);
        Fixture fixture;
        const QString folder = fixture.programFolder();
        QVERIFY(installDemo(folder, true));
        QVERIFY(writeFile(folder + QStringLiteral("/virtual-monitor.json"),
                          world::description({lm0420(3, 0x0120)}, {},
                                             {{QStringLiteral("requestLogFile"),
                                               QStringLiteral("requests.log")}})));
        const QString resultLog = IsolatedTempDir::active()->path() + QStringLiteral("/usage.log");
        if (logged != 0)
            arguments << QStringLiteral("/l=") + resultLog;
        const Run run = runDemo(folder, arguments);
        QCOMPARE(run.code, code);
        QVERIFY2((code == 0 ? run.out : run.err).contains(said.toUtf8()),
                 (run.out + run.err).constData());
        QVERIFY(readAll(folder + QStringLiteral("/requests.log")).isEmpty());
        // Help and usage errors come before the single-instance lock and
        // name no outcome: a /l log (perhaps a running copy's) is left alone;
        // with /s a usage error ends its console text with the result line.
        if (logged == 2)
            QVERIFY(!QFile::exists(resultLog));
        if (code == 64 && arguments.contains(QStringLiteral("/s")))
            QVERIFY2(run.err.endsWith("result=64 usage-error\n"), run.err.constData());
    }
};

namespace {} // namespace

int main(int argc, char** argv) {
    // A network of its own: the demo's site port is fixed, and tests of
    // other builds may run beside.
    if (!e2e::enterPrivateNamespaces(CLONE_NEWNET) || !e2e::bringLoopbackUp()) {
        std::fprintf(stderr, "e2e_silent_road: no network namespace of its own could be made\n");
        return 1;
    }
    IsolatedTempDir isolatedTemp;
    QApplication app(argc, argv);
    SilentRoadTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "SilentRoadTest.moc"
