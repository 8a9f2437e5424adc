// The Linux keep-awake request where no bus answers at all, as on a bare
// server: the update must go on.
#include "IsolatedTempDir.h"

#include "platform/Platform.h"
#include "platform/linux/LinuxKeepAwake.h"

#include <QtTest>

class KeepAwakeNoBusTest : public QObject {
    Q_OBJECT

private slots:
    void neitherBlocksNorFails() {
        const auto native = platform::makeNativePlatform();
        auto* keepAwake = dynamic_cast<platform::LinuxKeepAwake*>(&native->keepAwake());
        QVERIFY(keepAwake);
        keepAwake->begin();
        QVERIFY(!keepAwake->screenSaverInhibited());
        QVERIFY(!keepAwake->sleepInhibited());
        keepAwake->end();
        keepAwake->begin();
        keepAwake->end();
    }
};

int main(int argc, char** argv) {
    IsolatedTempDir isolatedTemp;
    // Before the application: Qt reads the bus addresses once.
    const QByteArray nowhere = "unix:path=" + QFile::encodeName(isolatedTemp.root()) + "/no-bus";
    qputenv("DBUS_SESSION_BUS_ADDRESS", nowhere);
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", nowhere);
    QCoreApplication app(argc, argv);
    KeepAwakeNoBusTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "KeepAwakeNoBusTest.moc"
