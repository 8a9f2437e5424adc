#include "IsolatedTempDir.h"
#include "ScriptedDialogs.h"
#include "SigningKey.h"
#include "TestHttpServer.h"

#include "catalogue/DownloadFolder.h"
#include "catalogue/FileTime.h"
#include "catalogue/FirmwareChecks.h"
#include "catalogue/ReleaseCatalogue.h"
#include "catalogue/SiteKeys.h"
#include "catalogue/UpdateSite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace catalogue;
using Behaviour = TestHttpServer::Behaviour;

Q_DECLARE_METATYPE(TestHttpServer::Behaviour)

namespace {

const QString model = QStringLiteral("LM0420");
const QString sitePath = QStringLiteral("/dept-pmsd/FW2/");

struct Entry {
    Entry(QString kind, QString file, QString version, QString checksum, QString folder,
          QString download = {})
        : kind(std::move(kind)), file(std::move(file)), version(std::move(version)),
          checksum(std::move(checksum)), folder(std::move(folder)), download(std::move(download)) {}

    QString kind;
    QString file;
    QString version;
    QString checksum;
    QString folder;
    QString download; // the file name when empty
    QString date = QStringLiteral("3/7/2018 2:05:00 PM");
    int fields = 6;
    QString sha256; // no attribute when empty
};

QByteArray catalogueXml(const QList<Entry>& entries, const QString& extra = {}) {
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Firmware>\n") + extra;
    for (const Entry& e : entries) {
        const QStringList values{e.download.isEmpty() ? e.file : e.download,
                                 e.version,
                                 e.date,
                                 QStringLiteral("release notes"),
                                 e.checksum,
                                 e.folder};
        const QStringList names{QStringLiteral("Name"),     QStringLiteral("Version"),
                                QStringLiteral("Date"),     QStringLiteral("Note"),
                                QStringLiteral("CheckSum"), QStringLiteral("Folder")};
        const QString sha256 =
            e.sha256.isEmpty() ? QString() : QStringLiteral(" sha256=\"%1\"").arg(e.sha256);
        xml += QStringLiteral("  <%1 file=\"%2\"%3>\n").arg(e.kind, e.file.toHtmlEscaped(), sha256);
        for (int i = 0; i < e.fields && i < values.size(); ++i)
            xml += QStringLiteral("    <%1>%2</%1>\n").arg(names[i], values[i].toHtmlEscaped());
        xml += QStringLiteral("  </%1>\n").arg(e.kind);
    }
    xml += QStringLiteral("</Firmware>\n");
    return xml.toUtf8();
}

// A body whose byte sum has four hexadecimal digits.
QByteArray firmware(char seed, int size = 5000) {
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = static_cast<char>(seed + i % 97);
    return body;
}

uint sumOf(const QByteArray& body) {
    uint sum = 0;
    for (char c : body)
        sum += static_cast<uchar>(c);
    return sum % 65536;
}

// The recorded form, written out independently of the code under test.
QString sumText(const QByteArray& body) {
    const uint sum = sumOf(body);
    const int digits = sum > 0xFFF ? 4 : sum > 0xFF ? 3 : 2;
    return QStringLiteral("0x%1").arg(sum, digits + digits % 2, 16, QLatin1Char('0'));
}

QString sha256Of(const QByteArray& body) {
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex());
}

// A body whose byte sum is exactly sum.
QByteArray bodyWithSum(uint sum) {
    QByteArray body(int(sum / 255), '\xff');
    if (sum % 255 != 0)
        body.append(char(sum % 255));
    return body;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Every file and folder below root, relative to it.
QStringList treeOf(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

QStringList* capturedLog = nullptr;
void captureLog(QtMsgType, const QMessageLogContext&, const QString& message) {
    capturedLog->append(message);
}

// A folder of the given length in segments of at most 200 characters.
QString folderOfLength(int length) {
    QString folder;
    while (folder.size() < length) {
        if (!folder.isEmpty())
            folder += '/';
        folder += QString(std::min(200, length - int(folder.size())), QLatin1Char('f'));
    }
    return folder;
}

} // namespace

class ReleaseCatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void downloadStoresRecordsAndTemporariesGo();
    void releaseDateBecomesModificationTime_data();
    void releaseDateBecomesModificationTime();
    void toFileTimeCountsFrom1601_data();
    void toFileTimeCountsFrom1601();
    void storedFileFetchedOnlyWhenNeeded_data();
    void storedFileFetchedOnlyWhenNeeded();
    void checkOnlyReportsNewerFirmware_data();
    void checkOnlyReportsNewerFirmware();
    void checkOnlyFillsOnlyEmptyKeys();
    void recordedChecksumText_data();
    void recordedChecksumText();
    void corruptCatalogueHasNoEntries_data();
    void corruptCatalogueHasNoEntries();
    void unsafeNamesWriteNothingOutside_data();
    void unsafeNamesWriteNothingOutside();
    void pathsPastWindowsLimitRefused_data();
    void pathsPastWindowsLimitRefused();
    void failedDownloadKeepsStoreAndRecord_data();
    void failedDownloadKeepsStoreAndRecord();
    void signedCatalogueTakenOrRefused_data();
    void signedCatalogueTakenOrRefused();
    void storedFileOfOtherSha256FetchedAgain();
    void demoSiteAsMakeSiteSignsItIsTaken();
    void missingCatalogueCopy_data();
    void missingCatalogueCopy();
    void testSiteServesEverything();
    void shortAndNonElementEntriesSkipped();
    void skippedEntriesLogBounded();

private:
    CatalogueContext context() const;
    bool refresh(bool checkOnly, const CatalogueContext& c);
    bool refresh(bool checkOnly) { return refresh(checkOnly, context()); }
    void serveCatalogue(const QList<Entry>& entries, const QString& extra = {});
    QString filePath(const QString& file) const { return sitePath + model + '/' + file; }
    QString catalogueUrlPath() const { return filePath(model + ".xml"); }
    QString record(const QString& key) const;
    void setRecord(const QString& key, const QString& value);

    std::unique_ptr<TestHttpServer> server_;
    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    QString program_;
};

void ReleaseCatalogueTest::init() {
    server_ = std::make_unique<TestHttpServer>();
    QVERIFY(server_->start());
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    program_ = root_->filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program_));
    QDir(defaultDownloadFolder()).removeRecursively();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    setDownloadStallTimeoutMs(5000);
}

void ReleaseCatalogueTest::cleanup() {
    setSiteKeys({});
    dialogs_.reset();
    setDownloadStallTimeoutMs(30000);
}

