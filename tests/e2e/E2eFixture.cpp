#include "E2eFixture.h"

#include "SigningKey.h"

#include "app/Panelup.h"
#include "platform/Platform.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace e2e {

namespace {

constexpr int hubMajorOffset = 0x7EF9;
constexpr int scalarMajorOffset = 0xF900;
// Room past the version bytes, as real images have.
constexpr int hubImageSize = 0x8000;
constexpr int scalarImageSize = 0x10000;

QByteArray image(int size, int majorOffset, int major, int minor, int seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 31) % 251);
    bytes[majorOffset] = static_cast<char>(major);
    bytes[majorOffset + 1] = static_cast<char>(minor);
    return bytes;
}

QByteArray catalogueXml(const QList<SiteFile>& files) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Firmware>\n");
    for (const SiteFile& f : files) {
        const QString checksum = f.checksum.isEmpty() ? checksumText(f.body) : f.checksum;
        // The SHA-256 a signed catalogue must give; unsigned, it is not read.
        const QString sha256 = QString::fromLatin1(
            QCryptographicHash::hash(f.body, QCryptographicHash::Sha256).toHex());
        xml += QStringLiteral("  <%1 file=\"%2\" sha256=\"%3\">\n")
                   .arg(f.kind, f.file.toHtmlEscaped(), sha256);
        xml += QStringLiteral("    <Name>%1</Name>\n").arg(f.file.toHtmlEscaped());
        xml += QStringLiteral("    <Version>%1</Version>\n").arg(f.version.toHtmlEscaped());
        xml += QStringLiteral("    <Date>3/7/2018 2:05:00 PM</Date>\n");
        xml += QStringLiteral("    <Note>release notes</Note>\n");
        xml += QStringLiteral("    <CheckSum>%1</CheckSum>\n").arg(checksum);
        xml += QStringLiteral("    <Folder>%1</Folder>\n").arg(f.folder.toHtmlEscaped());
        xml += QStringLiteral("  </%1>\n").arg(f.kind);
    }
    xml += QStringLiteral("</Firmware>\n");
    return xml.toUtf8();
}

int nextFixture = 0;

} // namespace

QByteArray hubImage(int major, int minor, int seed) {
    return image(hubImageSize, hubMajorOffset, major, minor, seed);
}

QByteArray scalarImage(int major, int minor, int seed) {
    return image(scalarImageSize, scalarMajorOffset, major, minor, seed);
}

QByteArray scalarImageWithSum(int major, int minor, uint16_t sum) {
    QByteArray bytes(scalarImageSize, '\0');
    bytes[scalarMajorOffset] = static_cast<char>(major);
    bytes[scalarMajorOffset + 1] = static_cast<char>(minor);
    int missing = sum - (major & 0xFF) - (minor & 0xFF);
    if (missing < 0)
        missing += 65536;
    for (int i = 0; missing > 0; ++i) {
        const int b = missing > 255 ? 255 : missing;
        bytes[i] = static_cast<char>(b);
        missing -= b;
    }
    return bytes;
}

uint16_t byteSum(const QByteArray& bytes) {
    uint32_t sum = 0;
    for (char c : bytes)
        sum += static_cast<uint8_t>(c);
    return static_cast<uint16_t>(sum);
}

QString checksumText(uint16_t sum) {
    QString digits = QString::number(sum, 16);
    if (digits.size() % 2 != 0)
        digits.prepend(QLatin1Char('0'));
    return QStringLiteral("0x") + digits;
}

QString checksumText(const QByteArray& bytes) {
    return checksumText(byteSum(bytes));
}

SiteFile usualScalar() {
    return SiteFile{"Scalar", "LM0420_scalar.bin", "18.5", "Scalar", scalarImage(0x12, 5), {}};
}

SiteFile usualHub() {
    return SiteFile{"Hub", "LM0420_hub.bin", "1.20", "Hub", hubImage(1, 0x20), {}};
}

QString supportSoftwareLink() {
    const QString url = QStringLiteral("http://" PANELUP_SUPPORT_HOST "/support/software/");
    return QStringLiteral("<a href=\"%1\">%1</a>").arg(url);
}

QString checksumBoxText(const QString& which) {
    return QStringLiteral("The %1 firmware file is either not found or corrupted,<br/> please "
                          "download correct file from<br/> ")
               .arg(which) +
           supportSoftwareLink() + QStringLiteral(".");
}

const QString Fixture::productionPath = QStringLiteral("/dept-pmsd/FW2/");
const QString Fixture::testPath = QStringLiteral("/dept-pmsd/FW2_Test/");

