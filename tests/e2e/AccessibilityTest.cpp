// The demo program's window read and driven by a real assistive-technology
// client: AT-SPI through Debian's pyatspi, on a virtual display and an
// accessibility bus of the test's own. The client reads every control's
// role, name, description, states, label relation and value, presses Update
// and answers every message box through the controls' actions alone, and
// records the events the window sends on the way.
//
// The test runs as the first process of a PID namespace of its own: when it
// ends, however it ends, the kernel ends everything it started (the display,
// both buses, the registry the accessibility bus starts, the program).
#include "E2eFixture.h"
#include "PrivateNamespaces.h"
#include "TestFiles.h"
#include "VirtualWorld.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using e2e::Fixture;
using e2e::SiteFile;

namespace {

const QString model = QStringLiteral("LM0420");
const QString title = QStringLiteral("LM Series USB Firmware Update Tool v%1.%2")
                          .arg(PANELUP_VERSION_MAJOR)
                          .arg(PANELUP_VERSION_MINOR, 2, 10, QLatin1Char('0'));
// The status line's texts as read: its words, without the picture.
const QString busyText =
    QStringLiteral("The update process may take several minutes. Please do not remove the "
                   "USB cable connection or turn off the monitor's power while updating.");
const QString latestText = QStringLiteral("Your current firmware version is already the "
                                          "latest version, you don't need to update.");

SiteFile newerHub() {
    SiteFile hub = e2e::usualHub();
    hub.version = QStringLiteral("1.22");
    hub.body = e2e::hubImage(1, 0x22);
    return hub;
}

// A message box of the road and the button the client presses in it.
struct Box {
    QString title;
    QString text;
    QStringList buttons;
    QString answer;
};

const QList<Box>& road() {
    static const QList<Box> boxes = {
        {QStringLiteral("Confirm to download new version "),
         QStringLiteral("A new version is available.\nDo you want to download the lastest "
                        "firmware?"),
         {QStringLiteral("Yes"), QStringLiteral("No")},
         QStringLiteral("Yes")},
        {QStringLiteral("Confirm to update firmware"),
         QStringLiteral("Are you sure you want to update your firmware to the latest version?"),
         {QStringLiteral("Yes"), QStringLiteral("No")},
         QStringLiteral("Yes")},
        {QStringLiteral("Update Firmware"),
         QStringLiteral("Your monitor firmware was updated successfully.\nSuggest to reset OSD "
                        "setting to default."),
         {QStringLiteral("Reset OSD Setting"), QStringLiteral("Exit")},
         QStringLiteral("Reset OSD Setting")},
        {QStringLiteral("OSD Settings Reset"),
         QStringLiteral("Your monitor OSD Settings has been reset successfully."),
         {QStringLiteral("OK")},
         QStringLiteral("OK")},
    };
    return boxes;
}

// One process the test started. Ended when dropped: asked first, then
// killed, each wait bounded.
class Started {
public:
    Started(const QString& name, const QProcessEnvironment& environment) : name_(name) {
        process_.setProcessEnvironment(environment);
    }
    ~Started() { end(); }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool start(const QString& program, const QStringList& arguments) {
        process_.start(program, arguments);
        if (process_.waitForStarted(10000))
            return true;
        failure_ =
            QStringLiteral("%1 (%2) did not start: %3").arg(name_, program, process_.errorString());
        return false;
    }

    // The first line the process writes on standard output, read in at
    // most `attempts` reads.
    QString firstLine(int attempts) {
        for (int i = 0; i < attempts && !process_.canReadLine(); ++i) {
            if (process_.state() == QProcess::NotRunning)
                break;
            process_.waitForReadyRead(100);
        }
        if (!process_.canReadLine()) {
            failure_ = QStringLiteral("%1 wrote nothing on standard output; its errors: %2")
                           .arg(name_, QString::fromLocal8Bit(process_.readAllStandardError()));
            return QString();
        }
        return QString::fromLocal8Bit(process_.readLine()).trimmed();
    }