CatalogueContext ReleaseCatalogueTest::context() const {
    CatalogueContext c;
    c.siteBaseUrl = server_->origin() + sitePath;
    c.configPath = program_ + QStringLiteral("/Config.ini");
    c.programFolder = program_;
    c.downloadFolder = defaultDownloadFolder();
    return c;
}

bool ReleaseCatalogueTest::refresh(bool checkOnly, const CatalogueContext& c) {
    ReleaseCatalogue catalogue(c);
    const bool result = catalogue.refreshCatalogue(model.toStdString(), checkOnly);
    // The record it hands back is the one Config.ini now holds.
    const FirmwareRecord& r = catalogue.record();
    const QStringList handedBack{r.scalarBinFile, r.scalarBinCheckSum, r.hubBinFile,
                                 r.hubBinCheckSum};
    const QSettings settings(c.configPath, QSettings::IniFormat);
    QStringList held;
    for (const char* key : {"ScalarBinFile", "ScalarBinCheckSum", "HubBinFile", "HubBinCheckSum"})
        held << settings.value(model + '/' + key).toString();
    if (handedBack != held)
        QTest::qFail(qPrintable("record handed back: " + handedBack.join(", ") +
                                "; Config.ini: " + held.join(", ")),
                     __FILE__, __LINE__);
    return result;
}

void ReleaseCatalogueTest::serveCatalogue(const QList<Entry>& entries, const QString& extra) {
    server_->serve(catalogueUrlPath(), catalogueXml(entries, extra));
}

QString ReleaseCatalogueTest::record(const QString& key) const {
    QSettings settings(program_ + QStringLiteral("/Config.ini"), QSettings::IniFormat);
    return settings.value(model + '/' + key).toString();
}

void ReleaseCatalogueTest::setRecord(const QString& key, const QString& value) {
    QSettings settings(program_ + QStringLiteral("/Config.ini"), QSettings::IniFormat);
    settings.setValue(model + '/' + key, value);
}

void ReleaseCatalogueTest::downloadStoresRecordsAndTemporariesGo() {
    const QByteArray scalar = firmware('a');
    const QByteArray hub = firmware('k', 3000);
    const QByteArray tool = firmware('t', 100);
    serveCatalogue(
        {{"Scalar", "LM0420_M012.bin", "18.5", sumText(scalar), " Scalar\n ", "LM0420_M012.tmp"},
         {"Hub", "hub.bin", "1.20", sumText(hub), "Hub"},
         {"Tool", "tool.zip", "1.0", sumText(tool), "Tools/Win"}});
    server_->serve(filePath("LM0420_M012.bin"), scalar);
    server_->serve(filePath("hub.bin"), hub);
    server_->serve(filePath("tool.zip"), tool);

    QVERIFY(refresh(false));

    QCOMPARE(readAll(program_ + "/Scalar/LM0420_M012.bin"), scalar);
    QCOMPARE(readAll(program_ + "/Hub/hub.bin"), hub);
    QCOMPARE(readAll(program_ + "/Tools/Win/tool.zip"), tool);
    QCOMPARE(record("ScalarBinFile"), QStringLiteral("Scalar//LM0420_M012.bin"));
    QCOMPARE(record("ScalarBinCheckSum"), sumText(scalar));
    QCOMPARE(record("HubBinFile"), QStringLiteral("Hub//hub.bin"));
    QCOMPARE(record("HubBinCheckSum"), sumText(hub));
    QSettings settings(program_ + "/Config.ini", QSettings::IniFormat);
    settings.beginGroup(model);
    QCOMPARE(settings.childKeys().size(), 4);

    // Only the catalogue copy and the (empty) entry folders stay behind.
    const QString downloads = defaultDownloadFolder();
    QCOMPARE(QDir(downloads).entryList(QDir::Files), QStringList{"LM0420.xml"});
    for (const char* folder : {"Scalar", "Hub", "Tools/Win"})
        QVERIFY2(QDir(downloads + '/' + folder).isEmpty(), folder);
}

void ReleaseCatalogueTest::releaseDateBecomesModificationTime_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDateTime>("expected"); // invalid: left at the time of writing
    const QDate day(2018, 3, 7);
    QTest::newRow("afternoon marker") << QString::fromUtf8("3/7/2018 2:05:00 下午")
                                      << QDateTime(day, QTime(14, 5), Qt::LocalTime);
    QTest::newRow("PM") << "3/7/2018 2:05:00 PM" << QDateTime(day, QTime(14, 5), Qt::LocalTime);
    QTest::newRow("forenoon marker") << QString::fromUtf8("12/31/2019 11:59:59 上午")
                                     << QDateTime(QDate(2019, 12, 31), QTime(11, 59, 59));
    QTest::newRow("midnight") << "3/7/2018 12:00:00 AM" << QDateTime(day, QTime(0, 0));
    QTest::newRow("noon marker") << QString::fromUtf8("1/2/2020 12:30:00 下午")
                                 << QDateTime(QDate(2020, 1, 2), QTime(12, 30));
    QTest::newRow("does not parse") << "yesterday" << QDateTime();
}

void ReleaseCatalogueTest::releaseDateBecomesModificationTime() {
    QFETCH(QString, date);
    QFETCH(QDateTime, expected);
    const QByteArray scalar = firmware('a');
    Entry entry{"Scalar", "fw.bin", "18.5", sumText(scalar), "Scalar"};
    entry.date = date;
    serveCatalogue({entry});
    server_->serve(filePath("fw.bin"), scalar);

    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    QVERIFY(refresh(false));
    const QDateTime written = QFileInfo(program_ + "/Scalar/fw.bin").lastModified();
    if (expected.isValid())
        QCOMPARE(written.toSecsSinceEpoch(), expected.toSecsSinceEpoch());
    else
        QVERIFY(written > before);
}

void ReleaseCatalogueTest::toFileTimeCountsFrom1601_data() {
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<quint64>("expected");
    QTest::newRow("origin") << QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC) << quint64(0);
    QTest::newRow("Unix epoch") << QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC)
                                << quint64(116444736000000000ULL);
    QTest::newRow("offset from UTC")
        << QDateTime(QDate(1970, 1, 1), QTime(1, 0, 0, 1), Qt::OffsetFromUTC, 3600)
        << quint64(116444736000010000ULL);
}

void ReleaseCatalogueTest::toFileTimeCountsFrom1601() {
    QFETCH(QDateTime, time);
    QFETCH(quint64, expected);
    QCOMPARE(toFileTime(time), expected);
}

