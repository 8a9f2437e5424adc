// What each stage runs or reads comes from a package of the group that
// scripts/setup installs for it: a package missing from its group fails
// here, not on the first fresh machine that lacks it.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString setup = QStringLiteral(PANELUP_SOURCE_DIR "/scripts/setup");

QString run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QStringList group(const QString& purpose) {
    return run(setup, {QStringLiteral("--list"), purpose}).split('\n', Qt::SkipEmptyParts);
}

// A package name as dpkg and apt-cache print it, without architecture
// qualifiers ("wine32:i386", "python3:any").
QString bare(QString name) {
    name = name.trimmed();
    if (name.startsWith('<') && name.endsWith('>'))
        name = name.mid(1, name.size() - 2);
    return name.section(':', 0, 0);
}

// The group with everything it depends on, as installed here; asked of apt
// once per group.
QSet<QString> closure(const QStringList& packages) {
    static QHash<QString, QSet<QString>> known;
    const QString key = packages.join(' ');
    if (known.contains(key))
        return known.value(key);
    QStringList arguments = {QStringLiteral("depends"),       QStringLiteral("--recurse"),
                             QStringLiteral("--installed"),   QStringLiteral("--no-recommends"),
                             QStringLiteral("--no-suggests"), QStringLiteral("--no-conflicts"),
                             QStringLiteral("--no-breaks"),   QStringLiteral("--no-replaces"),
                             QStringLiteral("--no-enhances")};
    arguments += packages;
    QSet<QString> names;
    for (const QString& line : run(QStringLiteral("apt-cache"), arguments).split('\n')) {
        const QString name = line.section(':', line.startsWith(' ') ? 1 : 0);
        if (!name.trimmed().isEmpty())
            names.insert(bare(line.startsWith(' ') ? name : line));
    }
    for (const QString& package : packages)
        names.insert(bare(package));
    known.insert(key, names);
    return names;
}

// The package that holds a command (found on PATH) or a file, through
// whatever links lead to it.
QString owner(const QString& used) {
    QString path = used;
    if (!used.startsWith('/'))
        path = QStandardPaths::findExecutable(used);
    if (path.isEmpty())
        return QString();
    QStringList candidates = {path, QFileInfo(path).canonicalFilePath()};
    for (const QString& candidate : QStringList(candidates)) {
        if (candidate.startsWith(QStringLiteral("/usr/")))
            candidates << candidate.mid(4); // merged /usr: dpkg may know it as /bin/...
    }
    for (const QString& candidate : candidates) {
        int code = 0;
        const QString found =
            run(QStringLiteral("dpkg-query"), {QStringLiteral("-S"), candidate}, &code);
        if (code == 0 && !found.isEmpty())
            return bare(found.section(':', 0, 0).section(',', 0, 0));
    }
    return QString();
}