Fixture::Fixture() : platform_(platform::makeSimulatedPlatform()) {
    platform::setCurrent(platform_.get());
    // A download folder of its own: no catalogue copy of an earlier test.
    if (IsolatedTempDir* temp = IsolatedTempDir::active())
        temp->enter(QStringLiteral("fixture%1").arg(++nextFixture));
    else
        qWarning("e2e fixture without an isolated temporary folder");
    if (!server.start())
        qWarning("e2e fixture: the update site did not start");
}

Fixture::~Fixture() {
    if (app::mainWindow == window_.get())
        app::mainWindow = nullptr;
    window_.reset();
    platform::setCurrent(nullptr);
    if (IsolatedTempDir* temp = IsolatedTempDir::active())
        temp->leave();
}

bool Fixture::loadWorld(const QList<Monitor>& monitors) {
    return world::load(monitors);
}

QString Fixture::configPath() const {
    return QDir(program_.path()).filePath(QStringLiteral("Config.ini"));
}

bool Fixture::writeConfig(const QString& text) {
    QFile file(configPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

void Fixture::recordFirmware(const QString& model, const QString& scalarBinFile,
                             const QString& scalarBinCheckSum, const QString& hubBinFile,
                             const QString& hubBinCheckSum) {
    QSettings settings(configPath(), QSettings::IniFormat);
    settings.beginGroup(model);
    settings.setValue(QStringLiteral("ScalarBinFile"), scalarBinFile);
    settings.setValue(QStringLiteral("ScalarBinCheckSum"), scalarBinCheckSum);
    settings.setValue(QStringLiteral("HubBinFile"), hubBinFile);
    settings.setValue(QStringLiteral("HubBinCheckSum"), hubBinCheckSum);
    settings.endGroup();
    settings.sync();
}

QString Fixture::record(const QString& model, const QString& key) const {
    const QSettings settings(configPath(), QSettings::IniFormat);
    return settings.value(model + QLatin1Char('/') + key).toString();
}

bool Fixture::store(const QString& name, const QByteArray& body) {
    const QString path = QDir(program_.path()).absoluteFilePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(body) == body.size();
}

bool Fixture::storeAndRecord(const QString& model, const SiteFile& scalar, const SiteFile& hub) {
    if (!store(scalar.recordPath(), scalar.body) || !store(hub.recordPath(), hub.body))
        return false;
    recordFirmware(model, scalar.recordPath(), checksumText(scalar.body), hub.recordPath(),
                   checksumText(hub.body));
    return true;
}

QByteArray Fixture::stored(const QString& name) const {
    QFile file(QDir(program_.path()).absoluteFilePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Fixture::isStored(const QString& name) const {
    return QFileInfo(QDir(program_.path()).absoluteFilePath(name)).isFile();
}

QString Fixture::filePath(const QString& model, const QString& file, const QString& base) {
    return base + model + QLatin1Char('/') + file;
}

void Fixture::publish(const QString& model, const QList<SiteFile>& files, const QString& base) {
    server.serve(base + QStringLiteral("Check.htm"), "<html>OK</html>");
    const QByteArray xml = catalogueXml(files);
    server.serve(filePath(model, model + QStringLiteral(".xml"), base), xml);
    // Signed as the demo's site is, for the demo program, which trusts its key.
    static const SigningKey demoKey =
        SigningKey::fromFile(QStringLiteral(PANELUP_DEMO_SITE_KEY_FILE));
    server.serve(filePath(model, model + QStringLiteral(".xml.minisig"), base),
                 demoKey.sign(xml, model + QStringLiteral(".xml"),
                              quint64(QDateTime::currentSecsSinceEpoch())));
    for (const SiteFile& f : files)
        server.serve(filePath(model, f.file, base), f.body);
}

app::Panelup& Fixture::window() {
    if (!window_) {
        window_ = std::make_unique<app::Panelup>();
        window_->configPath = configPath();
        window_->programFolder = program_.path();
        window_->siteBaseUrl = (server.origin() + productionPath).toUtf8();
        window_->testSiteBaseUrl = (server.origin() + testPath).toUtf8();
        app::mainWindow = window_.get();
    }
    return *window_;
}

void Fixture::start() {
    window().show();
}

void Fixture::restart() {
    if (app::mainWindow == window_.get())
        app::mainWindow = nullptr;
    window_.reset();
    dialogs.clear();
    exit.codes.clear();
    server.clearCounts();
    start();
}

QList<ScriptedDialogs::Shown> Fixture::boxes(const QString& kind) const {
    QList<ScriptedDialogs::Shown> found;
    for (const ScriptedDialogs::Shown& s : dialogs.shown)
        if (s.kind == kind)
            found.append(s);
    return found;
}

} // namespace e2e
