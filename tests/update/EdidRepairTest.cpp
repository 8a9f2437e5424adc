// The EDID repair over the real inventory, scalar queries, bridge library
// and virtual monitor.
#include "IsolatedTempDir.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include "discovery/MonitorInventory.h"
#include "edid/Edid.h"
#include "models/ModelFactory.h"
#include "platform/Platform.h"
#include "scalar/ScalarQueries.h"
#include "update/EdidBackup.h"
#include "update/EdidRepair.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Bytes = std::vector<uint8_t>;
// Area address -> 256 bytes.
using Areas = QMap<int, Bytes>;
Q_DECLARE_METATYPE(Areas)

namespace {

// Every address a model of the table has an area at.
const int kAllAreas[] = {0x0200, 0x0500, 0x0C00, 0x1000, 0x1100, 0x1200, 0x1300, 0x1900, 0x1A00};

Bytes dataFile(const QString& name) {
    QFile file(QStringLiteral(PANELUP_TEST_DATA "/edid/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    const QByteArray raw = file.readAll();
    return Bytes(raw.begin(), raw.end());
}

bool checksumsValid(const Bytes& image) {
    for (std::size_t block = 0; block < image.size(); block += 128) {
        unsigned sum = 0;
        for (std::size_t i = 0; i < 128; ++i)
            sum += image[block + i];
        if (sum % 256 != 0)
            return false;
    }
    return true;
}

// The monitor's own EDID: a valid image with a week, year and serial of
// its own, so that what a template takes from it can be told apart.
Bytes monitorEdid(uint8_t week, uint8_t year, const char* serial) {
    Bytes image = dataFile(QStringLiteral("LM0610_A.bin"));
    image[16] = week;
    image[17] = year;
    const Bytes descriptor{0, 0, 0, 0xFF, 0};
    std::copy(descriptor.begin(), descriptor.end(), image.begin() + 72);
    for (int i = 0; i < 13; ++i)
        image[77 + std::size_t(i)] = i < 12 ? uint8_t(serial[i]) : 0x0A;
    edid::repairEdidChecksums(image);
    return image;
}

const Bytes kSource = monitorEdid(7, 30, "SRC000000001");
const Bytes kSecondSource = monitorEdid(9, 31, "SRC000000002");
const Bytes kBadChecksum = dataFile(QStringLiteral("bad-checksum.bin"));

// Blank in the sense of the repair (only 0x00 and 0xFF), but not the
// memory's own 0xFF fill, so a write over it is seen.
Bytes mixedBlank() {
    Bytes image(256, 0xFF);
    for (std::size_t i = 0; i < image.size(); i += 2)
        image[i] = 0x00;
    return image;
}

Bytes copyOf(Bytes source) {
    source[12] = 21;
    edid::repairEdidChecksums(source);
    return source;
}

Bytes modelTemplate(const QString& model, char which) {
    for (const auto& candidate : models::buildModelList())
        if (QString::fromStdString(candidate->name()) == model)
            return which == 'A' ? candidate->edidTemplateA() : candidate->edidTemplateB();
    qFatal("no model %s", qPrintable(model));
}

Bytes templateFor(const QString& model, char which, const Bytes& source) {
    Bytes image = modelTemplate(model, which);
    image[12] = 23;
    std::copy_n(source.begin() + 16, 2, image.begin() + 16);
    std::copy_n(source.begin() + 72, 18, image.begin() + 72);
    edid::repairEdidChecksums(image);
    return image;
}

QString hex(const Bytes& bytes) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())).toHex());
}

class SilentReporter : public scalar::ConnectionReporter {
public:
    void showHubNotDetected() override { ++notices; }
    int notices = 0;
};

// A model with the name of a known one and both repair switches off.
class RepairsNothing : public models::ILCDModel {
public:
    std::string name() const override { return "LM0420"; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return false; }
    bool repairsEdidCopies() const override { return false; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return -1; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return {}; }
};

struct BackupEntry {
    QString model;
    int address = -1;
    Bytes oldBytes;
    Bytes newBytes;
};

