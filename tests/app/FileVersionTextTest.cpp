// The version text in the window title, from the platform's file version.
#include "app/FileVersionText.h"
#include "FakePlatform.h"

#include <QtTest>

#include <memory>

class FileVersionTextTest : public QObject {
    Q_OBJECT

private slots:
    void parts_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("build");
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("parts");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.7.0.5, two parts") << 1 << 7 << 0 << 5 << 2 << "1.07";
        QTest::newRow("2.10.x.y") << 2 << 10 << 3 << 4 << 2 << "2.10";
        QTest::newRow("3.1.x.y") << 3 << 1 << 9 << 9 << 2 << "3.01";
        QTest::newRow("minor past two digits") << 1 << 123 << 0 << 0 << 2 << "1.123";
        QTest::newRow("no parts") << 1 << 7 << 0 << 5 << 0 << "";
        QTest::newRow("one part") << 1 << 7 << 0 << 5 << 1 << "1";
        QTest::newRow("three parts") << 1 << 7 << 0 << 5 << 3 << "1.07.0";
        QTest::newRow("four parts") << 1 << 7 << 0 << 5 << 4 << "1.07.0.5";
        QTest::newRow("beyond four") << 1 << 7 << 0 << 5 << 6 << "1.07.0.5";
    }

    void parts() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, build);
        QFETCH(int, revision);
        QFETCH(int, parts);
        QFETCH(QString, text);
        FakePlatform fake;
        fake.version = platform::FileVersion{uint16_t(major), uint16_t(minor), uint16_t(build),
                                             uint16_t(revision)};
        QCOMPARE(app::fileVersionText(QStringLiteral("/opt/Panelup/Panelup"), parts), text);
    }

    void noVersion() {
        FakePlatform fake;
        fake.version.reset();
        QCOMPARE(app::fileVersionText(QStringLiteral("/opt/Panelup/Panelup"), 2), QString());
    }

    void pathHandedOn() {
        FakePlatform fake;
        app::fileVersionText(QStringLiteral("/opt/Prüfung/Panelup"), 2);
        QCOMPARE(fake.askedPaths, std::vector<std::string>{"/opt/Prüfung/Panelup"});
    }

    void nativePlatform() {
        const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
        platform::setCurrent(native.get());
#ifdef Q_OS_WIN
        // Windows reads the version resource of the file named.
        const QString program = QStringLiteral(PANELUP_PROGRAM_FILE);
#else
        const QString program = QStringLiteral("/opt/Panelup/Panelup");
#endif
        QCOMPARE(app::fileVersionText(program, 2), QStringLiteral("1.07"));
        platform::setCurrent(nullptr);
    }
};

QTEST_APPLESS_MAIN(FileVersionTextTest)
#include "FileVersionTextTest.moc"