    void end() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    QProcess& process() { return process_; }
    QString failure() const { return failure_; }

private:
    QString name_;
    QString failure_;
    QProcess process_;
};

// Waits for a process while this one's events (the update site) go on.
bool waitFor(QProcess& process, int milliseconds) {
    if (process.state() == QProcess::NotRunning)
        return true;
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return process.state() == QProcess::NotRunning;
}

// The other processes of this PID namespace, "pid name" each; ended ones
// not yet collected are left out.
QStringList others() {
    QStringList found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number || pid == ::getpid())
            continue;
        const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
        const int close = stat.lastIndexOf(')');
        if (close < 0 || stat.mid(close + 2, 1) == "Z")
            continue;
        found << QStringLiteral("%1 %2").arg(pid).arg(
            QString::fromLocal8Bit(stat.mid(stat.indexOf('(') + 1, close - stat.indexOf('(') - 1)));
    }
    return found;
}

QJsonObject find(const QJsonArray& nodes, const QString& role, const QString& name) {
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        if (node.value(QStringLiteral("role")).toString() == role &&
            node.value(QStringLiteral("name")).toString() == name)
            return node;
    }
    return {};
}

QString listed(const QJsonArray& nodes, const QString& role) {
    QStringList names;
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        if (node.value(QStringLiteral("role")).toString() == role)
            names << QLatin1Char('"') + node.value(QStringLiteral("name")).toString() +
                         QLatin1Char('"');
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

QStringList strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    // The whole road once; the rows below read what it left.
    void initTestCase() {
        fixture_ = std::make_unique<Fixture>();
        folder_ = fixture_->programFolder();
        QVERIFY(installDemo());
        // Each write takes a while, as on a real monitor: the window answers
        // the client between its progress reports, so the client reads the
        // status line while it says what is going on. A name-change event
        // from Qt 5 names only its source; the client reads the text.
        QJsonObject settings{{QStringLiteral("persistState"), true},
                             {QStringLiteral("firmwareWriteMs"), 6000},
                             {QStringLiteral("progressSteps"), 60}};
        world::Monitor monitor;
        monitor.scalarMinor = 3;
        monitor.hubFirmware = 0x0120;
        QVERIFY(writeFile(folder_ + QStringLiteral("/virtual-monitor.json"),
                          world::description({monitor}, {}, settings)));
        fixture_->publish(model, {e2e::usualScalar(), newerHub()});
        QVERIFY(fixture_->server.start(PANELUP_DEMO_PORT));

        // Everything of the session lives under one private folder.
        const QString session = IsolatedTempDir::active()->root() + QStringLiteral("/session");
        for (const char* sub : {"home", "runtime"})
            QVERIFY(QDir().mkpath(session + QLatin1Char('/') + QLatin1String(sub)));
        QVERIFY(QFile::setPermissions(session + QStringLiteral("/runtime"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
              "QT_QPA_PLATFORM", "QT_ACCESSIBILITY", "XAUTHORITY", "SESSION_MANAGER"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), session + QStringLiteral("/home"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), session + QStringLiteral("/runtime"));

        // The display. It keeps its root window's properties when the last
        // client leaves (-noreset): the accessibility bus's address is one.
        // No lock file in the shared /tmp (-nolock): its sockets lie in this
        // namespace's own folder and network.
        display_ = std::make_unique<Started>(QStringLiteral("Xvfb"), environment);
        QVERIFY2(display_->start(QStringLiteral("Xvfb"),
                                 {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                  QStringLiteral("-nolock"), QStringLiteral("-noreset"),
                                  QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                  QStringLiteral("-screen"), QStringLiteral("0"),
                                  QStringLiteral("1280x1024x24"), QStringLiteral("-dpi"),
                                  QStringLiteral("96")}),
                 qPrintable(display_->failure()));
        const QString number = display_->firstLine(100);
        QVERIFY2(!number.isEmpty(), qPrintable(display_->failure()));
        environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + number);

        // The session bus, on a socket in the private runtime folder.
        bus_ = std::make_unique<Started>(QStringLiteral("dbus-daemon"), environment);
        QVERIFY2(bus_->start(
                     QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--address=unix:dir=") + session + QStringLiteral("/runtime"),
                      QStringLiteral("--print-address=1")}),
                 qPrintable(bus_->failure()));
        const QString address = bus_->firstLine(100);
        QVERIFY2(!address.isEmpty(), qPrintable(bus_->failure()));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);

        // The accessibility bus and, started by it, the registry.
        launcher_ = std::make_unique<Started>(QStringLiteral("at-spi-bus-launcher"), environment);
        QVERIFY2(launcher_->start(QStringLiteral(PANELUP_ATSPI_BUS_LAUNCHER),
                                  {QStringLiteral("--launch-immediately")}),
                 qPrintable(launcher_->failure()));
        QString reason;
        QVERIFY2(registryAnswers(address, &reason), qPrintable(reason));

        program_ = std::make_unique<Started>(QStringLiteral("PanelupDemo"),
                                             programEnvironment(environment));
        QVERIFY2(program_->start(folder_ + QStringLiteral("/PanelupDemo"), {}),
                 qPrintable(program_->failure()));

        const QString out = session + QStringLiteral("/walk.json");
        QStringList arguments = {
            QStringLiteral(PANELUP_SOURCE_DIR "/tests/e2e/accessibility_walk.py"),
            QStringLiteral("--out"),
            out,
            QStringLiteral("--application"),
            QStringLiteral("PanelupDemo"),
            QStringLiteral("--window"),
            title,
            QStringLiteral("--update"),
            QStringLiteral("Update"),
            QStringLiteral("--exit"),
            QStringLiteral("EXIT (X)"),
            QStringLiteral("--last"),
            road().last().title};
        for (const Box& box : road())
            arguments << QStringLiteral("--answer") << box.title + QLatin1Char('=') + box.answer;
        client_ = std::make_unique<Started>(QStringLiteral("accessibility_walk.py"), environment);
        // Debian's interpreter: pyatspi is a Debian package.
        QVERIFY2(client_->start(QStringLiteral("/usr/bin/python3"), arguments),
                 qPrintable(client_->failure()));
        // The client counts its own attempts; this only keeps a client that
        // hangs in a call from holding the suite.
        QVERIFY2(waitFor(client_->process(), 400000), "the AT-SPI client did not end");
        const QByteArray errors = client_->process().readAllStandardError();
        const QByteArray result = readAll(out);
        // Kept beside the test for a look at what the client read and heard.
        writeFile(QStringLiteral("e2e_accessibility.json"), result);
        writeFile(QStringLiteral("e2e_accessibility_trace.txt"),
                  readAll(IsolatedTempDir::active()->path() + QStringLiteral("/Panelup_log.txt")));
        walk_ = QJsonDocument::fromJson(result).object();
        QVERIFY2(!walk_.isEmpty(), qPrintable(QStringLiteral("the AT-SPI client wrote no "
                                                             "result (exit code %1): %2")
                                                  .arg(client_->process().exitCode())
                                                  .arg(QString::fromLocal8Bit(errors))));
        // EXIT was pressed through its action: the program ends by itself.
        waitFor(program_->process(), 30000);
        programEnded_ = program_->process().state() == QProcess::NotRunning &&
                        program_->process().exitStatus() == QProcess::NormalExit;
        programCode_ = program_->process().exitCode();
        programErrors_ = QString::fromLocal8Bit(program_->process().readAllStandardError());
        endSession();
    }

    void cleanupTestCase() { endSession(); }

    void walkEnds() {
        QVERIFY2(walk_.value(QStringLiteral("error")).isNull(),
                 qPrintable(walk_.value(QStringLiteral("error")).toString() +
                            QStringLiteral("\nthe program's errors:\n") +
                            programErrors_.left(5000)));
        QVERIFY(walk_.value(QStringLiteral("exitPressed")).toBool());
        QVERIFY2(programEnded_, "the program did not end after EXIT was pressed");
        QVERIFY2(programCode_ == 0,
                 qPrintable(QStringLiteral("exit code %1; the program's errors:\n%2")
                                .arg(programCode_)
                                .arg(programErrors_.right(4000))));
        QVERIFY2(leftOver_.isEmpty(), qPrintable(QStringLiteral("still running after the end: ") +
                                                 leftOver_.join(QStringLiteral(", "))));
    }

    // Every control as the client read it after start-up and at the end.
    void controls_data() {
        QTest::addColumn<QString>("snapshot");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description"); // null: not checked
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("labelledBy"); // null: not checked
        QTest::addColumn<int>("value");          // -1: not checked; -2: no value interface

        const QStringList shown = {QStringLiteral("enabled"), QStringLiteral("showing"),
                                   QStringLiteral("visible")};
        const QStringList button = shown + QStringList{QStringLiteral("focusable")};
        const QStringList hidden = {QStringLiteral("showing"), QStringLiteral("visible"),
                                    QStringLiteral("checked")};
        const QString none;
        const QString hubSum = e2e::checksumText(newerHub().body);
        const QString scalarSum = e2e::checksumText(e2e::usualScalar().body);
        auto row = [](const char* snapshot, const char* control, const QString& role,
                      const QString& name, const QString& description, const QStringList& states,
                      const QStringList& absent, const QString& labelledBy, int value) {
            QTest::addRow("%s: %s", snapshot, control)
                << QString::fromLatin1(snapshot) << role << name << description << states << absent
                << labelledBy << value;
        };
        for (const char* when : {"start", "end"}) {
            const bool start = QLatin1String(when) == QLatin1String("start");
            row(when, "PanelupClass", QStringLiteral("dialog"), title, none, shown, {}, none, -2);
            row(when, "lblTitle", QStringLiteral("label"), title, none, shown, {}, none, -2);
            row(when, "label_5", QStringLiteral("image"), QStringLiteral("LM Series logo"), none,
                shown, {}, none, -2);
            const QStringList captions = {
                QStringLiteral("Model Name"), QStringLiteral("Current Firmware"),
                QStringLiteral("New Firmware"), QStringLiteral("CheckSum")};
            const char* captionNames[] = {"label", "label_2", "label_3", "label_4"};
            const char* valueNames[] = {"lblModelName", "lblCurrentFW", "lblNewFW", "lblCheckSum"};
            const QStringList values =
                start ? QStringList{model, QStringLiteral("Hub FW : 1.20"),
                                    QStringLiteral("Hub FW : 1.22"), hubSum}
                      : QStringList{model, QStringLiteral("Monitor FW : M012"),
                                    QStringLiteral("Monitor FW : M012"), scalarSum};
            for (int i = 0; i < captions.size(); ++i) {
                row(when, captionNames[i], QStringLiteral("label"), captions[i], none, shown, {},
                    none, -2);
                row(when, valueNames[i], QStringLiteral("label"),
                    captions[i] + QStringLiteral(": ") + values[i], none, shown, {}, captions[i],
                    -2);
            }
            row(when, "bar1", QStringLiteral("progress bar"), QStringLiteral("Update progress"),
                QStringLiteral("Progress of the firmware update"), shown, {}, none,
                start ? -1 : 100);
            row(when, "lblInfo", QStringLiteral("label"),
                start ? QStringLiteral("Please click update button to update new firmware!")
                      : latestText,
                QStringLiteral("Status"), shown, {}, none, -2);
            row(when, "chkOverride", QStringLiteral("check box"),
                QStringLiteral("Allow Monitor use older firmware."),
                QStringLiteral("Allows the update to write firmware older than the monitor's"),
                {QStringLiteral("focusable")}, hidden, none, -2);
            row(when, "btnUpdate", QStringLiteral("push button"), QStringLiteral("Update"),
                QStringLiteral("Writes the new firmware to the monitor"),
                start ? button
                      : QStringList{QStringLiteral("showing"), QStringLiteral("focusable")},
                start ? QStringList{} : QStringList{QStringLiteral("enabled")}, none, -2);
            row(when, "btnExit", QStringLiteral("push button"), QStringLiteral("EXIT (X)"),
                QStringLiteral("Closes the program"), button, {}, none, -2);
        }
    }

    void controls() {
        QFETCH(QString, snapshot);
        QFETCH(QString, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QStringList, states);
        QFETCH(QStringList, absent);
        QFETCH(QString, labelledBy);
        QFETCH(int, value);
        const QJsonArray nodes =
            walk_.value(QStringLiteral("snapshots")).toObject().value(snapshot).toArray();
        QVERIFY2(!nodes.isEmpty(), "the client never read the window at this point");
        const QJsonObject node = find(nodes, role, name);
        QVERIFY2(!node.isEmpty(), qPrintable(QStringLiteral("no %1 named \"%2\"; the %1s read: %3")
                                                 .arg(role, name, listed(nodes, role))));
        if (!description.isNull())
            QCOMPARE(node.value(QStringLiteral("description")).toString(), description);
        const QStringList has = strings(node.value(QStringLiteral("states")));
        for (const QString& state : states)
            QVERIFY2(has.contains(state), qPrintable(state + QStringLiteral(" missing from ") +
                                                     has.join(QLatin1Char(' '))));
        for (const QString& state : absent)
            QVERIFY2(!has.contains(state),
                     qPrintable(state + QStringLiteral(" in ") + has.join(QLatin1Char(' '))));
        if (!labelledBy.isNull()) {
            QStringList labels;
            for (const QJsonValue& relation : node.value(QStringLiteral("relations")).toArray()) {
                const QJsonObject r = relation.toObject();
                if (r.value(QStringLiteral("type")).toString() == QLatin1String("labelled-by"))
                    labels << r.value(QStringLiteral("name")).toString();
            }
            QVERIFY2(labels.contains(labelledBy),
                     qPrintable(QStringLiteral("labelled by %1, not by \"%2\"")
                                    .arg(labels.isEmpty() ? QStringLiteral("nothing")
                                                          : labels.join(QStringLiteral(", ")),
                                         labelledBy)));
        }
        const QJsonObject numbers = node.value(QStringLiteral("value")).toObject();
        if (value == -2) {
            QVERIFY2(numbers.isEmpty(), "a value interface on a control that has no value");
            return;
        }
        QVERIFY2(!numbers.isEmpty(), "no AT-SPI Value interface");
        QCOMPARE(numbers.value(QStringLiteral("minimum")).toDouble(), 0.0);
        QCOMPARE(numbers.value(QStringLiteral("maximum")).toDouble(), 100.0);
        if (value >= 0)
            QCOMPARE(numbers.value(QStringLiteral("current")).toDouble(), double(value));
    }

    // The message boxes are Qt's own, answered through their buttons'
    // "Press" action.
    void boxes_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < road().size(); ++i)
            QTest::newRow(qPrintable(road().at(i).title.trimmed())) << i;
    }

    void boxes() {
        QFETCH(int, index);
        const Box& expected = road().at(index);
        const QJsonArray seen = walk_.value(QStringLiteral("boxes")).toArray();
        QVERIFY2(index < seen.size(),
                 qPrintable(QStringLiteral("only %1 boxes came up; the "
                                           "client stopped in phase %2")
                                .arg(seen.size())
                                .arg(walk_.value(QStringLiteral("phase")).toString())));
        const QJsonObject box = seen.at(index).toObject();
        QCOMPARE(box.value(QStringLiteral("title")).toString(), expected.title);
        const QString role = box.value(QStringLiteral("role")).toString();
        QVERIFY2(role == QLatin1String("alert") || role == QLatin1String("dialog"),
                 qPrintable(role));
        QVERIFY2(strings(box.value(QStringLiteral("text"))).contains(expected.text),
                 qPrintable(strings(box.value(QStringLiteral("text"))).join('|')));
        QCOMPARE(strings(box.value(QStringLiteral("buttons"))), expected.buttons);
        QVERIFY(strings(box.value(QStringLiteral("actions"))).contains(QStringLiteral("Press")));
        QCOMPARE(box.value(QStringLiteral("answer")).toString(), expected.answer);
    }

    // What a screen reader hears on the way: the progress bar's value and
    // the status line's and value labels' new texts.
    void events_data() {
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name"); // null: any
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("data"); // null: any
        QTest::addColumn<int>("atLeast");

        const QStringList value = {QStringLiteral("object:property-change:accessible-value"),
                                   QStringLiteral("object:value-changed")};
        const QStringList name = {QStringLiteral("object:property-change:accessible-name")};
        const QStringList inserted = {QStringLiteral("object:text-changed:insert")};
        const QString any;
        // Two writes, hub and scalar, each driving the bar.
        QTest::newRow("progress bar value") << value << QStringLiteral("progress bar")
                                            << QStringLiteral("Update progress") << any << any << 2;
        // The status line's words come in the event: the busy text of each
        // write may be replaced before the busy window could be asked for it.
        QTest::newRow("status line: busy") << inserted << QStringLiteral("label") << any
                                           << QStringLiteral("Status") << busyText << 2;
        QTest::newRow("status line: up to date") << inserted << QStringLiteral("label") << any
                                                 << QStringLiteral("Status") << latestText << 1;
        QTest::newRow("current firmware value")
            << name << QStringLiteral("label") << any << any
            << QStringLiteral("Current Firmware: Monitor FW : M012") << 1;
        QTest::newRow("new firmware value")
            << name << QStringLiteral("label") << any << any
            << QStringLiteral("New Firmware: Monitor FW : M012") << 1;
    }

    void events() {
        QFETCH(QStringList, types);
        QFETCH(QString, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, data);
        QFETCH(int, atLeast);
        int count = 0;
        QStringList near;
        for (const QJsonValue& value : walk_.value(QStringLiteral("events")).toArray()) {
            const QJsonObject event = value.toObject();
            if (!types.contains(event.value(QStringLiteral("type")).toString()))
                continue;
            if (event.value(QStringLiteral("role")).toString() != role)
                continue;
            near << QStringLiteral("\"%1\" (%2): %3")
                        .arg(event.value(QStringLiteral("name")).toString(),
                             event.value(QStringLiteral("description")).toString(),
                             event.value(QStringLiteral("data")).toVariant().toString());
            if ((name.isNull() || event.value(QStringLiteral("name")).toString() == name) &&
                (description.isNull() ||
                 event.value(QStringLiteral("description")).toString() == description) &&
                (data.isNull() || event.value(QStringLiteral("data")).toString() == data))
                ++count;
        }
        near.removeDuplicates();
        QVERIFY2(count >= atLeast,
                 qPrintable(QStringLiteral("%1 such events, %2 wanted; of that type and role: %3")
                                .arg(count)
                                .arg(atLeast)
                                .arg(near.isEmpty() ? QStringLiteral("none")
                                                    : near.join(QStringLiteral("; ")))));
    }

    // The road went all the way: the monitor holds the site's firmware.
    void monitorHoldsNewFirmware() {
        const QJsonObject first =
            QJsonDocument::fromJson(
                readAll(folder_ + QStringLiteral("/virtual-monitor.json.state.json")))
                .object()
                .value(QStringLiteral("monitors"))
                .toArray()
                .at(0)
                .toObject();
        QVERIFY2(!first.isEmpty(), "the virtual monitor saved no state: nothing was written");
        QCOMPARE(first.value(QStringLiteral("scalarFirmware")).toArray().at(1).toInt(), 5);
        QCOMPARE(first.value(QStringLiteral("hubFirmware")).toInt(), 0x0122);
    }

