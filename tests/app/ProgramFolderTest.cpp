// The installed program folder, copied to another place, runs as it is:
// Panelup finds libHubbridge.so beside itself, whatever became of the build.
#include "IsolatedTempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

// Runs a program to its end; its standard output, empty on failure.
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files)) {
        const QString target = to + QLatin1Char('/') + file.fileName();
        if (!QFile::copy(file.filePath(), target) ||
            !QFile::setPermissions(target, file.permissions()))
            return false;
    }
    return true;
}

} // namespace

class ProgramFolderTest : public QObject {
    Q_OBJECT

private slots:
    void copiedFolderRuns() {
        const QString root = IsolatedTempDir::active()->root();
        const QString installed = root + QStringLiteral("/installed");
        QVERIFY(!run(QStringLiteral(PANELUP_CMAKE),
                     {QStringLiteral("--install"), QStringLiteral(PANELUP_BUILD_DIR),
                      QStringLiteral("--prefix"), installed})
                     .isEmpty());
        QCOMPARE(QDir(installed).entryList(QDir::Files, QDir::Name),
                 QStringList({QStringLiteral("Panelup"), QStringLiteral("libHubbridge.so")}));

        const QString folder = root + QStringLiteral("/elsewhere/Panelup");
        QVERIFY(copyFolder(installed, folder));
        QVERIFY(QDir(installed).removeRecursively());
        const QString program = folder + QStringLiteral("/Panelup");
        QVERIFY(run(QStringLiteral("ldd"), {program})
                    .contains("libHubbridge.so => " + folder.toUtf8() + "/libHubbridge.so"));

        // Its own temporary folder, and a network namespace of its own: the
        // shipped program's update site is the maker's, which a test must
        // never reach.
        const QString temp = root + QStringLiteral("/run");
        QVERIFY(QDir().mkpath(temp));
        QProcess panelup;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temp);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        panelup.setProcessEnvironment(environment);
        panelup.start(QStringLiteral("unshare"),
                      {QStringLiteral("--map-root-user"), QStringLiteral("--net"), program});
        QVERIFY(panelup.waitForStarted());
        // Past the monitor inventory, which uses the bridge, the window is up.
        const QString log = temp + QStringLiteral("/Panelup_log.txt");
        QTRY_VERIFY_WITH_TIMEOUT(panelup.state() != QProcess::Running ||
                                     readAll(log).contains("Total Monitor: "),
                                 60000);
        QVERIFY2(panelup.state() == QProcess::Running, panelup.readAllStandardError().constData());
        panelup.kill();
        QVERIFY(panelup.waitForFinished());
        QVERIFY(panelup.readAllStandardOutput().contains(log.toUtf8()));
    }
};

PANELUP_ISOLATED_TEST_MAIN(ProgramFolderTest)
#include "ProgramFolderTest.moc"
