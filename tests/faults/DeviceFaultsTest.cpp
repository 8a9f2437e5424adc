// The device fault matrix: the whole program (the real window over the real
// bridge and the virtual monitor) at start-up and through an update while
// the monitor misbehaves. Whatever the fault, the operation ends within its
// bound of waits, says what the user is told for that failure, never writes
// an EDID area from a read that failed, and leaves the firmware store and
// Config.ini as they were.
#include "E2eFixture.h"
#include "FaultMatrix.h"
#include "VirtualMonitorControl.h"

#include "app/Panelup.h"
#include "scalar/EdidAreaTransfer.h"
#include "scalar/ScalarQueries.h"

#include <QtTest>

#include <vector>

using namespace e2e;

namespace {

constexpr int kSourceArea = 0x0500; // LM0420: the monitor's own EDID
constexpr int kCopyArea = 0x1200;   // LM0420: its copy, blank in this world

constexpr int kInstalledScalarMinor = 3;
constexpr int kInstalledHub = 0x0110;

// Waits a start-up may ask for at most: per bridge device of the hub (two
// sides) a serial read and a capabilities reading of at most 48 reads; then
// the status with its five firmware-level attempts and back-offs. Each I2C
// request waits.
constexpr int kFirmwareLevelWaits = 2 * 5;
constexpr int kStartupWaitBound = 2 * (1 + 48) + 2 * kFirmwareLevelWaits;

// Waits an update may ask for at most: two area reads of 10 chunks, each
// tried 5 times, one area write of 8 chunks likewise (and its two mode
// requests), the three fixed waits, and a status after each write.
constexpr int kAreaReadWaits = 10 * 5;
constexpr int kAreaWriteWaits = 8 * 5 + 2;
constexpr int kUpdateWaitBound = 2 * kAreaReadWaits + kAreaWriteWaits + 3 + 3 * kFirmwareLevelWaits;

enum class Phase { Startup, Update };

// When the hub goes away while its firmware is written.
enum class Unplug { Never, DuringHubWrite, DuringScalarWrite };

// What becomes of the blank copy area the repair rebuilds.
enum class Copy { Written, Kept, Either };

struct DeviceCase {
    Phase phase = Phase::Update;
    QList<QPair<QByteArray, int>> faults;
    Unplug unplug = Unplug::Never;
    bool hubUpdateNeeded = true;
    // What the user may be left with; one of them must hold.
    QList<Outcome> outcomes;
    // The last box of the operation ("" for none).
    QString lastBox;
    bool hubWritten = false;
    bool scalarWritten = false;
    Copy copy = Copy::Kept;
    // The copy area holds an image that is not blank (so it must never be
    // written) instead of the memory's blank fill.
    bool copyInUse = false;
};

const QString kHubFailedTitle = QStringLiteral("Update Hub FW Failed");
const QString kHubFailedText = QStringLiteral(
    "Monitor Hub Firmware update failed , please close the application and retry again !");
const QString kScalarFailedTitle = QStringLiteral("Update Scalar FW Failed");
const QString kScalarFailedText = QStringLiteral(
    "Monitor Scalar Firmware update failed, please close the application and retry again !");
const QString kSuccessTitle = QStringLiteral("Update Firmware");

world::Monitor faultWorld() {
    world::Monitor m;
    m.capabilities =
        QStringLiteral("(prot(monitor)type(LCD)model(LM0420)cmds(01 02 03 0C E3 F3)vcp(02 "
                       "04 05 08 10 12 14(05 08 0B) 16 18 1A 60(0F 11 12) C8 C9 "
                       "DF)mccs_ver(2.2))");
    m.scalarMinor = kInstalledScalarMinor;
    m.edidAreas = {kSourceArea};
    m.hubFirmware = kInstalledHub;
    return m;
}

std::vector<uint8_t> area(int address) {
    std::vector<uint8_t> bytes(scalar::kEdidAreaSize);
    VM_ReadMemory(0, address, bytes.data(), static_cast<int32_t>(bytes.size()));
    return bytes;
}

// The copy the repair makes of the source, worked out here: byte 12 marks
// it, and each block's last byte makes the block sum to 0.
std::vector<uint8_t> expectedCopy(std::vector<uint8_t> source) {
    source[12] = 21;
    for (std::size_t block = 0; block < source.size(); block += 128) {
        unsigned sum = 0;
        for (std::size_t i = block; i < block + 127; ++i)
            sum += source[i];
        source[block + 127] = static_cast<uint8_t>((256 - sum % 256) % 256);
    }
    return source;
}

int scalarLevel() {
    int32_t major = 0;
    int32_t minor = 0;
    VM_GetScalarFirmware(0, &major, &minor);
    return major << 8 | minor;
}

} // namespace

Q_DECLARE_METATYPE(DeviceCase)

class DeviceFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(IsolatedTempDir::active()); }

    void deviceFault_data() {
        QTest::addColumn<DeviceCase>("c");
        const QList<Outcome> startedOrNoHub{Outcome::StatusShown, Outcome::HubNotDetected};

        // Replies corrupted at random: the reads retry within their bounds,
        // the firmware writers do not use I2C replies.
        for (int percent : {1, 10, 50}) {
            DeviceCase startup;
            startup.phase = Phase::Startup;
            startup.faults = {{"corruptReplyPercent", percent}};
            startup.outcomes = startedOrNoHub;
            QTest::addRow("start-up, %d%% of replies corrupt", percent) << startup;

            DeviceCase update;
            update.faults = {{"corruptReplyPercent", percent}};
            update.outcomes = {Outcome::StatusShown};
            update.lastBox = kSuccessTitle;
            update.hubWritten = update.scalarWritten = true;
            update.copy = Copy::Either;
            QTest::addRow("update, %d%% of replies corrupt", percent) << update;
        }

        DeviceCase offset;
        offset.phase = Phase::Startup;
        offset.outcomes = {Outcome::StatusShown};
        offset.faults = {{"wrongOffsetFragments", 3}};
        QTest::newRow("start-up, 3 fragments for the wrong offset") << offset;
        offset.faults = {{"wrongOffsetFragments", 200}};
        QTest::newRow("start-up, every fragment for the wrong offset") << offset;

        DeviceCase refused;
        refused.outcomes = {Outcome::StatusShown};
        refused.lastBox = kSuccessTitle;
        refused.hubWritten = refused.scalarWritten = true;
        refused.faults = {{"refuseMemoryWrites", 2}};
        refused.copy = Copy::Written;
        QTest::newRow("update, 2 memory writes refused") << refused;
        refused.faults = {{"refuseMemoryWrites", 1000}};
        refused.copy = Copy::Kept;
        QTest::newRow("update, every memory write refused") << refused;

        // A read of the copy area that fails while the hub stays: zeros
        // must not pass for a blank area, whether it is blank or in use.
        DeviceCase unread = refused;
        unread.faults = {{"corruptReplies", 5}};
        QTest::newRow("update, the copy area's first chunk unreadable") << unread;
        unread.copyInUse = true;
        QTest::newRow("update, the copy area in use and its first chunk unreadable") << unread;
        unread.faults = {{"dropReplies", 5}};
        QTest::newRow("update, the copy area in use and its first chunk dropped") << unread;

        // The hub disappears during the inventory (it makes six I2C
        // transfers here): before it, in the capabilities, in the serial.
        for (int transfers : {0, 1, 3, 5}) {
            DeviceCase gone;
            gone.phase = Phase::Startup;
            gone.faults = {transfers == 0
                               ? qMakePair(QByteArray("hubGone"), 1)
                               : qMakePair(QByteArray("hubGoneAfterTransfers"), transfers)};
            gone.outcomes = {Outcome::HubNotDetected};
            QTest::addRow("start-up, hub gone after %d transfers", transfers) << gone;
        }

        DeviceCase late;
        late.phase = Phase::Startup;
        late.faults = {{"hubGoneAfterTransfers", 8}};
        late.outcomes = startedOrNoHub;
        QTest::newRow("start-up, hub gone during the firmware status") << late;

        // The hub disappears while an EDID area is read: nothing is written
        // from that read, and the writers then find no hub.
        for (int transfers : {1, 7, 25}) {
            DeviceCase gone;
            gone.faults = {{"hubGoneAfterTransfers", transfers}};
            gone.outcomes = {Outcome::UpdateFailed};
            gone.lastBox = kHubFailedTitle;
            QTest::addRow("update, hub gone during the EDID read after %d transfers", transfers)
                << gone;
        }

        DeviceCase unplugged;
        unplugged.outcomes = {Outcome::UpdateFailed};
        unplugged.unplug = Unplug::DuringHubWrite;
        unplugged.lastBox = kHubFailedTitle;
        unplugged.copy = Copy::Written;
        QTest::newRow("update, hub gone during the hub write") << unplugged;
        unplugged.unplug = Unplug::DuringScalarWrite;
        unplugged.lastBox = kScalarFailedTitle;
        unplugged.hubWritten = true;
        QTest::newRow("update, hub gone during the scalar write") << unplugged;

        for (int percent : {1, 99}) {
            DeviceCase failing;
            failing.faults = {{"firmwareFailAtPercent", percent}};
            failing.outcomes = {Outcome::UpdateFailed};
            failing.lastBox = kHubFailedTitle;
            failing.copy = Copy::Written;
            QTest::addRow("update, hub write fails at %d%%", percent) << failing;
            failing.hubUpdateNeeded = false;
            failing.lastBox = kScalarFailedTitle;
            QTest::addRow("update, scalar write fails at %d%%", percent) << failing;
        }
    }

    void deviceFault() {
        QFETCH(DeviceCase, c);
        Fixture fixture;
        QVERIFY(world::load({faultWorld()}));
        const SiteFile scalarFile = usualScalar();
        SiteFile hubFile = usualHub();
        if (!c.hubUpdateNeeded)
            hubFile.body = hubImage(kInstalledHub >> 8, kInstalledHub & 0xFF);
        QVERIFY(fixture.storeAndRecord(QStringLiteral("LM0420"), scalarFile, hubFile));
        fixture.publish(QStringLiteral("LM0420"), {scalarFile, hubFile});
        if (c.copyInUse) {
            QFile inUse(QStringLiteral(PANELUP_TEST_DATA "/edid/bad-checksum.bin"));
            QVERIFY(inUse.open(QIODevice::ReadOnly));
            const QByteArray image = inUse.readAll();
            QCOMPARE(VM_WriteMemory(0, kCopyArea, reinterpret_cast<const uint8_t*>(image.data()),
                                    image.size()),
                     1);
        }
        const std::vector<uint8_t> source = area(kSourceArea);
        const std::vector<uint8_t> copyBefore = area(kCopyArea);
        const FolderSnapshot before(fixture.programFolder());

        fixture.dialogs.answer({true, false}); // confirm the update; leave the OSD as it is
        if (c.phase == Phase::Startup)
            QVERIFY(world::setFaults(c.faults));
        fixture.start();
        int waitBound = kStartupWaitBound;
        if (c.phase == Phase::Update) {
            QCOMPARE(outcomeOf(fixture), Outcome::StatusShown);
            // The status decides the scalar only once the hub is up to date.
            QCOMPARE(fixture.window().hubUpdateNeeded, c.hubUpdateNeeded);
            QCOMPARE(fixture.window().scalarUpdateNeeded, !c.hubUpdateNeeded);
            fixture.dialogs.clear();
            fixture.sleeper.clear();
            VM_ClearRequestLog();
            QVERIFY(world::setFaults(c.faults));
            UnplugDuringWrite unplug(fixture.window(), c.unplug == Unplug::DuringHubWrite
                                                           ? UnplugDuringWrite::HubPhase
                                                       : c.unplug == Unplug::DuringScalarWrite
                                                           ? UnplugDuringWrite::ScalarPhase
                                                           : UnplugDuringWrite::Off);
            fixture.window().updateFW();
            waitBound = kUpdateWaitBound;
        }
        VM_ClearFaults();

        // Ended, within its bound.
        QVERIFY2(int(fixture.sleeper.waits.size()) <= waitBound,
                 qPrintable(QStringLiteral("%1 waits, bound %2")
                                .arg(fixture.sleeper.waits.size())
                                .arg(waitBound)));
        // What the user is told.
        const Outcome outcome = outcomeOf(fixture);
        QVERIFY2(c.outcomes.contains(outcome), qPrintable(describe(outcome)));
        const QList<ScriptedDialogs::Shown> shown = fixture.dialogs.shown;
        if (c.lastBox.isEmpty()) {
            QVERIFY2(shown.isEmpty(), qPrintable(fixture.dialogs.titles().join(", ")));
        } else {
            QVERIFY(!shown.isEmpty());
            QCOMPARE(shown.last().title, c.lastBox);
            if (c.lastBox == kHubFailedTitle)
                QCOMPARE(shown.last().text, kHubFailedText);
            if (c.lastBox == kScalarFailedTitle)
                QCOMPARE(shown.last().text, kScalarFailedText);
        }
        QVERIFY(!fixture.exited());

        // The monitor: firmware as written, the source area untouched and
        // the copy either as it was or the right copy, never a failed read.
        QCOMPARE(VM_GetHubFirmware(0), c.hubWritten ? 0x0120 : kInstalledHub);
        QCOMPARE(scalarLevel(), c.scalarWritten ? 0x1205 : (0x12 << 8 | kInstalledScalarMinor));
        QVERIFY(area(kSourceArea) == source);
        const std::vector<uint8_t> copyAfter = area(kCopyArea);
        switch (c.copy) {
        case Copy::Written:
            QVERIFY2(copyAfter == expectedCopy(source), "the copy area is not the source's copy");
            break;
        case Copy::Kept:
            QVERIFY2(copyAfter == copyBefore, "the copy area was written");
            break;
        case Copy::Either:
            QVERIFY2(copyAfter == copyBefore || copyAfter == expectedCopy(source),
                     "the copy area holds neither its old bytes nor the copy of the source");
            break;
        }

        // The store and Config.ini as they were.
        QVERIFY(FolderSnapshot(fixture.programFolder()).differences(before).isEmpty());
    }
};

PANELUP_E2E_TEST_MAIN(DeviceFaultsTest)
#include "DeviceFaultsTest.moc"
