// The update flow over the real bridge library and the virtual monitor's
// firmware writers, with the window's widgets and hooks on a fixture.
#include "FlowFixture.h"
#include "IsolatedTempDir.h"
#include "RecordingSleeper.h"
#include "SigningKey.h"
#include "VirtualMonitorControl.h"
#include "VirtualWorld.h"

#include "Hubbridge.h"
#include "catalogue/SiteKeys.h"

#include <QCryptographicHash>
#include <QtTest>

#include <memory>

namespace {

constexpr int kHubVersionOffset = 0x7EF9;
constexpr int kScalarVersionOffset = 0xF900;

QByteArray image(int size, int versionOffset, int major, int minor) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) % 251);
    bytes[versionOffset] = char(major);
    bytes[versionOffset + 1] = char(minor);
    return bytes;
}

QString checksum(const QByteArray& bytes) {
    unsigned sum = 0;
    for (char c : bytes)
        sum += uchar(c);
    return QStringLiteral("0x%1").arg(sum % 65536, 4, 16, QLatin1Char('0'));
}

struct Versions {
    int scalarMajor = 0;
    int scalarMinor = 0;
    int hub = 0;
    int scalarWrites = 0; // length of the last scalar write, 0 when none
    int hubWrites = 0;
};

Versions monitorState() {
    Versions v;
    VM_GetScalarFirmware(0, &v.scalarMajor, &v.scalarMinor);
    v.hub = VM_GetHubFirmware(0);
    int32_t params[5] = {};
    VM_LastUpdateArguments(1, &v.scalarWrites, params);
    VM_LastUpdateArguments(0, &v.hubWrites, params);
    return v;
}

const QStringList kBeganAndEnded{QStringLiteral("begin"), QStringLiteral("end")};

} // namespace

class UpdateFlowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void progress_data();
    void progress();
    void scalarParameters_data();
    void scalarParameters();
    void unknownModelRefused();
    void firmwareFileRefused_data();
    void firmwareFileRefused();
    void hubOnlyOffersResetAfterHub();
    void nothingToWrite();
    void outcome_data();
    void outcome();

private:
    bool loadWorld(const QString& model);
    void storeScalar(int major, int minor);
    void storeHub(int major, int minor);

    RecordingSleeper sleeper_;
    std::unique_ptr<FlowFixture> fixture_;
};

void UpdateFlowTest::init() {
    fixture_ = std::make_unique<FlowFixture>();
    QVERIFY(fixture_->program.isValid());
    sleeper_.clear();
}

void UpdateFlowTest::cleanup() {
    catalogue::setSiteKeys({});
    fixture_.reset();
}

bool UpdateFlowTest::loadWorld(const QString& model) {
    world::Monitor spec;
    spec.model = model;
    spec.scalarMajor = 0x12;
    spec.scalarMinor = 3;
    spec.hubFirmware = 0x0120;
    return world::load({spec});
}

void UpdateFlowTest::storeScalar(int major, int minor) {
    const QByteArray bytes = image(0x10000, kScalarVersionOffset, major, minor);
    QVERIFY(fixture_->store(fixture_->scalarBinFile, bytes));
    fixture_->scalarBinCheckSum = checksum(bytes);
}

void UpdateFlowTest::storeHub(int major, int minor) {
    const QByteArray bytes = image(0x8000, kHubVersionOffset, major, minor);
    QVERIFY(fixture_->store(fixture_->hubBinFile, bytes));
    fixture_->hubBinCheckSum = checksum(bytes);
}

void UpdateFlowTest::progress_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("shown");
    QTest::newRow("150 of 200") << 200 << 150 << 75;
    QTest::newRow("truncated") << 3 << 2 << 66;
    QTest::newRow("total 0 leaves the bar") << 0 << 5 << 40;
    QTest::newRow("done x 100 past 32 bits") << 2000000000 << 1500000000 << 75;
}

