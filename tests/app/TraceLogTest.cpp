// The trace log in an isolated temporary folder: file, line format, filter,
// reopening and closing.
#include "app/TraceLog.h"
#include "IsolatedTempDir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <thread>
#include <vector>

namespace {

const QString stamp = QStringLiteral("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d");

// Windows writes the log in text mode: every line ends in CR LF there.
#ifdef Q_OS_WIN
const QByteArray lineEnd = "\r\n";
#else
const QByteArray lineEnd = "\n";
#endif

QByteArray rawContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The log with its line ends as written on Linux.
QByteArray readAll(const QString& path) {
    QByteArray content = rawContent(path);
    return content.replace(lineEnd, "\n");
}

QStringList lines(const QString& path) {
    QString text = QString::fromUtf8(readAll(path));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QString logPath() {
    return QDir::tempPath() + QStringLiteral("/Panelup_log.txt");
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

} // namespace

class TraceLogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        app::traceLevel = 4;
        IsolatedTempDir::active()->leave();
    }

    void cleanup() {
        app::closeLogFile();
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/RunInfo.ini"));
    }

    void firstLineIsTheDebugMessage() {
        QVERIFY(writeFile(logPath(), "previous run\nmore\n"));
        app::initTrace();
        qDebug("this is a debug message");

        QCOMPARE(app::traceLevel, 4);
        QCOMPARE(app::logFilePath(), logPath());
        QVERIFY(rawContent(logPath()).endsWith(": this is a debug message" + lineEnd));
        const QByteArray content = readAll(logPath());
        QVERIFY(QRegularExpression(QStringLiteral("^%1: this is a debug message\n$").arg(stamp))
                    .match(QString::fromUtf8(content))
                    .hasMatch());
        QVERIFY(!content.contains("Opened log file."));
        QVERIFY(!content.contains("previous run"));
    }

    void lineFormat_data() {
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << QStringLiteral("Found 1 hub");
        QTest::newRow("line ends kept") << QStringLiteral("first\nsecond\r\nthird\n");
        QTest::newRow("format characters") << QStringLiteral("100% done %s %d %n");
        QTest::newRow("not ASCII") << QStringLiteral("Prüfung \u65e5\u672c \u2713");
        QTest::newRow("trailing blanks") << QStringLiteral("  padded  ");
    }

    void lineFormat() {
        QFETCH(QString, message);
        QVERIFY(app::openLogFile(logPath()));
        qDebug("%s", message.toUtf8().constData());

        const QByteArray content = readAll(logPath());
        const QRegularExpression line(QStringLiteral("^(%1): (.*)\n$").arg(stamp),
                                      QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(content));
        QVERIFY2(match.hasMatch(), content.constData());
        QCOMPARE(match.captured(2), message);
    }

    void qtOwnMessages() {
        QVERIFY(app::openLogFile(logPath()));
        // A warning that Qt itself issues.
        QObject::connect(nullptr, SIGNAL(destroyed()), nullptr, SLOT(deleteLater()));
        const QStringList written = lines(logPath());
        QCOMPARE(written.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^%1: QObject::connect: ").arg(stamp))
                    .match(written.first())
                    .hasMatch());
    }