QList<BackupEntry> readBackup(const QString& path) {
    QList<BackupEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    const QRegularExpression header(QStringLiteral("^\\S+ (\\S+) area 0x([0-9a-f]{4})$"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i + 2 < lines.size(); ++i) {
        const auto match = header.match(lines[i]);
        if (!match.hasMatch() || !lines[i + 1].startsWith(QLatin1String("old ")) ||
            !lines[i + 2].startsWith(QLatin1String("new ")))
            continue;
        const QByteArray oldRaw = QByteArray::fromHex(lines[i + 1].mid(4).toLatin1());
        const QByteArray newRaw = QByteArray::fromHex(lines[i + 2].mid(4).toLatin1());
        entries.append({match.captured(1), match.captured(2).toInt(nullptr, 16),
                        Bytes(oldRaw.begin(), oldRaw.end()), Bytes(newRaw.begin(), newRaw.end())});
    }
    return entries;
}

int memoryReads() {
    int count = 0;
    for (const QByteArray& frame : world::writes())
        if (frame.size() >= 3 && uint8_t(frame[1]) == 0xC0 && uint8_t(frame[2]) == 0x09)
            ++count;
    return count;
}

bool readsAddress(int address) {
    for (const QByteArray& frame : world::writes())
        if (frame.size() >= 6 && uint8_t(frame[1]) == 0xC0 && uint8_t(frame[2]) == 0x09 &&
            (uint8_t(frame[4]) << 8 | uint8_t(frame[5])) == address)
            return true;
    return false;
}

} // namespace

class EdidRepairTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void rebuildsBlankAreas_data();
    void rebuildsBlankAreas();
    void unreadableAreasAreNeverWritten_data();
    void unreadableAreasAreNeverWritten();
    void refusedWriteIsLogged();
    void backupHoldsOldAndNewBytes();
    void noBackupNoWrite();
    void modelWithBothSwitchesOffOnlySetsName();
    void twoPairedMonitorsBothProcessed();
    void nothingIdentified_data();
    void nothingIdentified();

private:
    bool loadMonitors(const QList<world::Monitor>& specs);
    bool loadMonitor(const QString& model);
    void writeAreas(int monitor, const Areas& areas);
    bool repair();
    QString backupPath() const {
        return backup_->path() + QLatin1Char('/') + update::EdidBackup::FileName;
    }

    std::unique_ptr<platform::Platform> platform_;
    RecordingSleeper sleeper_;
    ScriptedDialogs dialogs_;
    SilentReporter reporter_;
    int hubIndex_ = 0;
    const int scalarAddress_ = 0x51;
    scalar::ScalarQueries queries_{hubIndex_, scalarAddress_, reporter_};
    discovery::MonitorInventory inventory_;
    models::ModelList models_ = models::buildModelList();
    QString modelName_;
    QString backupFolder_;
    std::unique_ptr<QTemporaryDir> backup_;
};

void EdidRepairTest::initTestCase() {
    platform_ = platform::makeSimulatedPlatform();
    platform::setCurrent(platform_.get());
}

void EdidRepairTest::cleanupTestCase() {
    platform::setCurrent(nullptr);
}

void EdidRepairTest::init() {
    backup_ = std::make_unique<QTemporaryDir>();
    QVERIFY(backup_->isValid());
    backupFolder_ = backup_->path();
    modelName_ = QStringLiteral("before");
    models_ = models::buildModelList();
    reporter_.notices = 0;
}

bool EdidRepairTest::loadMonitors(const QList<world::Monitor>& specs) {
    if (!world::load(specs))
        return false;
    inventory_.refreshInventory();
    world::clearRequests();
    return true;
}

bool EdidRepairTest::loadMonitor(const QString& model) {
    world::Monitor spec;
    spec.model = model;
    if (!loadMonitors({spec}))
        return false;
    return inventory_.pairedCount == 1;
}

void EdidRepairTest::writeAreas(int monitor, const Areas& areas) {
    for (auto it = areas.begin(); it != areas.end(); ++it)
        VM_WriteMemory(monitor, it.key(), it.value().data(), int32_t(it.value().size()));
    world::clearRequests();
}

bool EdidRepairTest::repair() {
    update::EdidRepairContext context{inventory_, models_, queries_, modelName_, backupFolder_, {}};
    return update::repairMonitorEdids(context);
}