void UpdateFlowTest::progress() {
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(int, shown);
    fixture_->bar1->setValue(40);
    update::setProgressView(fixture_->view.get());
    HubProgressRecord record{-1, -1, total, done};
    update::reportUpdateProgress(&record);
    update::setProgressView(nullptr);
    QCOMPARE(fixture_->bar1->value(), shown);
}

void UpdateFlowTest::scalarParameters_data() {
    QTest::addColumn<QString>("modelName");
    QTest::addColumn<QString>("monitor");
    QTest::addColumn<QList<int>>("parameters");
    const QList<int> lm0420{0xFE19, 0x1029, 1, 16, 16};
    const QList<int> lm0510{0xFE28, 0x1038, 1, 16, 16};
    const QList<int> wide{0xFE28, 0x1038, 1, 32, 32};
    QTest::newRow("LM0410") << "LM0410"
                            << "LM0410" << lm0420;
    QTest::newRow("LM0420") << "LM0420"
                            << "LM0420" << lm0420;
    QTest::newRow("lower case lm0420") << "lm0420"
                                       << "LM0420" << lm0420;
    QTest::newRow("LM0420-4K") << "LM0420-4K"
                               << "LM0420-4K" << QList<int>{0xFE26, 0x1036, 1, 32, 32};
    QTest::newRow("LM0510") << "LM0510"
                            << "LM0510" << lm0510;
    QTest::newRow("lm0510-cn") << "lm0510-cn"
                               << "LM0510-CN" << lm0510;
    QTest::newRow("LM0520") << "LM0520"
                            << "LM0520" << wide;
    QTest::newRow("LM0530") << "LM0530"
                            << "LM0530" << wide;
    QTest::newRow("LM0430") << "LM0430"
                            << "LM0430" << wide;
    QTest::newRow("LM0610") << "LM0610"
                            << "LM0610" << wide;
}

void UpdateFlowTest::scalarParameters() {
    QFETCH(QString, modelName);
    QFETCH(QString, monitor);
    QFETCH(QList<int>, parameters);
    QVERIFY(loadWorld(monitor));
    storeScalar(0x12, 5);
    fixture_->modelName = modelName;
    fixture_->scalarUpdateNeeded = true;
    fixture_->dialogs.answer({true, false});

    fixture_->run();

    int32_t length = 0;
    int32_t params[5] = {};
    QCOMPARE(VM_LastUpdateArguments(1, &length, params), 1);
    QCOMPARE(length, 0x10000);
    QCOMPARE((QList<int>{params[0], params[1], params[2], params[3], params[4]}), parameters);
    const Versions after = monitorState();
    QCOMPARE(after.scalarMajor, 0x12);
    QCOMPARE(after.scalarMinor, 5);
    QCOMPARE(fixture_->bar1->value(), 100);
    QCOMPARE(sleeper_.waits, (std::vector<unsigned long>{8000}));
    QCOMPARE(fixture_->calls, (QStringList{"repair", "status"}));
    QCOMPARE(fixture_->dialogs.titles(),
             (QStringList{"Confirm to update firmware", "Update Firmware"}));
    QVERIFY(fixture_->btnExit->isEnabled());
    QCOMPARE(fixture_->keepAwake.calls, kBeganAndEnded);
}

void UpdateFlowTest::unknownModelRefused() {
    QVERIFY(loadWorld(QStringLiteral("LM0420")));
    storeScalar(0x12, 5);
    fixture_->modelName = QStringLiteral("LM0999");
    fixture_->scalarUpdateNeeded = true;

    fixture_->run();

    QCOMPARE(fixture_->dialogs.shown.size(), 2);
    const auto box = fixture_->dialogs.shown[1];
    QCOMPARE(box.icon, seams::DialogIcon::Warning);
    QCOMPARE(box.title, QStringLiteral("Fatal Error"));
    QCOMPARE(box.text, QStringLiteral("Update Failed ! Model infomation is not correct !"));
    QCOMPARE(monitorState().scalarWrites, 0);
    QVERIFY(fixture_->btnExit->isEnabled());
    QVERIFY(!fixture_->btnUpdate->isEnabled());
    QCOMPARE(fixture_->lblInfo->text(), kBusyText);
    QCOMPARE(fixture_->keepAwake.calls, kBeganAndEnded);
}