private:
    bool installDemo() {
        for (const char* file :
             {PANELUP_DEMO_PROGRAM, PANELUP_HUBBRIDGE_LIBRARY, PANELUP_VIRTUAL_MONITOR_LIBRARY}) {
            const QString source = QString::fromLocal8Bit(file);
            const QString target = folder_ + QLatin1Char('/') + QFileInfo(source).fileName();
            if (!QFile::copy(source, target) ||
                !QFile::setPermissions(target, QFileInfo(source).permissions()))
                return false;
        }
        return true;
    }

    // The window on the display through xcb, with Qt's AT-SPI bridge on.
    static QProcessEnvironment programEnvironment(QProcessEnvironment environment) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        environment.insert(QStringLiteral("TMPDIR"), IsolatedTempDir::active()->path());
        // In the sanitizer build: libxkbcommon-x11, which Qt's xcb platform
        // uses, hands strndup a counted name without a terminator, which
        // strict string checks take for an overflow. Everything else stays
        // checked.
        const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
        if (asan.contains(QLatin1String("strict_string_checks=1")))
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               asan + QStringLiteral(":strict_string_checks=0"));
        return environment;
    }

    // Asks the launcher for the accessibility bus, then the registry on it
    // for the desktop, until both answer; the registry is started by the bus
    // on the first call.
    static bool registryAnswers(const QString& sessionAddress, QString* reason) {
        const QDBusConnection session =
            QDBusConnection::connectToBus(sessionAddress, QStringLiteral("test-session"));
        if (!session.isConnected()) {
            *reason =
                QStringLiteral("the session bus does not answer: ") + session.lastError().message();
            return false;
        }
        QString a11yAddress;
        for (int attempt = 0; attempt < 100 && a11yAddress.isEmpty(); ++attempt) {
            const QDBusMessage reply = session.call(QDBusMessage::createMethodCall(
                QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                a11yAddress = reply.arguments().constFirst().toString();
            else
                QThread::msleep(100);
            *reason = QStringLiteral("at-spi-bus-launcher gave no accessibility bus: ") +
                      reply.errorMessage();
        }
        if (a11yAddress.isEmpty())
            return false;
        const QDBusConnection a11y =
            QDBusConnection::connectToBus(a11yAddress, QStringLiteral("test-a11y"));
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QDBusMessage reply = a11y.call(QDBusMessage::createMethodCall(
                QStringLiteral("org.a11y.atspi.Registry"),
                QStringLiteral("/org/a11y/atspi/accessible/root"),
                QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetChildren")));
            if (reply.type() == QDBusMessage::ReplyMessage)
                return true;
            *reason =
                QStringLiteral("the AT-SPI registry does not answer: ") + reply.errorMessage();
            QThread::msleep(100);
        }
        return false;
    }

    // Ends what the test started, in the order that lets each end by
    // itself, then everything else in the namespace.
    void endSession() {
        if (!client_ && !display_)
            return;
        QDBusConnection::disconnectFromBus(QStringLiteral("test-a11y"));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-session"));
        client_.reset();
        program_.reset();
        launcher_.reset();
        bus_.reset();
        display_.reset();
        // The accessibility bus and its registry were started by the
        // launcher; they follow it. Counted, never timed.
        for (int attempt = 0; attempt < 50 && !others().isEmpty(); ++attempt)
            QThread::msleep(100);
        leftOver_ = others();
        // Only as the namespace's first process does -1 mean "the
        // namespace" rather than every process this user may signal.
        if (::getpid() != 1)
            return;
        ::kill(-1, SIGKILL);
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    }

    std::unique_ptr<Fixture> fixture_;
    QString folder_;
    std::unique_ptr<Started> display_;
    std::unique_ptr<Started> bus_;
    std::unique_ptr<Started> launcher_;
    std::unique_ptr<Started> program_;
    std::unique_ptr<Started> client_;
    QJsonObject walk_;
    bool programEnded_ = false;
    int programCode_ = -1;
    QString programErrors_;
    QStringList leftOver_;
};

namespace {

// This process as the first of a PID namespace: the kernel ends every
// process in it when it ends. Its parent waits and passes the result on,
// and its death (ctest's time-out, Ctrl+C) ends the namespace too.
int runAsNamespaceInit(int argc, char** argv) {
    int alive[2];
    if (::pipe(alive) != 0)
        return 1;
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child > 0) {
        ::close(alive[0]);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    ::close(alive[1]);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have gone before the line above.
    char byte = 0;
    ::fcntl(alive[0], F_SETFL, O_NONBLOCK);
    if (::read(alive[0], &byte, 1) == 0)
        return 1;
    // This namespace's own /proc, to see what is left at the end; and its
    // own folder of display sockets, so that the display (which keeps no
    // lock file, and whose abstract socket lies in this namespace's own
    // network) is ours alone, whatever displays run beside it. The rest of
    // /tmp stays as it is: the build may lie there.
    ::mkdir("/tmp/.X11-unix", 01777);
    if (::mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0 ||
        ::mount("tmpfs", "/tmp/.X11-unix", "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") != 0) {
        std::perror("mount");
        return 1;
    }
    IsolatedTempDir isolatedTemp;
    QApplication app(argc, argv);
    AccessibilityTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    // Its own network (the demo's site port is fixed), mounts and processes.
    if (!e2e::enterPrivateNamespaces(CLONE_NEWNET | CLONE_NEWPID) || !e2e::bringLoopbackUp()) {
        std::fprintf(stderr, "e2e_accessibility: no namespaces of its own could be made\n");
        return 1;
    }
    return runAsNamespaceInit(argc, argv);
}

#include "AccessibilityTest.moc"