void EdidRepairTest::rebuildsBlankAreas_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<Areas>("before");
    QTest::addColumn<Areas>("written");

    QTest::newRow("copy from a valid source")
        << "LM0420" << Areas{{0x0500, kSource}} << Areas{{0x1200, copyOf(kSource)}};
    QTest::newRow("source with a bad checksum")
        << "LM0420" << Areas{{0x0500, kBadChecksum}} << Areas{};
    QTest::newRow("damaged copy area left alone")
        << "LM0420" << Areas{{0x0500, kSource}, {0x1200, kBadChecksum}} << Areas{};
    QTest::newRow("both copy pairs")
        << "LM0430" << Areas{{0x1000, kSource}, {0x1100, kSecondSource}}
        << Areas{{0x1200, copyOf(kSource)}, {0x1300, copyOf(kSecondSource)}};
    QTest::newRow("templates A and B") << "LM0530" << Areas{{0x1000, kSource}}
                                       << Areas{{0x1200, copyOf(kSource)},
                                                {0x1900, templateFor("LM0530", 'A', kSource)},
                                                {0x1A00, templateFor("LM0530", 'B', kSource)}};
    QTest::newRow("templates with the source blank") << "LM0530" << Areas{} << Areas{};
    QTest::newRow("template area in use left alone")
        << "LM0530" << Areas{{0x1000, kSource}, {0x1900, kBadChecksum}}
        << Areas{{0x1200, copyOf(kSource)}, {0x1A00, templateFor("LM0530", 'B', kSource)}};
    QTest::newRow("only template B, area A absent")
        << "LM0510" << Areas{{0x0500, kSource}}
        << Areas{{0x0C00, copyOf(kSource)}, {0x0200, templateFor("LM0510", 'B', kSource)}};
    QTest::newRow("templates switched off")
        << "LM0520" << Areas{{0x0500, kSource}} << Areas{{0x0C00, copyOf(kSource)}};
    QTest::newRow("copies switched off")
        << "LM0610" << Areas{{0x1000, kSource}, {0x1100, kSecondSource}}
        << Areas{{0x1900, templateFor("LM0610", 'A', kSource)},
                 {0x1A00, templateFor("LM0610", 'B', kSource)}};
}

void EdidRepairTest::rebuildsBlankAreas() {
    QFETCH(QString, model);
    QFETCH(Areas, before);
    QFETCH(Areas, written);

    QVERIFY(loadMonitor(model));
    writeAreas(0, before);
    QMap<int, Bytes> initial;
    for (int address : kAllAreas)
        initial[address] = world::memory(0, address, 256);

    QVERIFY(repair());
    QCOMPARE(modelName_, model);

    for (int address : kAllAreas) {
        const Bytes after = world::memory(0, address, 256);
        const Bytes expected = written.value(address, initial[address]);
        QVERIFY2(after == expected, qPrintable(QStringLiteral("area 0x%1: %2")
                                                   .arg(address, 4, 16, QLatin1Char('0'))
                                                   .arg(hex(after))));
        if (written.contains(address)) {
            QVERIFY(checksumsValid(after));
            QCOMPARE(int(after[12]),
                     address == 0x1900 || address == 0x1A00 || address == 0x0200 ? 23 : 21);
        }
    }
    // Every area written is in the backup, and nothing else.
    QCOMPARE(readBackup(backupPath()).size(), written.size());
    QCOMPARE(reporter_.notices, 0);
}

void EdidRepairTest::unreadableAreasAreNeverWritten_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("value");
    // The first read (the copy area) gives up; its zeros look blank.
    QTest::newRow("copy area read fails") << "dropReplies" << 5;
    QTest::newRow("every reply lost") << "dropReplyPercent" << 100;
    QTest::newRow("hub gone") << "hubGone" << 1;
}

void EdidRepairTest::unreadableAreasAreNeverWritten() {
    QFETCH(QString, fault);
    QFETCH(int, value);
    QVERIFY(loadMonitor(QStringLiteral("LM0420")));
    writeAreas(0, {{0x0500, kSource}});
    QVERIFY(world::fault(fault.toLatin1().constData(), value));

    QVERIFY(repair());

    QVERIFY(world::memory(0, 0x1200, 256) == Bytes(256, 0xFF));
    QVERIFY(!QFile::exists(backupPath()));
}