void UpdateFlowTest::firmwareFileRefused_data() {
    QTest::addColumn<bool>("hub");
    // missing, empty, checksum, unnamed; with site keys built in: a file of
    // the recorded sum but not the recorded SHA-256, or none recorded.
    QTest::addColumn<QString>("problem");
    for (bool hub : {true, false}) {
        const char* phase = hub ? "hub" : "scalar";
        for (const char* problem :
             {"missing", "empty", "checksum", "unnamed", "sha256", "no sha256"})
            QTest::addRow("%s %s", phase, problem) << hub << QString::fromLatin1(problem);
    }
}

void UpdateFlowTest::firmwareFileRefused() {
    QFETCH(bool, hub);
    QFETCH(QString, problem);
    QVERIFY(loadWorld(QStringLiteral("LM0420")));
    if (hub)
        storeHub(1, 0x24);
    else
        storeScalar(0x12, 5);
    QString& file = hub ? fixture_->hubBinFile : fixture_->scalarBinFile;
    QString& recorded = hub ? fixture_->hubBinCheckSum : fixture_->scalarBinCheckSum;
    const QString path = QDir(fixture_->program.path()).absoluteFilePath(file);
    if (problem == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (problem == QLatin1String("empty")) {
        QVERIFY(fixture_->store(file, QByteArray()));
        recorded = QStringLiteral("0x00");
    } else if (problem == QLatin1String("checksum")) {
        QByteArray bytes = image(0x10000, kScalarVersionOffset, 0x12, 5);
        bytes[100] = char(bytes[100] + 1);
        QVERIFY(fixture_->store(file, bytes));
    } else if (problem.contains(QLatin1String("sha256"))) {
        const SigningKey site;
        QVERIFY(catalogue::setSiteKeys({site.publicKey().toStdString()}));
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QByteArray bytes = stored.readAll();
        const char first = bytes[200];
        bytes[200] = bytes[300];
        bytes[300] = first;
        if (problem == QLatin1String("sha256"))
            (hub ? fixture_->hubBinSha256 : fixture_->scalarBinSha256) = QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        bytes[300] = bytes[200];
        bytes[200] = first;
        QVERIFY(bytes[200] != bytes[300]);
    } else {
        file.clear();
        recorded = QStringLiteral("0x00");
    }
    (hub ? fixture_->hubUpdateNeeded : fixture_->scalarUpdateNeeded) = true;
    const Versions before = monitorState();

    fixture_->run();

    QCOMPARE(fixture_->dialogs.shown.size(), 2);
    const auto box = fixture_->dialogs.shown[1];
    QCOMPARE(box.icon, seams::DialogIcon::Warning);
    QCOMPARE(box.title, QStringLiteral("Update Firmware Failed"));
    if (!file.isEmpty())
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(path)), qPrintable(box.text));
    QVERIFY(box.text.contains(QStringLiteral("restart")));
    const Versions after = monitorState();
    QCOMPARE(after.hubWrites, before.hubWrites);
    QCOMPARE(after.scalarWrites, before.scalarWrites);
    QCOMPARE(after.hub, before.hub);
    QCOMPARE(after.scalarMinor, before.scalarMinor);
    QVERIFY(fixture_->btnExit->isEnabled());
    QVERIFY(!fixture_->btnUpdate->isEnabled());
    QVERIFY(fixture_->lblInfo->text().contains(QStringLiteral(":/Panelup/cross_mark")));
    QCOMPARE(fixture_->calls, QStringList{"repair"});
    QCOMPARE(fixture_->keepAwake.calls, kBeganAndEnded);
}

