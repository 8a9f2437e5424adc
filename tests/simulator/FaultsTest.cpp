// The fault switches: each does what its name says, deterministically.

#include "VendorLink.h"

#include <QtTest>

namespace {

const QByteArray getFirmwareLevel = bytes({0x82, 0x01, 0xC9, 0xFF});

bool acceptedLevel(const QByteArray& reply) {
    return reply.size() == 11 && uint8_t(reply[10]) == ddcCheckOf(reply) &&
           uint8_t(reply[4]) == 0xC9;
}

// Which of n firmware-level exchanges came back dropped (d), corrupted (c)
// or whole (.).
QByteArray outcomes(VendorLink& link, int n) {
    QByteArray pattern;
    for (int i = 0; i < n; ++i) {
        const QByteArray reply = link.exchange(getFirmwareLevel, 11);
        pattern += reply == QByteArray(11, '\xFF') ? 'd' : acceptedLevel(reply) ? '.' : 'c';
    }
    return pattern;
}

int32_t speedAt(uint32_t index) {
    VendorLink link(index);
    uint32_t speed = 0;
    return TvHub_Speed(link.handle(), &speed);
}

int32_t locationAt(uint32_t index) {
    VendorLink link(index);
    uint32_t port = 0;
    uint32_t parent = 0;
    return TvHub_GetLocation(link.handle(), &port, &parent);
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(world::load(lm0420World())); }