    void levels_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("written"); // D debug, W warning, C critical, F fatal, I info
        QTest::newRow("4") << 4 << "DWCFI";
        QTest::newRow("5") << 5 << "DWCFI";
        QTest::newRow("3") << 3 << "WCFI";
        QTest::newRow("2") << 2 << "CFI";
        QTest::newRow("1") << 1 << "FI";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("negative") << -1 << "";
    }

    void levels() {
        QFETCH(int, level);
        QFETCH(QString, written);
        QVERIFY(app::openLogFile(logPath()));
        app::traceLevel = level;

        // Straight to the handler: a real fatal message would end the test.
        const QMessageLogContext context;
        const std::pair<QtMsgType, char> types[] = {{QtDebugMsg, 'D'},
                                                    {QtWarningMsg, 'W'},
                                                    {QtCriticalMsg, 'C'},
                                                    {QtFatalMsg, 'F'},
                                                    {QtInfoMsg, 'I'}};
        for (const auto& type : types)
            app::traceMessageHandler(type.first, context, QString(QLatin1Char(type.second)));

        QString seen;
        for (const QString& line : lines(logPath()))
            seen += line.right(1);
        QCOMPARE(seen, written);
    }

    void reopenEmptiesAndSwitches() {
        const QString first = logPath();
        const QString second = QDir::tempPath() + QStringLiteral("/other_log.txt");
        QVERIFY(app::openLogFile(first));
        qDebug("one");
        QVERIFY(app::openLogFile(second));
        qDebug("two");
        QCOMPARE(lines(first).size(), 1);
        QVERIFY(lines(first).first().endsWith(QLatin1String(": one")));
        QCOMPARE(lines(second).size(), 1);
        QVERIFY(lines(second).first().endsWith(QLatin1String(": two")));
    }

    void failedOpenLeavesNoLog() {
        QVERIFY(app::openLogFile(logPath()));
        qDebug("before");
        const QString missing =
            QDir::tempPath() + QStringLiteral("/no such folder/Panelup_log.txt");
        QVERIFY(!app::openLogFile(missing));
        QVERIFY(app::logFilePath().isEmpty());
        qDebug("after the failed open");
        QCOMPARE(lines(logPath()).size(), 1);
        QVERIFY(!QFile::exists(missing));

        // A later open works again.
        QVERIFY(app::openLogFile(logPath()));
        qDebug("again");
        QCOMPARE(lines(logPath()).size(), 1);
    }

    void closeWritesLastLine() {
        QVERIFY(app::openLogFile(logPath()));
        qDebug("working");
        app::closeLogFile();
        qDebug("after the close");
        app::closeLogFile();

        const QStringList written = lines(logPath());
        QCOMPARE(written.size(), 2);
        QVERIFY(written[0].endsWith(QLatin1String(": working")));
        QVERIFY(QRegularExpression(QStringLiteral("^%1: Close log file.$").arg(stamp))
                    .match(written[1])
                    .hasMatch());
        QVERIFY(app::logFilePath().isEmpty());
    }

    void temporaryFolderNotAscii() {
        const QString folder =
            IsolatedTempDir::active()->enter(QStringLiteral("Prüfung \u65e5\u672c ü"));
        QVERIFY(!folder.isEmpty());
        app::initTrace();
        qDebug("this is a debug message");
        const QString expected = folder + QStringLiteral("/Panelup_log.txt");
        QCOMPARE(app::logFilePath(), expected);
        QCOMPARE(lines(expected).size(), 1);
        QVERIFY(lines(expected).first().endsWith(QLatin1String(": this is a debug message")));
    }

    void runInfoLevel_data() {
        QTest::addColumn<QByteArray>("runInfo"); // empty: no file
        QTest::addColumn<int>("configured");
        // Each file differs in length: QSettings keeps a file read within
        // the same instant of its time stamp unless its size changed.
        QTest::newRow("no file") << QByteArray() << 1;
        QTest::newRow("level 2") << QByteArray("[TraceSet]\nTraceLevel=2\n") << 2;
        QTest::newRow("level 0") << QByteArray("[TraceSet]\r\nTraceLevel=0\r\n") << 0;
        QTest::newRow("other group") << QByteArray("[Other]\nTraceLevel=3\n") << 1;
    }

    void runInfoLevel() {
        QFETCH(QByteArray, runInfo);
        QFETCH(int, configured);
        if (!runInfo.isEmpty())
            QVERIFY(writeFile(
                QCoreApplication::applicationDirPath() + QStringLiteral("/RunInfo.ini"), runInfo));
        app::initTrace();
        QCOMPARE(app::configuredTraceLevel, configured);
        // Whatever is configured, every message is written.
        QCOMPARE(app::traceLevel, 4);
        qDebug("debug still written");
        QCOMPARE(lines(logPath()).size(), 1);
    }

    void messagesFromSeveralThreads() {
        QVERIFY(app::openLogFile(logPath()));
        const int threads = 4;
        const int perThread = 250;
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([t] {
                for (int i = 0; i < perThread; ++i)
                    qDebug("thread %d message %d", t, i);
            });
        }
        for (std::thread& worker : workers)
            worker.join();

        const QStringList written = lines(logPath());
        QCOMPARE(written.size(), threads * perThread);
        const QRegularExpression line(QStringLiteral("^%1: thread \\d message \\d+$").arg(stamp));
        for (const QString& text : written)
            QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
    }
};

PANELUP_ISOLATED_TEST_MAIN(TraceLogTest)
#include "TraceLogTest.moc"
