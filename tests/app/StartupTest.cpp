// runPanelup from start to the event loop and back, each run with its own
// QApplication, in an isolated temporary folder.
#include "FakePlatform.h"
#include "IsolatedTempDir.h"
#include "ScriptedDialogs.h"
#include "app/Application.h"
#include "app/Panelup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QtTest>

using platform::InstanceState;

Q_DECLARE_METATYPE(InstanceState)

namespace {

QString logPath() {
    return QDir::tempPath() + QStringLiteral("/Panelup_log.txt");
}

// The log as text: Windows writes its lines with CR LF.
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

// Remembers what was on screen when a box came up.
class WatchingDialogs : public ScriptedDialogs {
public:
    void message(seams::DialogIcon icon, const seams::UiText& title,
                 const seams::UiText& text) override {
        windowsAtBox = QApplication::topLevelWidgets().size();
        ScriptedDialogs::message(icon, title, text);
    }
    int windowsAtBox = -1;
};

struct Run {
    int result = -1;
    bool windowSeen = false;
    bool visible = false;
    QString configPath;
    QString programFolder;
    QString title;
    QByteArray logWhileRunning;
};

Run runOnce(FakePlatform& fake) {
    Run run;
    char name[] = "app_startup";
    char* argv[] = {name, nullptr};
    // The start-up sequence waits for the site check in a local event loop of
    // its own, where a quit would only end that loop; so keep asking to quit
    // until the program's own event loop has taken it.
    fake.lock.onAcquire = [&run] {
        auto* ticker = new QTimer(qApp);
        QObject::connect(ticker, &QTimer::timeout, [&run] {
            run.windowSeen = app::mainWindow != nullptr;
            run.programFolder = QCoreApplication::applicationDirPath();
            if (app::mainWindow) {
                run.visible = app::mainWindow->isVisible();
                run.configPath = app::mainWindow->configPath;
                run.title = app::mainWindow->windowTitle();
            }
            run.logWhileRunning = readAll(logPath());
            QCoreApplication::quit();
        });
        ticker->start(20);
    };
    // No request leaves the machine: the site check meets a closed loopback port.
    app::RunOptions options;
    options.siteBaseUrl = options.testSiteBaseUrl = "http://127.0.0.1:9/dept-pmsd/FW2/";
    run.result = app::runPanelup(1, argv, fake, options);
    fake.lock.onAcquire = nullptr;
    return run;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private:
    IsolatedTempDir temp;

private slots:
    void init() { QDir::setCurrent(temp.root()); }

    void secondInstanceRefused() {
        QVERIFY(writeFile(logPath(), "the running copy's log\n"));
        FakePlatform fake;
        fake.lock.state = InstanceState::AlreadyRunning;
        WatchingDialogs dialogs;

        const Run run = runOnce(fake);

        QCOMPARE(run.result, 1);
        QCOMPARE(fake.lock.names, std::vector<std::string>{"NV_Panelup"});
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, seams::DialogIcon::Warning);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("NV_Panelup is already running!"));
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Only one instance can be run at a time!"));
        QCOMPARE(dialogs.windowsAtBox, 0);
        QVERIFY(!run.windowSeen);
        QVERIFY(app::mainWindow == nullptr);
        QCOMPARE(readAll(logPath()), QByteArray("the running copy's log\n"));
    }

    void starts_data() {
        QTest::addColumn<InstanceState>("state");
        QTest::newRow("alone") << InstanceState::Acquired;
        QTest::newRow("marker unavailable") << InstanceState::Unavailable;
    }

    void starts() {
        QFETCH(InstanceState, state);
        QVERIFY(writeFile(logPath(), "previous run\n"));
        FakePlatform fake;
        fake.lock.state = state;
        ScriptedDialogs dialogs;

        const Run run = runOnce(fake);

        QCOMPARE(run.result, 0);
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(run.windowSeen);
        QVERIFY(run.visible);
        // From the program's folder, not from the working directory.
        QVERIFY(!run.programFolder.isEmpty());
        QCOMPARE(run.configPath, run.programFolder + QStringLiteral("/Config.ini"));
        QCOMPARE(run.title, QStringLiteral("LM Series USB Firmware Update Tool v1.07"));
        QVERIFY(app::mainWindow == nullptr);

        const QString stamp = QStringLiteral("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d");
        const QString running = QString::fromUtf8(run.logWhileRunning);
        QVERIFY2(QRegularExpression(QStringLiteral("^%1: this is a debug message\n").arg(stamp))
                     .match(running)
                     .hasMatch(),
                 run.logWhileRunning.constData());
        QVERIFY(!running.contains(QLatin1String("previous run")));
        QVERIFY(!running.contains(QLatin1String("Opened log file.")));

        // Destroying the application ran the post routine.
        const QString ended = QString::fromUtf8(readAll(logPath()));
        QVERIFY2(QRegularExpression(QStringLiteral("\n%1: Close log file.\n$").arg(stamp))
                     .match(ended)
                     .hasMatch(),
                 qPrintable(ended));
    }
};

QTEST_APPLESS_MAIN(StartupTest)
#include "StartupTest.moc"