void ReleaseCatalogueTest::storedFileFetchedOnlyWhenNeeded_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("change"); // what happens to the stored file between runs
    QTest::addColumn<int>("fetches");
    QTest::addColumn<bool>("restored");
    QTest::newRow("intact") << "18.5"
                            << "none" << 0 << true;
    QTest::newRow("damaged") << "18.5"
                             << "damage" << 1 << true;
    QTest::newRow("missing") << "18.5"
                             << "remove" << 1 << true;
    QTest::newRow("no version, damaged") << ""
                                         << "damage" << 1 << true;
    QTest::newRow("no version, missing") << ""
                                         << "remove" << 1 << true;
}

void ReleaseCatalogueTest::storedFileFetchedOnlyWhenNeeded() {
    QFETCH(QString, version);
    QFETCH(QString, change);
    QFETCH(int, fetches);
    QFETCH(bool, restored);
    const QByteArray scalar = firmware('a');
    serveCatalogue({{"Scalar", "fw.bin", version, sumText(scalar), "Scalar"}});
    server_->serve(filePath("fw.bin"), scalar);
    QVERIFY(refresh(false));

    const QString stored = program_ + "/Scalar/fw.bin";
    if (change == "damage")
        writeFile(stored, "damaged");
    else if (change == "remove")
        QVERIFY(QFile::remove(stored));
    server_->clearCounts();

    QVERIFY(refresh(false));
    QCOMPARE(server_->requestCount(filePath("fw.bin")), fetches);
    QCOMPARE(server_->requestCount(catalogueUrlPath()), 1);
    QCOMPARE(readAll(stored) == scalar, restored);
}

void ReleaseCatalogueTest::checkOnlyReportsNewerFirmware_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("onRecord");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("recordKey");

    QTest::newRow("scalar newer") << "Scalar"
                                  << "18.5" << 18 << 3 << "" << true << "Scalar";
    QTest::newRow("scalar equal") << "Scalar"
                                  << "18.5" << 18 << 5 << "" << false << "Scalar";
    QTest::newRow("scalar installed newer") << "Scalar"
                                            << "18.5" << 18 << 9 << "" << false << "Scalar";
    QTest::newRow("installed 2.3, catalogue 1.5") << "Scalar"
                                                  << "1.5" << 2 << 3 << "" << false << "Scalar";
    QTest::newRow("scalar newer, already on record")
        << "Scalar"
        << "18.5" << 18 << 3 << "Folder//fw.bin" << false << "Scalar";
    QTest::newRow("scalar newer, other file on record")
        << "Scalar"
        << "18.5" << 18 << 3 << "Folder//old.bin" << true << "Scalar";
    QTest::newRow("hub 1.0x20 against 1.20") << "Hub"
                                             << "1.20" << 1 << 0x20 << "" << false << "Hub";
    QTest::newRow("hub 1.0x20 against 1.21") << "Hub"
                                             << "1.21" << 1 << 0x20 << "" << true << "Hub";
    QTest::newRow("hub 1.0x20 against 2.0") << "Hub"
                                            << "2.0" << 1 << 0x20 << "" << true << "Hub";
    QTest::newRow("SCALAR is not compared but recorded")
        << "SCALAR"
        << "99.0" << 18 << 3 << "" << false << "Scalar";
    QTest::newRow("hub in lower case is recorded") << "hub"
                                                   << "9.0" << 1 << 0 << "" << false << "Hub";
    QTest::newRow("other kind") << "Tool"
                                << "99.0" << 0 << 0 << "" << false << "";
}

void ReleaseCatalogueTest::checkOnlyReportsNewerFirmware() {
    QFETCH(QString, kind);
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, onRecord);
    QFETCH(bool, expected);
    QFETCH(QString, recordKey);
    serveCatalogue({{kind, "fw.bin", version, "0x1a2b", "Folder"}});
    server_->serve(filePath("fw.bin"), firmware('a'));

    CatalogueContext c = context();
    c.scalarVersionMajor = c.hubVersionMajor = major;
    c.scalarVersionMinor = c.hubVersionMinor = minor;
    if (!onRecord.isEmpty()) {
        c.scalarBinFile = c.hubBinFile = onRecord;
        setRecord(recordKey + "BinFile", onRecord);
        setRecord(recordKey + "BinCheckSum", "0x1111");
    }

    QCOMPARE(refresh(true, c), expected);

    QCOMPARE(server_->requestedPaths(), QStringList{catalogueUrlPath()});
    QVERIFY(!QFile::exists(program_ + "/Folder/fw.bin"));
    if (recordKey.isEmpty()) {
        QVERIFY(record("ScalarBinFile").isEmpty());
        QVERIFY(record("HubBinFile").isEmpty());
    } else if (onRecord.isEmpty()) {
        // Nothing in the store yet, so nothing goes on record: a record naming
        // a missing file would stop the next start at its checksum test.
        QVERIFY(record(recordKey + "BinFile").isEmpty());
    } else {
        QCOMPARE(record(recordKey + "BinFile"), onRecord);
        QCOMPARE(record(recordKey + "BinCheckSum"), QStringLiteral("0x1111"));
    }
}

void ReleaseCatalogueTest::checkOnlyFillsOnlyEmptyKeys() {
    const QByteArray scalar = firmware('a');
    const QByteArray hub = firmware('k');
    const QByteArray hub2 = firmware('m');
    serveCatalogue({{"Scalar", "fw.bin", "18.5", sumText(scalar), "Scalar"},
                    {"Hub", "hub.bin", "1.20", sumText(hub), "Hub"},
                    {"Hub", "hub2.bin", "1.21", sumText(hub2), "Hub"}});
    server_->serve(filePath("fw.bin"), scalar);
    server_->serve(filePath("hub.bin"), hub);
    server_->serve(filePath("hub2.bin"), hub2);
    setRecord("ScalarBinFile", "Old//old.bin");
    setRecord("ScalarBinCheckSum", "0x1111");
    setRecord("HubBinFile", "");
    // Both hub files are in the store already; only stored files go on record.
    QDir().mkpath(program_ + "/Hub");
    writeFile(program_ + "/Hub/hub.bin", hub);
    writeFile(program_ + "/Hub/hub2.bin", hub2);

    refresh(true);
    QCOMPARE(record("ScalarBinFile"), QStringLiteral("Old//old.bin"));
    QCOMPARE(record("ScalarBinCheckSum"), QStringLiteral("0x1111"));
    QCOMPARE(record("HubBinFile"), QStringLiteral("Hub//hub.bin")); // the first one wins
    QCOMPARE(record("HubBinCheckSum"), sumText(hub));

    // Download mode overwrites, the last entry of a kind winning.
    QVERIFY(refresh(false));
    QCOMPARE(record("ScalarBinFile"), QStringLiteral("Scalar//fw.bin"));
    QCOMPARE(record("ScalarBinCheckSum"), sumText(scalar));
    QCOMPARE(record("HubBinFile"), QStringLiteral("Hub//hub2.bin"));
    QCOMPARE(record("HubBinCheckSum"), sumText(hub2));
}