    void countedReplyFaults_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("pattern");
        QTest::newRow("drop two") << QByteArray("dropReplies") << QByteArray("dd...");
        QTest::newRow("corrupt two") << QByteArray("corruptReplies") << QByteArray("cc...");
    }

    void countedReplyFaults() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, pattern);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        // Requests without a reply use up nothing.
        QCOMPARE(VM_SetFault(name.constData(), 2), 1);
        link.write(modeRequest(0));
        QCOMPARE(outcomes(link, 5), pattern);
    }

    void aCorruptedReplyKeepsItsShape() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(VM_SetFault("corruptReplies", 1), 1);
        const QByteArray reply = link.exchange(memoryReadRequest(27, 0x0500), 32);
        // The length byte still fits, only the vendor check fails: a reader
        // asks again instead of giving up.
        QCOMPARE(uint8_t(reply[1]), uint8_t(0x80 + 29));
        QVERIFY(uint8_t(reply[31]) != vendorCheckOf(reply));
        const QByteArray again = link.exchange(memoryReadRequest(27, 0x0500), 32);
        QCOMPARE(uint8_t(again[31]), vendorCheckOf(again));
    }

    void percentagesRepeatWithTheirSeed_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<char>("mark");
        QTest::newRow("dropped") << QByteArray("dropReplyPercent") << 'd';
        QTest::newRow("corrupted") << QByteArray("corruptReplyPercent") << 'c';
    }

    void percentagesRepeatWithTheirSeed() {
        QFETCH(QByteArray, name);
        QFETCH(char, mark);
        auto run = [&](int seed) {
            VM_ClearFaults();
            VM_SetFault("seed", seed);
            VM_SetFault(name.constData(), 30);
            VendorLink link;
            link.configure();
            return outcomes(link, 200);
        };
        const QByteArray first = run(7);
        QCOMPARE(run(7), first);
        QVERIFY(run(8) != first);
        const int hits = int(first.count(mark));
        QVERIFY2(hits > 30 && hits < 90, first.constData());
        QCOMPARE(hits + int(first.count('.')), 200);
        VM_SetFault(name.constData(), 100);
        VendorLink link;
        link.configure();
        QCOMPARE(outcomes(link, 5), QByteArray(5, mark));
    }

    void fragmentsForTheWrongOffset() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(VM_SetFault("wrongOffsetFragments", 2), 1);
        const QByteArray request = bytes({0x83, 0xF3, 0x00, 0x1A, 0xFF});
        for (int i = 0; i < 2; ++i) {
            const QByteArray wrong = link.exchange(request, 32);
            QCOMPARE(uint8_t(wrong[3]) << 8 | uint8_t(wrong[4]), 52);
        }
        const QByteArray right = link.exchange(request, 32);
        QCOMPARE(uint8_t(right[3]) << 8 | uint8_t(right[4]), 26);
    }

    void refusedMemoryWrites() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(VM_SetFault("refuseMemoryWrites", 1), 1);
        link.write(modeRequest(3));
        const QByteArray request = memoryWriteRequest(0x1200, QByteArray(32, '\x42'));
        QCOMPARE(link.exchange(request, 6).mid(1, 4).toHex(' '), QByteArray("83 c1 02 00"));
        uint8_t first = 0;
        VM_ReadMemory(0, 0x1200, &first, 1);
        QCOMPARE(first, uint8_t(0xFF));
        QCOMPARE(link.exchange(request, 6).mid(1, 4).toHex(' '), QByteArray("83 c1 02 01"));
        VM_ReadMemory(0, 0x1200, &first, 1);
        QCOMPARE(first, uint8_t(0x42));
    }

    void failingQueries_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("status");
        QTest::addColumn<bool>("speed");
        QTest::addColumn<bool>("location");
        QTest::newRow("status") << QByteArray("failStatus") << false << true << true;
        QTest::newRow("speed") << QByteArray("failSpeed") << true << false << true;
        QTest::newRow("location") << QByteArray("failLocation") << true << true << false;
    }

    void failingQueries() {
        QFETCH(QByteArray, name);
        QFETCH(bool, status);
        QFETCH(bool, speed);
        QFETCH(bool, location);
        QCOMPARE(VM_SetFault(name.constData(), 1), 1);
        for (uint32_t index = 0; index < 2; ++index) {
            VendorLink link(index);
            uint8_t block[16];
            uint32_t value = 0, parent = 0;
            QCOMPARE(TvHub_Status(link.handle(), block, 16) == 0, status);
            QCOMPARE(TvHub_Speed(link.handle(), &value) == 0, speed);
            QCOMPARE(TvHub_GetLocation(link.handle(), &value, &parent) == 0, location);
        }
    }

    void queryFailsAtOneIndex_data() {
        QTest::addColumn<QByteArray>("fault");
        QTest::newRow("speed") << QByteArray("failSpeedAtIndex");
        QTest::newRow("location") << QByteArray("failLocationAtIndex");
    }
    void queryFailsAtOneIndex() {
        QFETCH(QByteArray, fault);
        const auto query = fault == "failSpeedAtIndex" ? speedAt : locationAt;
        QCOMPARE(VM_SetFault(fault.constData(), 2), 1);
        QCOMPARE(query(0), 0);
        QVERIFY(query(1) != 0);
    }

    void theHubsDisappear() {
        VendorLink held;
        QCOMPARE(held.configure(), 0);
        QCOMPARE(VM_SetFault("hubGone", 1), 1);
        uint32_t index = 0;
        QCOMPARE(TvHub_Open(&index), nullptr);
        QVERIFY(held.write(getFirmwareLevel) != 0);
        uint32_t speed = 0;
        QVERIFY(TvHub_Speed(held.handle(), &speed) != 0);
        QVERIFY(held.configure() != 0);
        const QByteArray image(0x8000, '\0');
        QVERIFY(TvHub_UpdateFW(reinterpret_cast<const uint8_t*>(image.constData()), image.size(),
                               nullptr, nullptr) != 0);
        // They come back when the fault is switched off.
        QCOMPARE(VM_SetFault("hubGone", 0), 1);
        QCOMPARE(held.exchange(getFirmwareLevel, 11).at(4), '\xC9');
    }

    void theHubsDisappearAfterSomeTransfers() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(VM_SetFault("hubGoneAfterTransfers", 3), 1);
        QCOMPARE(link.write(getFirmwareLevel), 0);
        int32_t result = -1;
        link.read(11, &result);
        QCOMPARE(result, 0);
        QCOMPARE(link.write(getFirmwareLevel), 0);
        link.read(11, &result);
        QVERIFY(result != 0);
        uint32_t index = 0;
        QCOMPARE(TvHub_Open(&index), nullptr);
    }

    void busConfigurationRefused() {
        VendorLink link;
        QCOMPARE(VM_SetFault("refuseBusConfig", 1), 1);
        QVERIFY(link.configure() != 0);
        QVERIFY(link.write(getFirmwareLevel) != 0);
    }

    void badSwitches_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown") << QByteArray("dropEverything") << 1 << "unknown fault";
        QTest::newRow("negative count") << QByteArray("dropReplies") << -1 << "out of range";
        QTest::newRow("above 100 percent")
            << QByteArray("dropReplyPercent") << 101 << "out of range 0..100";
        QTest::newRow("switch value 2") << QByteArray("hubGone") << 2 << "out of range 0..1";
    }

    void badSwitches() {
        QFETCH(QByteArray, name);
        QFETCH(int, value);
        QFETCH(QString, reason);
        QCOMPARE(VM_SetFault(name.constData(), value), 0);
        QVERIFY2(QString(VM_LastError()).contains(reason), VM_LastError());
        QCOMPARE(VM_SetFault(nullptr, 1), 0);
    }

    void faultsEndWithClearingAndLoading() {
        VM_SetFault("failSpeed", 1);
        VM_SetFault("hubGone", 1);
        VM_ClearFaults();
        QCOMPARE(speedAt(0), 0);
        VM_SetFault("failSpeed", 1);
        QVERIFY(world::load(lm0420World()));
        QCOMPARE(speedAt(0), 0);
    }
};

QTEST_GUILESS_MAIN(FaultsTest)
#include "FaultsTest.moc"
