// The description beside the program is loaded when the library is; a
// broken one leaves the world empty and says why.

#include "VendorLink.h"

#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void descriptionBesideTheProgram() {
        const QString expected =
            QCoreApplication::applicationDirPath() + QStringLiteral("/virtual-monitor.json");
        QCOMPARE(QString::fromLocal8Bit(VM_DescriptionPath()), expected);
#ifdef STARTUP_BROKEN
        QCOMPARE(VM_MonitorCount(), 0);
        QVERIFY2(QString(VM_LastError()).contains(expected), VM_LastError());
        uint32_t index = 0;
        QCOMPARE(TvHub_Open(&index), nullptr);
#else
        QCOMPARE(VM_MonitorCount(), 1);
        QCOMPARE(VM_GetHubFirmware(0), 1029);
        VendorLink link;
        uint32_t speed = 0;
        QCOMPARE(TvHub_Speed(link.handle(), &speed), 0);
        QCOMPARE(speed, 2u);
        QCOMPARE(link.configure(), 0);
        const QByteArray reply = link.exchange(bytes({0x82, 0x01, 0xC9, 0xFF}), 11);
        QCOMPARE(reply.mid(8, 2), bytes({2, 9}));
#endif
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