void EdidRepairTest::refusedWriteIsLogged() {
    QVERIFY(loadMonitor(QStringLiteral("LM0420")));
    writeAreas(0, {{0x0500, kSource}});
    QVERIFY(world::fault("refuseMemoryWrites", 1000));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("LM0420.*0x1200.*failed")));

    QVERIFY(repair());
    QVERIFY(world::memory(0, 0x1200, 256) == Bytes(256, 0xFF));
}

void EdidRepairTest::backupHoldsOldAndNewBytes() {
    QVERIFY(loadMonitor(QStringLiteral("LM0430")));
    const Bytes oldCopy = mixedBlank();
    writeAreas(0, {{0x1000, kSource}, {0x1100, kSecondSource}, {0x1200, oldCopy}});
    // An earlier run's entry stays.
    QFile earlier(backupPath());
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier run\n");
    earlier.close();

    QVERIFY(repair());

    const QList<BackupEntry> entries = readBackup(backupPath());
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].model, QStringLiteral("LM0430"));
    QCOMPARE(entries[0].address, 0x1200);
    QVERIFY(entries[0].oldBytes == oldCopy);
    QVERIFY(entries[0].newBytes == world::memory(0, 0x1200, 256));
    QCOMPARE(entries[1].address, 0x1300);
    QVERIFY(entries[1].oldBytes == Bytes(256, 0xFF));
    QVERIFY(entries[1].newBytes == copyOf(kSecondSource));
    QFile file(backupPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("earlier run\n"));
}

void EdidRepairTest::noBackupNoWrite() {
    QVERIFY(loadMonitor(QStringLiteral("LM0420")));
    writeAreas(0, {{0x0500, kSource}});
    // A file where the folder should be: no backup can be made in it.
    backupFolder_ = backup_->filePath(QStringLiteral("not-a-folder"));
    QFile blocker(backupFolder_);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no backup.*0x1200")));

    QVERIFY(repair());
    QVERIFY(world::memory(0, 0x1200, 256) == Bytes(256, 0xFF));
}

void EdidRepairTest::modelWithBothSwitchesOffOnlySetsName() {
    QVERIFY(loadMonitor(QStringLiteral("LM0420")));
    writeAreas(0, {{0x0500, kSource}});
    models_ = models::ModelList{std::make_shared<RepairsNothing>()};

    QVERIFY(repair());
    QCOMPARE(modelName_, QStringLiteral("LM0420"));
    QCOMPARE(memoryReads(), 0);
    QVERIFY(world::memory(0, 0x1200, 256) == Bytes(256, 0xFF));
}

void EdidRepairTest::twoPairedMonitorsBothProcessed() {
    world::Monitor first;
    first.model = QStringLiteral("LM0420");
    first.serial = QStringLiteral("UP2160100001");
    world::Monitor second;
    second.model = QStringLiteral("LM0530");
    second.serial = QStringLiteral("UP2160100002");
    QVERIFY(loadMonitors({first, second}));
    QCOMPARE(inventory_.pairedCount, 2);
    // The window's exchanges reach the hub the connection picks, the last
    // one that answers: the second monitor's.
    writeAreas(1, {{0x1000, kSource}});

    QVERIFY(repair());

    QCOMPARE(modelName_, QStringLiteral("LM0530"));
    QVERIFY(readsAddress(0x0500)); // only the LM0420 pass reads there
    QVERIFY(world::memory(1, 0x1200, 256) == copyOf(kSource));
    QVERIFY(world::memory(1, 0x1900, 256) == templateFor("LM0530", 'A', kSource));
}

void EdidRepairTest::nothingIdentified_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("hub");
    QTest::newRow("no paired monitor") << "LM0420" << false;
    QTest::newRow("unknown model") << "LM9999" << true;
}

void EdidRepairTest::nothingIdentified() {
    QFETCH(QString, model);
    QFETCH(bool, hub);
    world::Monitor spec;
    spec.model = model;
    spec.hub = hub;
    QVERIFY(loadMonitors({spec}));
    QCOMPARE(inventory_.pairedCount, hub ? 1 : 0);
    writeAreas(0, {{0x0500, kSource}});

    QVERIFY(!repair());
    QCOMPARE(modelName_, QStringLiteral("before"));
    QCOMPARE(memoryReads(), 0);
}

PANELUP_ISOLATED_TEST_MAIN(EdidRepairTest)
#include "EdidRepairTest.moc"