void UpdateFlowTest::hubOnlyOffersResetAfterHub() {
    QVERIFY(loadWorld(QStringLiteral("LM0420")));
    storeHub(1, 0x24);
    fixture_->hubUpdateNeeded = true;
    fixture_->chkOverride->show();
    // The refreshed status finds nothing more to write.
    fixture_->onStatus = [this] { fixture_->hubUpdateNeeded = false; };
    fixture_->dialogs.answer({true, false});

    fixture_->run();

    QCOMPARE(monitorState().hub, 0x0124);
    QCOMPARE(monitorState().scalarWrites, 0);
    QCOMPARE(sleeper_.waits, (std::vector<unsigned long>{1300}));
    QVERIFY(fixture_->chkOverride->isHidden());
    QCOMPARE(fixture_->dialogs.titles(),
             (QStringList{"Confirm to update firmware", "Update Firmware"}));
    QCOMPARE(fixture_->keepAwake.calls, kBeganAndEnded);
}

void UpdateFlowTest::nothingToWrite() {
    QVERIFY(loadWorld(QStringLiteral("LM0420")));
    fixture_->btnUpdate->setEnabled(true);

    fixture_->run();

    QCOMPARE(fixture_->dialogs.titles(), QStringList{"Confirm to update firmware"});
    QVERIFY(fixture_->keepAwake.calls.isEmpty());
    QVERIFY(fixture_->calls.isEmpty());
    QCOMPARE(monitorState().scalarWrites, 0);
    QCOMPARE(monitorState().hubWrites, 0);
}

namespace {

// How a row's update goes, besides the flags it starts with.
enum class Road {
    AsStored,          // the stored files are what the record says
    NotConfirmed,      // the user answers No to the confirmation
    HubFileMissing,    // the stored hub file is gone
    ScalarFileMissing, // the stored scalar file is gone
    UnknownModel,      // no scalar write parameters for the model
    HubWriteFails,     // the hub write fails half way
    ScalarWriteFails,  // the scalar write fails half way
    HubNotBack,        // the hub does not come back after its write
    ScalarHeldBack,    // the caller's rule leaves the scalar out after the hub
    ScalarAllowed,     // the caller's rule lets the scalar follow the hub
};

} // namespace

Q_DECLARE_METATYPE(Road)
Q_DECLARE_METATYPE(update::UpdateEnd)

// What the update hands to whoever drives it, for every way it ends: the
// window shows its boxes from the road, an unattended run takes its exit
// code from this value alone.
void UpdateFlowTest::outcome_data() {
    using update::UpdateEnd;
    QTest::addColumn<bool>("hubNeeded");
    QTest::addColumn<bool>("scalarNeeded");
    QTest::addColumn<Road>("road");
    QTest::addColumn<UpdateEnd>("end");
    QTest::addColumn<bool>("hubWritten");
    QTest::addColumn<bool>("scalarWritten");
    QTest::addColumn<bool>("hubSilentAfterWrite");
    QTest::addColumn<bool>("scalarHeldBack");

    auto row = [](const char* name, bool hub, bool scalar, Road road, UpdateEnd end,
                  bool hubWritten, bool scalarWritten, bool silent, bool heldBack) {
        QTest::newRow(name) << hub << scalar << road << end << hubWritten << scalarWritten << silent
                            << heldBack;
    };
    row("not confirmed", true, true, Road::NotConfirmed, UpdateEnd::NotConfirmed, false, false,
        false, false);
    row("nothing to write", false, false, Road::AsStored, UpdateEnd::NothingToWrite, false, false,
        false, false);
    row("scalar only", false, true, Road::AsStored, UpdateEnd::Completed, false, true, false,
        false);
    row("hub only", true, false, Road::AsStored, UpdateEnd::Completed, true, false, false, false);
    row("hub then scalar", true, true, Road::AsStored, UpdateEnd::Completed, true, true, false,
        false);
    row("hub file unusable", true, true, Road::HubFileMissing, UpdateEnd::HubFileUnusable, false,
        false, false, false);
    row("hub written, then the scalar file unusable", true, true, Road::ScalarFileMissing,
        UpdateEnd::ScalarFileUnusable, true, false, false, false);
    row("scalar file unusable, nothing written", false, true, Road::ScalarFileMissing,
        UpdateEnd::ScalarFileUnusable, false, false, false, false);
    row("model without write parameters", false, true, Road::UnknownModel, UpdateEnd::ModelUnknown,
        false, false, false, false);
    row("hub write fails", true, true, Road::HubWriteFails, UpdateEnd::HubWriteFailed, false, false,
        false, false);
    row("scalar write fails", false, true, Road::ScalarWriteFails, UpdateEnd::ScalarWriteFailed,
        false, false, false, false);
    // The refreshed status got no answer: the scalar phase goes on as decided
    // before (the window's road), and its write finds no hub.
    row("hub does not come back", true, true, Road::HubNotBack, UpdateEnd::ScalarWriteFailed, true,
        false, true, false);
    row("scalar held back after the hub", true, true, Road::ScalarHeldBack, UpdateEnd::Completed,
        true, false, false, true);
    row("scalar allowed after the hub", true, true, Road::ScalarAllowed, UpdateEnd::Completed, true,
        true, false, false);
}

