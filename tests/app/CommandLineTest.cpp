// Every form of the switches that the usage text and the README name, and
// the malformed ones, read into what the run does.
#include "app/CommandLine.h"

#include <QFile>
#include <QtTest>

using app::CommandLine;
using Mode = CommandLine::Mode;

Q_DECLARE_METATYPE(CommandLine::Mode)

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("checkOnly");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("logFile");
        QTest::addColumn<QString>("error"); // start of the error text

        auto row = [](const char* name, const QStringList& arguments, Mode mode, bool check,
                      bool force, const QString& log, const QString& error) {
            QTest::newRow(name) << arguments << mode << check << force << log << error;
        };
        const QString none;
        row("no switches: the window", {}, Mode::Window, false, false, none, none);
        row("/s", {"/s"}, Mode::Silent, false, false, none, none);
        row("/S", {"/S"}, Mode::Silent, false, false, none, none);
        row("-s", {"-s"}, Mode::Silent, false, false, none, none);
        row("--silent", {"--silent"}, Mode::Silent, false, false, none, none);
        row("/s /c", {"/s", "/c"}, Mode::Silent, true, false, none, none);
        row("--silent --check", {"--silent", "--check"}, Mode::Silent, true, false, none, none);
        row("/s /f", {"/s", "/f"}, Mode::Silent, false, true, none, none);
        row("/s --force", {"/s", "--force"}, Mode::Silent, false, true, none, none);
        row("/s /l=<file>", {"/s", "/l=C:\\Logs\\panelup.log"}, Mode::Silent, false, false,
            "C:\\Logs\\panelup.log", none);
        row("/s /l:<file>", {"/s", "/l:out.log"}, Mode::Silent, false, false, "out.log", none);
        row("/s --log=<file> with blanks", {"/s", "--log=C:\\My Logs\\panelup.log"}, Mode::Silent,
            false, false, "C:\\My Logs\\panelup.log", none);
        row("/s /c /f /l together", {"/s", "/c", "/f", "/l=x.log"}, Mode::Silent, true, true,
            "x.log", none);
        row("/?", {"/?"}, Mode::Help, false, false, none, none);
        row("/h", {"/h"}, Mode::Help, false, false, none, none);
        row("-H", {"-H"}, Mode::Help, false, false, none, none);
        row("--help", {"--help"}, Mode::Help, false, false, none, none);
        row("/s /? with /l", {"/s", "/?", "/l=x.log"}, Mode::Help, false, false, "x.log", none);
        row("/l= without a file", {"/s", "/l="}, Mode::Error, false, false, none,
            "/l= needs a file");
        row("--log without a file", {"/s", "--log"}, Mode::Error, false, false, none,
            "--log needs a file");
        row("/l without /s", {"/l=x.log"}, Mode::Error, false, false, "x.log",
            "/c, /f and /l need /s");
        row("/c without /s", {"/c"}, Mode::Error, true, false, none, "/c, /f and /l need /s");
        row("/f without /s", {"-f"}, Mode::Error, false, true, none, "/c, /f and /l need /s");
        row("/s with a value", {"/s=1"}, Mode::Error, false, false, none, "/s=1 takes no value");
        row("unknown switch", {"/x"}, Mode::Error, false, false, none, "unknown argument \"/x\"");
        row("a plain word", {"update"}, Mode::Error, false, false, none,
            "unknown argument \"update\"");
        row("/s beside an unknown switch", {"/s", "/bogus"}, Mode::Error, false, false, none,
            "unknown argument \"/bogus\"");
    }

    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(Mode, mode);
        QFETCH(bool, checkOnly);
        QFETCH(bool, force);
        QFETCH(QString, logFile);
        QFETCH(QString, error);
        const CommandLine line = app::parseCommandLine(arguments);
        QCOMPARE(line.mode, mode);
        QCOMPARE(line.checkOnly, checkOnly);
        QCOMPARE(line.allowOlder, force);
        QCOMPARE(line.logFile, logFile);
        QVERIFY2(line.error.startsWith(error), qPrintable(line.error));
        QCOMPARE(line.error.isEmpty(), error.isEmpty());
    }

    // Every code the usage text names has its own name in the result log,
    // and a row of the README's exit-code table.
    void exitCodeNames() {
        QFile readme(QStringLiteral(PANELUP_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString readmeText = QString::fromUtf8(readme.readAll());
        QSet<QString> names;
        for (int code : {0, 1, 3, 4, 5, 6, 7, 8, 9, 64}) {
            const QString name = app::exitCodeName(code, false);
            QVERIFY2(name != QLatin1String("unknown"), qPrintable(QString::number(code)));
            QVERIFY(!names.contains(name));
            names.insert(name);
            QVERIFY2(app::usageText(QStringLiteral("Panelup"))
                         .contains(QStringLiteral("\n  %1 ").arg(code, -2)),
                     qPrintable(QString::number(code)));
            QVERIFY2(readmeText.contains(QStringLiteral("\n| %1 | ").arg(code)),
                     qPrintable(QString::number(code)));
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
