// An unattended run that crashes ends with exit code 1, never with the
// runtime's own code (Windows' abort() exits with 3, which reads as "nothing
// to do"), and appends a last "result=1 failed" line to its result log.
// Each row crashes a child: this test program started again with
// --crash-child, which only this test program knows (no production binary
// has a way to crash on purpose). The control rows crash without the guard
// and show that the test sees the difference.
#include "app/CrashGuard.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace {

const char childSwitch[] = "--crash-child";

[[noreturn]] void crash(const char* how) {
    if (std::strcmp(how, "exception") == 0)
        throw std::runtime_error("an exception nobody catches");
    if (std::strcmp(how, "terminate") == 0)
        std::terminate();
    std::abort();
}

// <program> --crash-child <how> <guarded|unguarded> [<result log>]
int crashChild(int argc, char** argv) {
    const bool guarded = std::strcmp(argv[3], "guarded") == 0;
    if (guarded)
        app::guardUnattendedRun(argc > 4 ? QFile::decodeName(argv[4]) : QString());
    crash(argv[2]);
}

} // namespace

class CrashGuardTest : public QObject {
    Q_OBJECT

private slots:
    void crashEndsWithOne_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("withLog");
        QTest::newRow("uncaught exception") << "exception" << true;
        QTest::newRow("std::terminate") << "terminate" << true;
        QTest::newRow("abort") << "abort" << true;
        QTest::newRow("abort, no result log") << "abort" << false;
        QTest::newRow("uncaught exception, no result log") << "exception" << false;
    }

    void crashEndsWithOne() {
        QFETCH(QString, how);
        QFETCH(bool, withLog);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString log = folder.filePath(QStringLiteral("result log.txt"));
        // The run's own lines before the crash stay.
        const QByteArray before = "Panelup.exe 2024-05-06T10:11:12: /s /l=x\n";
        if (withLog) {
            QFile file(log);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }
        QStringList arguments{QString::fromLatin1(childSwitch), how, QStringLiteral("guarded")};
        if (withLog)
            arguments << log;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), arguments);
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        if (withLog)
            QCOMPARE(readAll(log),
                     before + QByteArray("result=1 failed (the program ended abnormally)\n"));
    }

    // Without the guard the same crashes do not end with 1 (on Windows abort
    // ends with 3; on Linux the child dies of SIGABRT): what the rows above
    // see is the guard's work.
    void controlWithoutGuard_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("abort") << "abort";
        QTest::newRow("uncaught exception") << "exception";
    }

    void controlWithoutGuard() {
        QFETCH(QString, how);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(childSwitch), how, QStringLiteral("unguarded")});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 1,
                 qPrintable(QString::number(child.exitCode())));
#ifdef _WIN32
        if (how == QLatin1String("abort"))
            QCOMPARE(child.exitCode(), 3);
#endif
    }
};

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], childSwitch) == 0)
        return crashChild(argc, argv);
    QCoreApplication app(argc, argv);
    CrashGuardTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "CrashGuardTest.moc"