void ReleaseCatalogueTest::recordedChecksumText_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QString>("stored"); // the stored file's sum; a mismatch is not recorded
    QTest::newRow("a3f") << "a3f"
                         << "0x0a3f"
                         << "a3f";
    QTest::newRow("0xA3F") << "0xA3F"
                           << "0x0a3f"
                           << "a3f";
    QTest::newRow("0") << "0"
                       << "0x00"
                       << "0";
    QTest::newRow("1234") << "1234"
                          << "0x1234"
                          << "1234";
    QTest::newRow("not a number") << "n/a"
                                  << "0x00"
                                  << "0";
    // The stored file with another sum than the catalogue's: recording it
    // would stop every later start at the checksum test.
    QTest::newRow("stored file differs") << "0x048b"
                                         << ""
                                         << "43d";
}

void ReleaseCatalogueTest::recordedChecksumText() {
    QFETCH(QString, element);
    QFETCH(QString, recorded);
    QFETCH(QString, stored);
    serveCatalogue({{"Scalar", "fw.bin", "18.5", element, "Scalar"}});
    QDir().mkpath(program_ + "/Scalar");
    writeFile(program_ + "/Scalar/fw.bin", bodyWithSum(stored.toUInt(nullptr, 16)));
    refresh(true);
    QCOMPARE(record("ScalarBinCheckSum"), recorded);
    QCOMPARE(record("ScalarBinFile").isEmpty(), recorded.isEmpty());
}

void ReleaseCatalogueTest::corruptCatalogueHasNoEntries_data() {
    QTest::addColumn<bool>("checkOnly");
    QTest::addColumn<bool>("expected");
    QTest::newRow("check only") << true << false;
    QTest::newRow("download: the catalogue fetch") << false << true;
}