bool kernelRunsI386() {
    int code = 0;
    run(QStringLiteral("bash"),
        {QStringLiteral("-c"),
         QStringLiteral("source '" PANELUP_SOURCE_DIR "/scripts/lib/i386.sh' && kernel_runs_i386")},
        &code);
    return code == 0;
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT

private slots:
    void stageUsesItsGroup_data() {
        QTest::addColumn<QString>("purpose");
        QTest::addColumn<QString>("used");
        const QString cmake = QStringLiteral("/usr/lib/x86_64-linux-gnu/cmake/");
        const QStringList build = {
            QStringLiteral("cmake"),
            QStringLiteral("ninja"),
            QStringLiteral("ccache"),
            QStringLiteral("g++"),
            QStringLiteral("git"),
            QStringLiteral("/usr/lib/qt5/bin/moc"),
            QStringLiteral("/usr/lib/qt5/bin/uic"),
            QStringLiteral("/usr/lib/qt5/bin/rcc"),
            cmake + QStringLiteral("Qt5Widgets/Qt5WidgetsConfig.cmake"),
            cmake + QStringLiteral("Qt5Network/Qt5NetworkConfig.cmake"),
            cmake + QStringLiteral("Qt5Xml/Qt5XmlConfig.cmake"),
            cmake + QStringLiteral("Qt5Test/Qt5TestConfig.cmake"),
            cmake + QStringLiteral("Qt5DBus/Qt5DBusConfig.cmake"),
            cmake + QStringLiteral("benchmark/benchmarkConfig.cmake"),
            QStringLiteral("/usr/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake"),
            // demo/make-site.py --make-key, run by the build
            QStringLiteral("/usr/lib/python3/dist-packages/cryptography/__init__.py"),
            // the translations: lrelease at build time, lupdate in scripts/translations
            QStringLiteral("/usr/lib/qt5/bin/lrelease"),
            QStringLiteral("/usr/lib/qt5/bin/lupdate"),
        };
        for (const QString& purpose :
             {QStringLiteral("build"), QStringLiteral("demo"), QStringLiteral("test")}) {
            for (const QString& used : build)
                QTest::addRow("%s %s", qPrintable(purpose), qPrintable(used)) << purpose << used;
        }
        const QString font =
            QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");
        const QString cjkFont = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
        const QString qtCatalogue = QStringLiteral("/usr/share/qt5/translations/qtbase_ja.qm");
        const QList<QPair<QString, QStringList>> stages = {
            {QStringLiteral("demo"),
             {QStringLiteral("/usr/bin/python3"), QStringLiteral("Xvfb"), QStringLiteral("xdotool"),
              QStringLiteral("import"), QStringLiteral("unshare"), font, cjkFont, qtCatalogue}},
            {QStringLiteral("test"),
             {QStringLiteral("/usr/bin/python3"), QStringLiteral("dbus-daemon"),
              // the accessibility test: its display, bus, registry and client
              QStringLiteral("Xvfb"), QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
              QStringLiteral("/usr/libexec/at-spi2-registryd"),
              QStringLiteral("/usr/lib/python3/dist-packages/pyatspi/__init__.py"),
              QStringLiteral("edid-decode"), QStringLiteral("clang++"),
              QStringLiteral("clang-format"), QStringLiteral("unshare"), font, cjkFont, qtCatalogue,
              QStringLiteral(
                  "/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a")}},
            {QStringLiteral("windows"),
             {QStringLiteral("cmake"), QStringLiteral("ninja"), QStringLiteral("ccache"),
              QStringLiteral("/usr/bin/python3"), QStringLiteral("dpkg-source"),
              QStringLiteral("patch"), QStringLiteral("xz"),
              QStringLiteral("i686-w64-mingw32-g++-posix"),
              QStringLiteral("i686-w64-mingw32-objdump"),
              QStringLiteral("x86_64-w64-mingw32-g++-posix"),
              QStringLiteral("/usr/lib/wine/wine64"), QStringLiteral("/usr/lib/wine/wineserver64"),
              QStringLiteral("wixl"), QStringLiteral("msibuild"), QStringLiteral("msiinfo"),
              QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("import"),
              QStringLiteral("unshare"), font, QStringLiteral("osslsigncode"),
              QStringLiteral("openssl"),
              QStringLiteral("/usr/lib/python3/dist-packages/cryptography/__init__.py"),
              // the build machine's lrelease; Qt's catalogues for the program folder
              QStringLiteral("/usr/lib/qt5/bin/lrelease"), qtCatalogue, cjkFont,
              // localedef's sources for the locales Wine is run in
              QStringLiteral("/usr/share/i18n/locales/ja_JP"),
              // the Debian Qt whose source becomes Qt for Windows
              cmake + QStringLiteral("Qt5Core/Qt5CoreConfig.cmake")}},
        };
        for (const auto& stage : stages) {
            for (const QString& used : stage.second)
                QTest::addRow("%s %s", qPrintable(stage.first), qPrintable(used))
                    << stage.first << used;
        }
        if (kernelRunsI386()) {
            for (const QString& used :
                 {QStringLiteral("/usr/lib/wine/wine"), QStringLiteral("/usr/bin/wine")})
                QTest::addRow("windows %s (32-bit)", qPrintable(used))
                    << QStringLiteral("windows") << used;
        }
    }

    void stageUsesItsGroup() {
        QFETCH(QString, purpose);
        QFETCH(QString, used);
        const QString package = owner(used);
        // dpkg knows only what is installed: scripts/test installs every
        // group first; run alone, this wants scripts/setup all.
        QVERIFY2(!package.isEmpty(),
                 qPrintable(used + QStringLiteral(" is not installed (scripts/setup ") + purpose +
                            QStringLiteral(" installs it), or no package holds it")));
        QVERIFY2(closure(group(purpose)).contains(package),
                 qPrintable(package + QStringLiteral(" (") + used +
                            QStringLiteral(") is not in scripts/setup's ") + purpose +
                            QStringLiteral(" group, nor anything it depends on")));
    }

    // The Linux build, demo and suite work on a machine whose mirror has no
    // foreign architecture, no Wine and no MinGW to offer.
    void linuxGroupsNeedNothingOfWindows_data() {
        QTest::addColumn<QString>("purpose");
        for (const char* purpose : {"build", "demo", "test"})
            QTest::newRow(purpose) << QString::fromLatin1(purpose);
    }

    void linuxGroupsNeedNothingOfWindows() {
        QFETCH(QString, purpose);
        const QStringList packages = group(purpose);
        QVERIFY(!packages.isEmpty());
        for (const QString& package : packages) {
            QVERIFY2(!package.contains(':') && !package.contains(QStringLiteral("wine")) &&
                         !package.contains(QStringLiteral("mingw")) &&
                         package != QStringLiteral("wixl") && package != QStringLiteral("msitools"),
                     qPrintable(package));
        }
    }

    void windowsGroupHasWineOfTheKernelsKind() {
        const QStringList packages = group(QStringLiteral("windows"));
        QVERIFY(packages.contains(QStringLiteral("wine64")));
        QCOMPARE(packages.contains(QStringLiteral("wine32:i386")), kernelRunsI386());
    }

    void unknownPurposeRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("list unknown")
            << QStringList{QStringLiteral("--list"), QStringLiteral("windowz")};
        QTest::newRow("list nothing") << QStringList{QStringLiteral("--list")};
        QTest::newRow("install unknown")
            << QStringList{QStringLiteral("demo"), QStringLiteral("everything")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--all")};
    }

    void unknownPurposeRefused() {
        QFETCH(QStringList, arguments);
        int code = 0;
        QVERIFY(run(setup, arguments, &code).isEmpty());
        QCOMPARE(code, 2);
    }
};

QTEST_APPLESS_MAIN(SetupTest)
#include "SetupTest.moc"