void UpdateFlowTest::outcome() {
    QFETCH(bool, hubNeeded);
    QFETCH(bool, scalarNeeded);
    QFETCH(Road, road);
    QFETCH(update::UpdateEnd, end);
    QFETCH(bool, hubWritten);
    QFETCH(bool, scalarWritten);
    QFETCH(bool, hubSilentAfterWrite);
    QFETCH(bool, scalarHeldBack);
    QVERIFY(loadWorld(QStringLiteral("LM0420")));
    storeHub(1, 0x24);
    storeScalar(0x12, 5);
    FlowFixture& f = *fixture_;
    f.hubUpdateNeeded = hubNeeded;
    f.scalarUpdateNeeded = scalarNeeded;
    const auto path = [&f](const QString& file) {
        return QDir(f.program.path()).absoluteFilePath(file);
    };
    switch (road) {
    case Road::AsStored:
        break;
    case Road::NotConfirmed:
        f.dialogs.answer({false});
        break;
    case Road::HubFileMissing:
        QVERIFY(QFile::remove(path(f.hubBinFile)));
        break;
    case Road::ScalarFileMissing:
        QVERIFY(QFile::remove(path(f.scalarBinFile)));
        break;
    case Road::UnknownModel:
        f.modelName = QStringLiteral("LM0999");
        break;
    case Road::HubWriteFails:
    case Road::ScalarWriteFails:
        QVERIFY(world::fault("firmwareFailAtPercent", 50));
        break;
    case Road::HubNotBack:
        QVERIFY(world::fault("hubGoneAfterHubWrite", 1));
        f.statusAnswers = false;
        break;
    case Road::ScalarHeldBack:
        f.scalarAfterHub = [] { return false; };
        break;
    case Road::ScalarAllowed:
        f.scalarAfterHub = [] { return true; };
        break;
    }
    const Versions before = monitorState();

    f.run();

    QCOMPARE(f.outcome.end, end);
    QCOMPARE(f.outcome.hubWritten, hubWritten);
    QCOMPARE(f.outcome.scalarWritten, scalarWritten);
    QCOMPARE(f.outcome.hubSilentAfterWrite, hubSilentAfterWrite);
    QCOMPARE(f.outcome.scalarHeldBack, scalarHeldBack);
    // The value says what the monitor holds.
    const Versions after = monitorState();
    QCOMPARE(after.hub, hubWritten ? 0x0124 : before.hub);
    QCOMPARE(after.scalarMinor, scalarWritten ? 5 : before.scalarMinor);
}

PANELUP_ISOLATED_TEST_MAIN(UpdateFlowTest)
#include "UpdateFlowTest.moc"