void ReleaseCatalogueTest::corruptCatalogueHasNoEntries() {
    QFETCH(bool, checkOnly);
    QFETCH(bool, expected);
    QFile fixture(QStringLiteral(PANELUP_TEST_DATA "/catalogue/corrupt.xml"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    server_->serve(catalogueUrlPath(), fixture.readAll());
    server_->serveAnyPath(firmware('a'));

    QCOMPARE(refresh(checkOnly), expected);
    QCOMPARE(server_->requestedPaths(), QStringList{catalogueUrlPath()});
    QVERIFY(QDir(program_).isEmpty());
    QVERIFY(dialogs_->shown.isEmpty());
}

void ReleaseCatalogueTest::unsafeNamesWriteNothingOutside_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("download");
    QTest::addColumn<QString>("folder");
    QTest::newRow("file climbs") << "../../evil.bin"
                                 << "evil.bin"
                                 << "Scalar";
    QTest::newRow("file with backslashes") << "..\\..\\evil.bin"
                                           << "evil.bin"
                                           << "Scalar";
    QTest::newRow("file absolute") << "<root>/abs/evil.bin"
                                   << "evil.bin"
                                   << "Scalar";
    QTest::newRow("file is ..") << ".."
                                << "evil.bin"
                                << "Scalar";
    QTest::newRow("file with drive") << "C:evil.bin"
                                     << "evil.bin"
                                     << "Scalar";
    QTest::newRow("download name climbs") << "evil.bin"
                                          << "../../../evil.bin"
                                          << "Scalar";
    QTest::newRow("download name absolute") << "evil.bin"
                                            << "<root>/abs/evil.bin"
                                            << "Scalar";
    QTest::newRow("folder climbs") << "evil.bin"
                                   << "evil.bin"
                                   << "../outside";
    QTest::newRow("folder climbs later") << "evil.bin"
                                         << "evil.bin"
                                         << "Scalar/../../outside";
    QTest::newRow("folder climbs by backslash") << "evil.bin"
                                                << "evil.bin"
                                                << "Scalar\\..\\..";
    QTest::newRow("folder absolute") << "evil.bin"
                                     << "evil.bin"
                                     << "<root>/abs";
    QTest::newRow("folder with drive") << "evil.bin"
                                       << "evil.bin"
                                       << "C:/outside";
    QTest::newRow("folder empty") << "evil.bin"
                                  << "evil.bin"
                                  << "";
    QTest::newRow("folder blank") << "evil.bin"
                                  << "evil.bin"
                                  << "  ";
    // Names that put a file beside the program, onto one of its own files,
    // or onto something the program or the system loads, runs or opens.
    const QList<QStringList> loaded{{"bridge library beside the program", "libHubbridge.so", "."},
                                    {"settings beside the program", "Config.ini", "./"},
                                    {"DLL beside the program", "version.dll", "."},
                                    {"empty segment", "evil.bin", "Scalar//x"},
                                    {"separator at the end", "evil.bin", "Scalar/"},
                                    {"dot segment", "evil.bin", "Scalar/./x"},
                                    {"Qt platforms folder", "evil.bin", "platforms"},
                                    {"Qt styles folder in capitals", "evil.bin", "STYLES/x"},
                                    {"the download folder", "LM0420.xml", "autoupdate"},
                                    {"Qt's catalogues", "qtbase_de.qm", "translations"},
                                    {"Qt's catalogues below", "evil.bin", "Translations/de"},
                                    {"versioned library", "libTxHubLib.so.1", "Scalar"},
                                    {"script", "run.PS1", "Scalar"},
                                    {"manifest", "Panelup.exe.manifest", "Scalar"},
                                    {"program's .NET settings", "Panelup.exe.config", "Scalar"},
                                    {"program's own name", "PanelupDemo", "Scalar"},
                                    {"run information", "RunInfo.ini", "Scalar"},
                                    {"device name", "CON", "Scalar"},
                                    {"device name with extension", "com1.bin", "Scalar"},
                                    {"device name with blank", "lpt9 .txt", "Scalar"},
                                    {"device name as folder", "evil.bin", "Scalar/aux"},
                                    {"trailing dot", "evil.bin.", "Scalar"},
                                    {"trailing blank", "evil.bin ", "Scalar"},
                                    {"folder with trailing dot", "evil.bin", "Scalar./x"}};
    for (const QStringList& row : loaded)
        QTest::newRow(qPrintable(row[0])) << row[1] << "evil.bin" << row[2];
    // What Windows runs, hands to a script host or an installer, mounts, or
    // reads when Explorer shows the folder (Microsoft's blocked attachment
    // types and the Explorer-read ones), and what it loads.
    const char* const runOrRead[] = {"ade",          "adp",
                                     "app",          "appcontent-ms",
                                     "application",  "appref-ms",
                                     "asp",          "aspx",
                                     "asx",          "bas",
                                     "bgi",          "cab",
                                     "cer",          "chm",
                                     "cnt",          "crt",
                                     "csh",          "der",
                                     "diagcab",      "fxp",
                                     "gadget",       "grp",
                                     "hlp",          "hpj",
                                     "hta",          "htc",
                                     "inf",          "ins",
                                     "iso",          "isp",
                                     "its",          "jar",
                                     "jnlp",         "jse",
                                     "ksh",          "mad",
                                     "maf",          "mag",
                                     "mam",          "maq",
                                     "mar",          "mas",
                                     "mat",          "mau",
                                     "mav",          "maw",
                                     "mcf",          "mda",
                                     "mdb",          "mde",
                                     "mdt",          "mdw",
                                     "mdz",          "msc",
                                     "msh",          "msh1",
                                     "msh2",         "mshxml",
                                     "msh1xml",      "msh2xml",
                                     "msp",          "mst",
                                     "msu",          "ops",
                                     "osd",          "pcd",
                                     "pif",          "pl",
                                     "plg",          "prf",
                                     "prg",          "printerexport",
                                     "ps1xml",       "ps2",
                                     "ps2xml",       "psc1",
                                     "psc2",         "psd1",
                                     "psdm1",        "pst",
                                     "py",           "pyc",
                                     "pyo",          "pyw",
                                     "pyz",          "pyzw",
                                     "reg",          "scf",
                                     "sct",          "settingcontent-ms",
                                     "shb",          "shs",
                                     "theme",        "udl",
                                     "url",          "vb",
                                     "vbe",          "vbp",
                                     "vhd",          "vhdx",
                                     "vsmacros",     "vsw",
                                     "webpnp",       "website",
                                     "ws",           "wsb",
                                     "wsc",          "wsf",
                                     "wsh",          "xbap",
                                     "xll",          "xnk",
                                     "library-ms",   "searchConnector-ms",
                                     "search-ms",    "mht",
                                     "mhtml",        "desktop",
                                     "msix",         "msixbundle",
                                     "appx",         "appxbundle",
                                     "appinstaller", "img",
                                     "drv",          "ax",
                                     "acm",          "efi",
                                     "mui",          "tsp",
                                     "local",        "config",
                                     "rdp",          "msstyles",
                                     "themepack",    "one",
                                     "exe",          "bat",
                                     "cmd",          "com",
                                     "cpl",          "scr",
                                     "vbs",          "msi",
                                     "ocx",          "sys",
                                     "dylib",        "lnk",
                                     "dll",          "ini",
                                     "js",           "ps1",
                                     "conf",         "manifest"};
    for (const char* extension : runOrRead)
        QTest::addRow("extension .%s", extension) << QStringLiteral("fw.") + extension << "evil.bin"
                                                  << "Scalar";
    // Every device name, also with the superscript digits Windows counts.
    const QStringList devices{"COM0",      "LPT0",      "COM\u00B9", "COM\u00B2",
                              "COM\u00B3", "LPT\u00B9", "LPT\u00B2", "LPT\u00B3",
                              "CONIN$",    "CONOUT$",   "CLOCK$"};
    for (const QString& device : devices) {
        QTest::addRow("device %s", qPrintable(device)) << device << "evil.bin"
                                                       << "Scalar";
        QTest::addRow("device %s with extension", qPrintable(device)) << device.toLower() + ".bin"
                                                                      << "evil.bin"
                                                                      << "Scalar";
    }
    QTest::newRow("device as download name")
        << "evil.bin" << QString::fromUtf8("LPT\u00B3.tmp") << "Scalar";
    // Characters Windows refuses in a file name.
    for (const char* c : {"?", "*", "<", ">", "\"", "|"}) {
        QTest::addRow("character %s in the file name", c)
            << QStringLiteral("fw%1.bin").arg(QLatin1String(c)) << "evil.bin"
            << "Scalar";
        QTest::addRow("character %s in the folder", c)
            << "evil.bin"
            << "evil.bin" << QStringLiteral("Scalar/x%1").arg(QLatin1String(c));
    }
    // Windows loads a program's DLLs from "<program>.exe.local" beside it.
    for (const char* folder :
         {"Panelup.exe.local", "PanelupDemo.exe.local", "Scalar/Tool.exe.local"})
        QTest::addRow("folder %s", folder) << "winspool.bin"
                                           << "evil.bin" << folder;
    QTest::newRow("download name is a device") << "evil.bin"
                                               << "NUL"
                                               << "Scalar";
}

void ReleaseCatalogueTest::unsafeNamesWriteNothingOutside() {
    QFETCH(QString, file);
    QFETCH(QString, download);
    QFETCH(QString, folder);
    // The store and the download folder side by side in one fresh root, so
    // anything written elsewhere shows up in the root.
    const QString root = root_->filePath("world");
    file.replace("<root>", root);
    download.replace("<root>", root);
    folder.replace("<root>", root);
    CatalogueContext c = context();
    c.programFolder = root + "/store/program";
    c.downloadFolder = root + "/temp/AutoUpdate";
    c.configPath = c.programFolder + "/Config.ini";
    QVERIFY(QDir().mkpath(c.programFolder));

    const QByteArray evil = firmware('e');
    const QByteArray hub = firmware('k');
    serveCatalogue({{"Scalar", file, "18.5", sumText(evil), folder, download},
                    {"Hub", "hub.bin", "1.20", sumText(hub), "Hub"}});
    server_->serve(filePath("hub.bin"), hub);
    server_->serveAnyPath(evil);

    refresh(true, c);
    QVERIFY(refresh(false, c));

    const QStringList expected{"store",
                               "store/program",
                               "store/program/Config.ini",
                               "store/program/Hub",
                               "store/program/Hub/hub.bin",
                               "temp",
                               "temp/AutoUpdate",
                               "temp/AutoUpdate/Hub",
                               "temp/AutoUpdate/LM0420.xml"};
    QCOMPARE(treeOf(root), expected);
    QCOMPARE(server_->totalRequests(), 3); // twice the catalogue, once the hub
    QSettings settings(c.configPath, QSettings::IniFormat);
    QCOMPARE(settings.value("LM0420/ScalarBinFile").toString(), QString());
    QCOMPARE(settings.value("LM0420/HubBinFile").toString(), QStringLiteral("Hub//hub.bin"));
}

void ReleaseCatalogueTest::pathsPastWindowsLimitRefused_data() {
    QTest::addColumn<int>("storedLength");    // 0: short
    QTest::addColumn<int>("temporaryLength"); // 0: short
    QTest::addColumn<int>("folderLength");    // 0: short
    QTest::addColumn<bool>("stored");
    QTest::newRow("stored path of 259 characters") << 259 << 0 << 0 << true;
    QTest::newRow("stored path of 260 characters") << 260 << 0 << 0 << false;
    QTest::newRow("temporary path of 259 characters") << 0 << 259 << 0 << true;
    QTest::newRow("temporary path of 260 characters") << 0 << 260 << 0 << false;
    QTest::newRow("entry folder of 247 characters") << 0 << 0 << 247 << true;
    QTest::newRow("entry folder of 248 characters") << 0 << 0 << 248 << false;
}

void ReleaseCatalogueTest::pathsPastWindowsLimitRefused() {
    QFETCH(int, storedLength);
    QFETCH(int, temporaryLength);
    QFETCH(int, folderLength);
    QFETCH(bool, stored);
    // Long enough that a stored path of 260 characters lies in a folder
    // CreateDirectoryW still makes; short below a long folder, so that only
    // the folder's length counts.
    const QString file =
        folderLength > 0 ? QStringLiteral("fw.bin") : QStringLiteral("firmware-of-the-scalar.bin");
    QString folder = QStringLiteral("Scalar");
    QString download = file;
    const QString downloads = defaultDownloadFolder();
    if (storedLength > 0)
        folder = folderOfLength(storedLength - int(program_.size() + file.size()) - 2);
    if (folderLength > 0)
        folder = folderOfLength(folderLength - int(program_.size()) - 1);
    if (temporaryLength > 0)
        download =
            QString(temporaryLength - int(downloads.size() + folder.size()) - 2, QLatin1Char('d'));
    const QString storedPath = program_ + '/' + folder + '/' + file;
    QCOMPARE(int(storedPath.size()), storedLength > 0 ? storedLength : int(storedPath.size()));
    const QByteArray body = firmware('a');
    serveCatalogue({{"Scalar", file, "18.5", sumText(body), folder, download}});
    server_->serve(filePath(file), body);

    QStringList log;
    capturedLog = &log;
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    ReleaseCatalogue catalogue(context());
    catalogue.refreshCatalogue(model.toStdString(), false);
    qInstallMessageHandler(previous);
    capturedLog = nullptr;

    QCOMPARE(QFile::exists(storedPath), stored);
    QCOMPARE(record("ScalarBinFile"), stored ? folder + "//" + file : QString());
    QCOMPARE(catalogue.failedDownloads(), stored ? QStringList() : QStringList{file});
    QCOMPARE(log.filter(QStringLiteral("path longer than 259 characters")).size(),
             stored || folderLength > 0 ? 0 : 1);
    QCOMPARE(log.filter(QStringLiteral("folder longer than 247 characters")).size(),
             stored || folderLength == 0 ? 0 : 1);
    QCOMPARE(server_->requestCount(filePath(file)), stored ? 1 : 0);
}

void ReleaseCatalogueTest::failedDownloadKeepsStoreAndRecord_data() {
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<bool>("corruptBody");
    QTest::addColumn<QString>("newName");
    QTest::newRow("checksum mismatch, same name") << Behaviour::Normal << true << "fw.bin";
    QTest::newRow("checksum mismatch, new name") << Behaviour::Normal << true << "fw2.bin";
    QTest::newRow("500, same name") << Behaviour::ServerError << false << "fw.bin";
    QTest::newRow("404, new name") << Behaviour::NotFound << false << "fw2.bin";
    QTest::newRow("stops half way, same name") << Behaviour::StopHalfway << false << "fw.bin";
    QTest::newRow("short of its length, new name") << Behaviour::WrongLength << false << "fw2.bin";
    QTest::newRow("hangs, same name") << Behaviour::Hang << false << "fw.bin";
}

void ReleaseCatalogueTest::failedDownloadKeepsStoreAndRecord() {
    QFETCH(Behaviour, behaviour);
    QFETCH(bool, corruptBody);
    QFETCH(QString, newName);
    setDownloadStallTimeoutMs(300);
    const QByteArray v1 = firmware('a');
    serveCatalogue({{"Scalar", "fw.bin", "18.3", sumText(v1), "Scalar"}});
    server_->serve(filePath("fw.bin"), v1);
    QVERIFY(refresh(false));

    const QByteArray v2 = firmware('b');
    serveCatalogue({{"Scalar", newName, "18.5", sumText(v2), "Scalar"}});
    QByteArray served = v2;
    if (corruptBody)
        served[100] = static_cast<char>(served[100] + 1);
    server_->serve(filePath(newName), served);
    server_->misbehave(filePath(newName), behaviour);

    QVERIFY(!refresh(false));
    QCOMPARE(server_->requestCount(filePath(newName)), newName == "fw.bin" ? 2 : 1);

    QCOMPARE(readAll(program_ + "/Scalar/fw.bin"), v1);
    QVERIFY(!QFile::exists(program_ + "/Scalar/fw2.bin"));
    QCOMPARE(record("ScalarBinFile"), QStringLiteral("Scalar//fw.bin"));
    QCOMPARE(record("ScalarBinCheckSum"), sumText(v1));
    // What the start-up check will find: the recorded file with its sum.
    QCOMPARE(
        int(fileChecksum(QDir(program_).absoluteFilePath(record("ScalarBinFile")).toStdString())),
        parseChecksumText(record("ScalarBinCheckSum").toStdString()));
    QCOMPARE(QDir(defaultDownloadFolder() + "/Scalar").entryList(QDir::Files | QDir::Hidden),
             QStringList());
}

void ReleaseCatalogueTest::signedCatalogueTakenOrRefused_data() {
    QTest::addColumn<QString>("keys");      // built in: "site", "site+next", "none"
    QTest::addColumn<QString>("signature"); // how the site signs the new catalogue
    QTest::addColumn<QString>("refusal");   // the trace log's reason; empty: taken
    QTest::newRow("good signature") << "site"
                                    << "site"
                                    << "";
    QTest::newRow("good signature, not prehashed") << "site"
                                                   << "site, legacy"
                                                   << "";
    QTest::newRow("missing signature") << "site"
                                       << "none"
                                       << "no signature LM0420.xml.minisig";
    QTest::newRow("truncated signature") << "site"
                                         << "truncated"
                                         << "signature not readable";
    QTest::newRow("bit-flipped signature") << "site"
                                           << "bit-flipped"
                                           << "does not match the catalogue";
    QTest::newRow("catalogue changed after signing") << "site"
                                                     << "catalogue changed"
                                                     << "does not match the catalogue";
    QTest::newRow("trusted comment changed") << "site"
                                             << "comment changed"
                                             << "trusted comment not signed";
    QTest::newRow("unknown key") << "site"
                                 << "unknown"
                                 << "which is not trusted";
    QTest::newRow("second trusted key (rotation)") << "site+next"
                                                   << "next"
                                                   << "";
    QTest::newRow("another model's catalogue") << "site"
                                               << "other model"
                                               << "names 'LM0530.xml', not 'LM0420.xml'";
    QTest::newRow("older timestamp after a newer one")
        << "site"
        << "older"
        << "is older than the catalogue accepted before";
    QTest::newRow("no timestamp") << "site"
                                  << "no timestamp"
                                  << "has no timestamp";
    QTest::newRow("entry without sha256") << "site"
                                          << "no sha256"
                                          << "carries no valid sha256";
    QTest::newRow("downloaded file's SHA-256 differs") << "site"
                                                       << "file differs"
                                                       << "SHA-256";
    QTest::newRow("unsigned, no keys built in") << "none"
                                                << "none"
                                                << "";
    QTest::newRow("unsigned, keys built in") << "site"
                                             << "none"
                                             << "no signature LM0420.xml.minisig";
}

// The store and record of a first, unsigned run; then the new catalogue as
// signed by the row. A refusal leaves store and Config.ini byte for byte.
void ReleaseCatalogueTest::signedCatalogueTakenOrRefused() {
    QFETCH(QString, keys);
    QFETCH(QString, signature);
    QFETCH(QString, refusal);
    const quint64 recorded = 1700000000;
    const QByteArray v1 = firmware('a');
    serveCatalogue({{"Scalar", "fw.bin", "18.3", sumText(v1), "Scalar"}});
    server_->serve(filePath("fw.bin"), v1);
    QVERIFY(refresh(false));
    setRecord("CatalogueTimestamp", QString::number(recorded));
    const QByteArray config = readAll(program_ + "/Config.ini");

    const SigningKey site;
    const SigningKey next;
    const SigningKey unknown;
    if (keys == "site")
        QVERIFY(setSiteKeys({site.publicKey().toStdString()}));
    else if (keys == "site+next")
        QVERIFY(setSiteKeys({site.publicKey().toStdString(), next.publicKey().toStdString()}));

    const QByteArray v2 = firmware('b');
    Entry entry{"Scalar", "fw2.bin", "18.5", sumText(v2), "Scalar"};
    entry.sha256 = sha256Of(signature == "file differs" ? firmware('c') : v2);
    if (signature == "no sha256")
        entry.sha256.clear();
    const QByteArray xml = catalogueXml({entry});
    server_->serve(catalogueUrlPath(), signature == "catalogue changed" ? xml + " " : xml);
    server_->serve(filePath("fw2.bin"), v2);
    const quint64 now = recorded + 100;
    QByteArray minisig;
    if (signature == "site" || signature == "no sha256" || signature == "file differs" ||
        signature == "catalogue changed")
        minisig = site.sign(xml, "LM0420.xml", now);
    else if (signature == "site, legacy")
        minisig = site.sign(xml, "LM0420.xml", now, false);
    else if (signature == "next")
        minisig = next.sign(xml, "LM0420.xml", now);
    else if (signature == "unknown")
        minisig = unknown.sign(xml, "LM0420.xml", now);
    else if (signature == "other model")
        minisig = site.sign(xml, "LM0530.xml", now);
    else if (signature == "older")
        minisig = site.sign(xml, "LM0420.xml", recorded - 1);
    else if (signature == "no timestamp")
        minisig = site.signWithComment(xml, "file:LM0420.xml", true);
    else if (signature == "truncated")
        minisig = site.sign(xml, "LM0420.xml", now).left(120);
    else if (signature == "bit-flipped") {
        minisig = site.sign(xml, "LM0420.xml", now);
        QList<QByteArray> lines = minisig.split('\n');
        QByteArray raw = QByteArray::fromBase64(lines[1]);
        raw[40] = static_cast<char>(raw[40] ^ 0x04);
        lines[1] = raw.toBase64();
        minisig = lines.join('\n');
    } else if (signature == "comment changed") {
        minisig = site.sign(xml, "LM0420.xml", now);
        minisig.replace("timestamp:" + QByteArray::number(now),
                        "timestamp:" + QByteArray::number(now + 1));
    }
    if (!minisig.isEmpty())
        server_->serve(catalogueUrlPath() + ".minisig", minisig);
    else
        server_->misbehave(catalogueUrlPath() + ".minisig", Behaviour::NotFound);

    QStringList log;
    capturedLog = &log;
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    ReleaseCatalogue catalogue(context());
    const bool result = catalogue.refreshCatalogue(model.toStdString(), false);
    qInstallMessageHandler(previous);
    capturedLog = nullptr;

    // Without keys nothing more is fetched than today.
    QCOMPARE(server_->requestCount(catalogueUrlPath() + ".minisig"), keys == "none" ? 0 : 1);
    QCOMPARE(log.filter("authenticity not checked").size(), keys == "none" ? 1 : 0);
    if (refusal.isEmpty()) {
        QVERIFY(result);
        QCOMPARE(readAll(program_ + "/Scalar/fw2.bin"), v2);
        QCOMPARE(record("ScalarBinFile"), QStringLiteral("Scalar//fw2.bin"));
        QCOMPARE(record("ScalarBinSha256"), keys == "none" ? QString() : sha256Of(v2));
        QCOMPARE(record("CatalogueTimestamp"), QString::number(keys == "none" ? recorded : now));
        return;
    }
    QVERIFY(!result);
    const QStringList refusals = log.filter(refusal);
    QVERIFY2(refusals.size() == 1, qPrintable(log.join('\n')));
    QCOMPARE(catalogue.failedDownloads(),
             QStringList{signature == "file differs" ? "fw2.bin" : "LM0420.xml"});
    QCOMPARE(readAll(program_ + "/Config.ini"), config);
    QCOMPARE(readAll(program_ + "/Scalar/fw.bin"), v1);
    QVERIFY(!QFile::exists(program_ + "/Scalar/fw2.bin"));
}

// A stored file with the right 16-bit sum but not the signed SHA-256 is not
// taken for the catalogue's.
void ReleaseCatalogueTest::storedFileOfOtherSha256FetchedAgain() {
    const QByteArray original = firmware('a');
    QByteArray swapped = original;
    swapped[10] = original[20];
    swapped[20] = original[10];
    QCOMPARE(sumText(swapped), sumText(original));
    QVERIFY(swapped != original);
    writeFile(program_ + "/Scalar/fw.bin", swapped);

    const SigningKey site;
    QVERIFY(setSiteKeys({site.publicKey().toStdString()}));
    Entry entry{"Scalar", "fw.bin", "18.5", sumText(original), "Scalar"};
    entry.sha256 = sha256Of(original);
    const QByteArray xml = catalogueXml({entry});
    server_->serve(catalogueUrlPath(), xml);
    server_->serve(catalogueUrlPath() + ".minisig", site.sign(xml, "LM0420.xml", 1700000000));
    server_->serve(filePath("fw.bin"), original);
    setRecord("ScalarBinFile", "Scalar//fw.bin");
    setRecord("ScalarBinCheckSum", sumText(original));
    CatalogueContext c = context();
    c.scalarVersionMajor = 18;
    c.scalarVersionMinor = 5;
    c.scalarBinFile = "Scalar//fw.bin";

    // Offered again although the version is the installed one.
    QVERIFY(refresh(true, c));
    QVERIFY(refresh(false, c));
    QCOMPARE(server_->requestCount(filePath("fw.bin")), 1);
    QCOMPARE(readAll(program_ + "/Scalar/fw.bin"), original);
    QCOMPARE(record("ScalarBinSha256"), sha256Of(original));
}

// The demo site as demo/make-site.py signs it (its own minisign writer, not
// ours), with a key it makes as the build does; the build runs it, as no
// python3 runs under Wine.
void ReleaseCatalogueTest::demoSiteAsMakeSiteSignsItIsTaken() {
    const QString keys = QStringLiteral(PANELUP_MADE_SITE "/key");
    const QString site = QStringLiteral(PANELUP_MADE_SITE "/www");
    QVERIFY(QFile::exists(site + sitePath + "LM0420/LM0420.xml.minisig"));
    const QRegularExpressionMatch key =
        QRegularExpression("\"(RW[A-Za-z0-9+/=]+)\"").match(readAll(keys + "/DemoSiteKey.h"));
    QVERIFY(key.hasMatch());
    QVERIFY(setSiteKeys({key.captured(1).toStdString()}));
    server_->serveFolder(sitePath, site + sitePath);

    QVERIFY(refresh(false));
    QCOMPARE(record("ScalarBinFile"), QStringLiteral("FW_LM0420//LM0420_M012R05.bin"));
    QCOMPARE(record("HubBinFile"), QStringLiteral("FW_LM0420//LM0420_Hub_0122.bin"));
    QCOMPARE(record("ScalarBinSha256"),
             sha256Of(readAll(site + sitePath + "LM0420/LM0420_M012R05.bin")));
    QVERIFY(record("CatalogueTimestamp").toULongLong() > 1700000000);
}

void ReleaseCatalogueTest::missingCatalogueCopy_data() {
    QTest::addColumn<bool>("checkOnly");
    QTest::addColumn<bool>("earlierCopy");
    QTest::newRow("check only, no copy") << true << false;
    QTest::newRow("download, no copy") << false << false;
    QTest::newRow("check only, earlier copy") << true << true;
    QTest::newRow("download, earlier copy") << false << true;
}

void ReleaseCatalogueTest::missingCatalogueCopy() {
    QFETCH(bool, checkOnly);
    QFETCH(bool, earlierCopy);
    server_->misbehave(catalogueUrlPath(), Behaviour::NotFound);
    const QString copy = defaultDownloadFolder() + "/LM0420.xml";
    const QByteArray scalar = firmware('a');
    server_->serve(filePath("fw.bin"), scalar);
    if (earlierCopy) {
        QVERIFY(preparePrivateFolder(defaultDownloadFolder()));
        writeFile(copy, catalogueXml({{"Scalar", "fw.bin", "18.5", sumText(scalar), "Scalar"}}));
    }

    const bool result = refresh(checkOnly);
    const QString url = server_->origin() + catalogueUrlPath();
    if (earlierCopy) {
        QVERIFY(dialogs_->shown.isEmpty());
        // The earlier copy is walked; check-only records nothing it has not stored.
        QCOMPARE(record("ScalarBinFile"), checkOnly ? QString() : QStringLiteral("Scalar//fw.bin"));
        QCOMPARE(QFile::exists(program_ + "/Scalar/fw.bin"), !checkOnly);
    } else {
        QVERIFY(!result);
        QCOMPARE(dialogs_->shown.size(), 1);
        const ScriptedDialogs::Shown& box = dialogs_->shown.first();
        QCOMPARE(box.kind, QStringLiteral("message"));
        QCOMPARE(box.icon, seams::DialogIcon::Information);
        QCOMPARE(box.title, QStringLiteral("title"));
        QCOMPARE(box.text, QStringLiteral("open error!") + copy + url);
    }
}

void ReleaseCatalogueTest::testSiteServesEverything() {
    const QString testPath = QStringLiteral("/dept-pmsd/FW2_Test/");
    const QByteArray scalar = firmware('a');
    server_->serve(testPath + "LM0420/LM0420.xml",
                   catalogueXml({{"Scalar", "fw.bin", "18.5", sumText(scalar), "Scalar"}}));
    server_->serve(testPath + "LM0420/fw.bin", scalar);
    CatalogueContext c = context();
    c.siteBaseUrl = server_->origin() + testPath;
    QVERIFY(refresh(false, c));
    QCOMPARE(server_->requestedPaths(),
             (QStringList{testPath + "LM0420/LM0420.xml", testPath + "LM0420/fw.bin"}));
}

void ReleaseCatalogueTest::shortAndNonElementEntriesSkipped() {
    const QByteArray hub = firmware('k');
    Entry shortScalar{"Scalar", "fw.bin", "18.5", "0x1a2b", "Scalar"};
    shortScalar.fields = 5;
    serveCatalogue({shortScalar, {"Hub", "hub.bin", "1.20", sumText(hub), "Hub"}},
                   "  <!-- a comment -->\n  <?note something?>\n");
    server_->serveAnyPath(hub);

    QVERIFY(refresh(false));
    QCOMPARE(server_->requestedPaths(), (QStringList{catalogueUrlPath(), filePath("hub.bin")}));
    QCOMPARE(record("ScalarBinFile"), QString());
    QCOMPARE(record("HubBinFile"), QStringLiteral("Hub//hub.bin"));
}

void ReleaseCatalogueTest::skippedEntriesLogBounded() {
    // A catalogue of many refused entries once wrote a log line for each.
    QList<Entry> entries;
    for (int i = 0; i < 45; ++i)
        entries.append({"Scalar", QStringLiteral("../x%1.bin").arg(i), "1", "0x00", "Scalar"});
    serveCatalogue(entries);
    QStringList log;
    capturedLog = &log;
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    refresh(true);
    qInstallMessageHandler(previous);
    capturedLog = nullptr;
    const QStringList skipped = log.filter(QStringLiteral("Skipped"));
    QCOMPARE(skipped.size(), 21);
    QVERIFY(skipped.last().contains(QStringLiteral("Skipped 25 more catalogue entries")));
}

PANELUP_ISOLATED_TEST_MAIN(ReleaseCatalogueTest)
#include "ReleaseCatalogueTest.moc"
