#include "catalogue/ReleaseCatalogue.h"

#include "catalogue/CatalogueEntry.h"
#include "catalogue/CatalogueSignature.h"
#include "catalogue/DownloadFolder.h"
#include "catalogue/FileHash.h"
#include "catalogue/FileTime.h"
#include "catalogue/FirmwareChecks.h"
#include "catalogue/FirmwareRecord.h"
#include "catalogue/SiteKeys.h"
#include "catalogue/UpdateSite.h"
#include "seams/Dialogs.h"
#include "seams/WindowText.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <optional>

namespace catalogue {

namespace {

const QString scalarKind = QStringLiteral("Scalar");
const QString hubKind = QStringLiteral("Hub");

QString recordChecksum(const CatalogueEntry& entry) {
    return QString::fromStdString(checksumText(parseChecksumText(entry.checksum.toStdString())));
}

// Copies the download into the store and sums the very bytes it writes, so
// nothing can change them between the check and the copy. The stored file is
// replaced in one step, and only when the sum is the catalogue's; a link in
// its place is refused rather than followed. A signed catalogue's SHA-256
// (expectedSha256, empty when unsigned) is taken over the same bytes.
bool storeChecked(const QString& from, const QString& to, int expected, uint16_t& actual,
                  const std::string& expectedSha256, std::string& actualSha256) {
    QFile in;
    if (!openWithoutFollowing(in, from) || isSymbolicLink(to))
        return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    uint32_t sum = 0;
    std::optional<Sha256> hash;
    if (!expectedSha256.empty())
        hash.emplace();
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(qint64{1} << 16);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
        sum += byteChecksum(reinterpret_cast<const uint8_t*>(chunk.constData()),
                            static_cast<std::size_t>(chunk.size()));
        if (hash)
            hash->add(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    }
    actual = static_cast<uint16_t>(sum);
    if (hash)
        actualSha256 = hash->hex();
    return actual == expected && actualSha256 == expectedSha256 && out.commit();
}

// The entry's SHA-256 when its catalogue was signed, else empty.
std::string entrySha256(const CatalogueEntry& entry, bool signedCatalogue) {
    return signedCatalogue ? normalizedSha256(entry.sha256.toStdString()) : std::string();
}

bool storedFileMatches(const QString& stored, const CatalogueEntry& entry, bool signedCatalogue) {
    if (!QFileInfo(stored).isFile() ||
        fileChecksum(stored.toStdString()) != parseChecksumText(entry.checksum.toStdString()))
        return false;
    const std::string expected = entrySha256(entry, signedCatalogue);
    return expected.empty() || fileSha256(stored.toStdString()) == expected;
}

QByteArray readSmallFile(const QString& path, qint64 limit) {
    QFile file;
    if (!openWithoutFollowing(file, path) || file.size() > limit)
        return {};
    return file.read(limit);
}

// The record's part for an entry's kind; none for other kinds.
std::optional<FirmwareRecord::Kind> recordKind(const CatalogueEntry& entry) {
    const QString kind = entry.kind.toLower();
    if (kind == QLatin1String("scalar"))
        return FirmwareRecord::Kind::Scalar;
    if (kind == QLatin1String("hub"))
        return FirmwareRecord::Kind::Hub;
    return std::nullopt;
}

} // namespace

ReleaseCatalogue::ReleaseCatalogue(CatalogueContext context) : context_(std::move(context)) {}

void ReleaseCatalogue::logKept(const CatalogueEntry& entry, const QString& stored) const {
    if (QFileInfo(stored).isFile())
        qDebug() << "Kept the stored" << stored;
    else
        qDebug() << "Nothing stored as" << stored;
    if (const auto kind = recordKind(entry)) {
        const QString onRecord = record_.file(*kind);
        qDebug() << "The record keeps"
                 << (*kind == FirmwareRecord::Kind::Scalar ? "ScalarBinFile" : "HubBinFile")
                 << (onRecord.isEmpty() ? QStringLiteral("empty") : onRecord);
    }
}

// The record names only a stored file whose checksum is the one recorded
// with it: any other would fail the start-up checksum test of every later
// start.
void ReleaseCatalogue::writeRecord(QSettings& settings, const QString& model,
                                   const CatalogueEntry& entry, const QString& stored,
                                   bool onlyWhereEmpty) {
    const auto kind = recordKind(entry);
    if (!kind)
        return;
    if (onlyWhereEmpty && !record_.file(*kind).isEmpty())
        return;
    if (!storedFileMatches(stored, entry, signed_)) {
        qDebug() << "Not recorded:" << stored << "does not have the checksum" << entry.checksum
                 << (signed_ ? "and SHA-256 " + entry.sha256 : QString());
        return;
    }
    record_.write(settings, model, *kind, entry.recordPath(), recordChecksum(entry),
                  QString::fromStdString(entrySha256(entry, signed_)));
}

int ReleaseCatalogue::compareInstalled(const CatalogueEntry& entry) const {
    QString installed;
    QString onRecord;
    if (entry.kind == scalarKind) {
        installed = QString::number(context_.scalarVersionMajor) + QLatin1Char('.') +
                    QString::number(context_.scalarVersionMinor);
        onRecord = context_.scalarBinFile;
    } else {
        installed = QString::number(context_.hubVersionMajor, 16) + QLatin1Char('.') +
                    QString::number(context_.hubVersionMinor, 16);
        onRecord = context_.hubBinFile;
    }
    // A signed file on record that lost its SHA-256 is offered again: the
    // monitor is never written from it, and the download replaces it.
    if (onRecord == entry.recordPath())
        return signed_ && !storedFileMatches(context_.programFolder + QLatin1Char('/') +
                                                 entry.folder + QLatin1Char('/') + entry.file,
                                             entry, true)
                   ? 1
                   : 0;
    return compareVersions(entry.version.toStdString(), installed.toStdString());
}

bool ReleaseCatalogue::storeEntry(const CatalogueEntry& entry, const QString& model,
                                  const QString& stored, const QString& temporary) {
    const QString url = context_.siteBaseUrl + model + QLatin1Char('/') + entry.file;
    bool ok = downloadFile(url, temporary, true);
    if (ok) {
        const int expected = parseChecksumText(entry.checksum.toStdString());
        const std::string expectedSha256 = entrySha256(entry, signed_);
        uint16_t actual = 0;
        std::string actualSha256;
        ok = storeChecked(temporary, stored, expected, actual, expectedSha256, actualSha256);
        if (!ok && actual != expected)
            qDebug() << "Failure" << url << "checksum"
                     << QString::fromStdString(checksumText(actual)) << "expected"
                     << QString::fromStdString(checksumText(expected));
        else if (!ok && !expectedSha256.empty() && actualSha256 != expectedSha256)
            qWarning().noquote() << "Failure" << url << "SHA-256"
                                 << QString::fromStdString(actualSha256) << "expected"
                                 << QString::fromStdString(expectedSha256);
        else if (!ok) {
            qDebug() << "Failure"
                     << "cannot store" << stored;
            storeProblem_ = QStringLiteral("the firmware file cannot be written: %1")
                                .arg(QDir::toNativeSeparators(stored));
        }
    }
    if (ok) {
        const QDateTime released = parseReleaseDate(entry.releaseDate);
        if (released.isValid())
            setLastWriteTime(stored, toFileTime(released));
    }
    if (QFile::exists(temporary) || isSymbolicLink(temporary))
        removeOwnFile(temporary);
    return ok;
}

// Without keys built in, the catalogue is taken as the site is today.
// With keys, accepted is the signature's timestamp to record.
bool ReleaseCatalogue::authentic(const QString& model, const QByteArray& catalogueBytes,
                                 const QSettings& settings, std::optional<quint64>& accepted) {
    const QString fileName = model + QStringLiteral(".xml");
    if (!signed_) {
        qDebug().noquote() << "Catalogue" << fileName
                           << "authenticity not checked: no site keys built in";
        return true;
    }
    std::optional<std::string> signature;
    const QString signatureCopy =
        context_.downloadFolder + QLatin1Char('/') + fileName + QStringLiteral(".minisig");
    if (QFileInfo::exists(signatureCopy) || isSymbolicLink(signatureCopy))
        signature = readSmallFile(signatureCopy, qint64{signatureSizeLimit} + 1).toStdString();
    const SignatureCheck check = checkCatalogueSignature(
        catalogueBytes.toStdString(), signature, siteKeys(), fileName.toStdString(),
        FirmwareRecord::catalogueTimestamp(settings, model));
    if (check.verdict != SignatureVerdict::Accepted) {
        qWarning().noquote() << "Catalogue refused:" << fileName
                             << QString::fromStdString(check.reason);
        return false;
    }
    qDebug().noquote() << "Catalogue" << fileName << QString::fromStdString(check.reason);
    accepted = check.timestamp;
    return true;
}

const QStringList& ReleaseCatalogue::failedDownloads() const {
    return failedDownloads_;
}

const FirmwareRecord& ReleaseCatalogue::record() const {
    return record_;
}

bool ReleaseCatalogue::refreshCatalogue(const std::string& model, bool checkOnly) {
    const QString name = QString::fromStdString(model);
    failedDownloads_.clear();
    catalogueFetched_ = false;
    storeProblem_.clear();
    record_ = FirmwareRecord::read(context_.configPath, name);
    const QString catalogueName = name + QStringLiteral(".xml");
    if (!preparePrivateFolder(context_.downloadFolder)) {
        if (!checkOnly)
            failedDownloads_ << catalogueName;
        return false;
    }
    const QString url = context_.siteBaseUrl + name + QLatin1Char('/') + catalogueName;
    const QString copy = context_.downloadFolder + QLatin1Char('/') + catalogueName;

    // A failed fetch leaves the copy of an earlier run, which is then used.
    bool result = downloadFile(url, copy, true, catalogueSizeLimit);
    catalogueFetched_ = result;
    signed_ = !siteKeys().empty();
    // The signature of an earlier catalogue must not stay beside a new one.
    const QString signatureCopy = copy + QStringLiteral(".minisig");
    if (signed_ && result &&
        !downloadFile(url + QStringLiteral(".minisig"), signatureCopy, true, signatureSizeLimit) &&
        (QFile::exists(signatureCopy) || isSymbolicLink(signatureCopy)))
        removeOwnFile(signatureCopy);

    // A link where the copy belongs was not put there by this program.
    QFile catalogueFile;
    if (!openWithoutFollowing(catalogueFile, copy)) {
        seams::dialogs().message(
            seams::DialogIcon::Information, seams::translate("Panelup", "title"),
            seams::translate("Panelup", "open error!") + seams::UiText::verbatim(copy + url));
        return false;
    }
    // The very bytes checked are the ones read.
    const QByteArray catalogueBytes = catalogueFile.readAll();
    catalogueFile.close();
    QSettings settings(context_.configPath, QSettings::IniFormat);
    std::optional<quint64> accepted;
    if (!authentic(name, catalogueBytes, settings, accepted)) {
        failedDownloads_ << catalogueName;
        return false;
    }
    QBuffer catalogueBuffer;
    catalogueBuffer.setData(catalogueBytes);
    catalogueBuffer.open(QIODevice::ReadOnly);
    const std::vector<CatalogueEntry> entries = readCatalogueEntries(catalogueBuffer);
    if (signed_) {
        for (const CatalogueEntry& entry : entries) {
            if (normalizedSha256(entry.sha256.toStdString()).empty()) {
                qWarning().noquote() << "Catalogue refused:" << catalogueName << "entry"
                                     << entry.file << "carries no valid sha256 attribute";
                failedDownloads_ << catalogueName;
                return false;
            }
        }
    }

    // The record must be able to follow the store: a stored file replaced
    // while its record stays behind fails the checksum test of every later
    // start. An unreadable Config.ini is not overwritten either.
    const bool recordWritable = settings.isWritable() && settings.status() == QSettings::NoError;
    if (!recordWritable) {
        qWarning() << "The firmware record could not be written to" << context_.configPath;
        if (!checkOnly) {
            qWarning() << "Nothing downloaded: the firmware store is left as it is";
            const QFileInfo folder(QFileInfo(context_.configPath).absolutePath());
            storeProblem_ = folder.isWritable()
                                ? QStringLiteral("Config.ini cannot be written: %1")
                                      .arg(QDir::toNativeSeparators(context_.configPath))
                                : QStringLiteral("the program folder cannot be written: %1")
                                      .arg(QDir::toNativeSeparators(folder.filePath()));
            return false;
        }
    }
    int scalarResult = -1;
    int hubResult = -1;
    for (const CatalogueEntry& entry : entries) {
        const QString programEntryFolder = context_.programFolder + QLatin1Char('/') + entry.folder;
        const QString downloadEntryFolder =
            context_.downloadFolder + QLatin1Char('/') + entry.folder;
        const QString stored = programEntryFolder + QLatin1Char('/') + entry.file;
        const QString temporary = downloadEntryFolder + QLatin1Char('/') + entry.downloadName;
        if (programEntryFolder.size() > longestWindowsFolder ||
            downloadEntryFolder.size() > longestWindowsFolder) {
            qDebug() << "Skipped catalogue entry" << entry.kind << entry.file
                     << "folder longer than" << longestWindowsFolder << "characters:"
                     << (programEntryFolder.size() > longestWindowsFolder ? programEntryFolder
                                                                          : downloadEntryFolder);
            if (!checkOnly)
                failedDownloads_ << entry.file;
            continue;
        }
        if (stored.size() > longestWindowsPath || temporary.size() > longestWindowsPath) {
            qDebug() << "Skipped catalogue entry" << entry.kind << entry.file << "path longer than"
                     << longestWindowsPath
                     << "characters:" << (stored.size() > longestWindowsPath ? stored : temporary);
            if (!checkOnly)
                failedDownloads_ << entry.file;
            continue;
        }
        if (!QDir().mkpath(programEntryFolder) && !checkOnly) {
            qWarning() << "The firmware store folder cannot be made:" << programEntryFolder;
            storeProblem_ = QStringLiteral("the program folder cannot be written: %1")
                                .arg(QDir::toNativeSeparators(context_.programFolder));
        }
        const bool downloadable = prepareEntryFolder(context_.downloadFolder, entry.folder);

        qDebug() << parseReleaseDate(entry.releaseDate);

        if (checkOnly) {
            if (entry.kind == scalarKind)
                scalarResult = compareInstalled(entry);
            else if (entry.kind == hubKind)
                hubResult = compareInstalled(entry);
            if (recordWritable)
                writeRecord(settings, name, entry, stored, true);
            continue;
        }

        // Whatever the version text, a damaged file is fetched again.
        if (!storedFileMatches(stored, entry, signed_)) {
            result = downloadable && storeEntry(entry, name, stored, temporary);
            if (!result) {
                failedDownloads_ << entry.file;
                logKept(entry, stored);
                continue;
            }
        }
        writeRecord(settings, name, entry, stored, false);
    }
    // A catalogue whose files did not all arrive leaves Config.ini's
    // timestamp as it was, as every refusal does.
    if (accepted && recordWritable && failedDownloads_.isEmpty())
        FirmwareRecord::setCatalogueTimestamp(settings, name, *accepted);
    settings.sync();
    if (recordWritable && settings.status() != QSettings::NoError) {
        qWarning() << "The firmware record could not be written to" << context_.configPath;
        if (!checkOnly)
            storeProblem_ = QStringLiteral("Config.ini cannot be written: %1")
                                .arg(QDir::toNativeSeparators(context_.configPath));
        record_ = FirmwareRecord::read(context_.configPath, name);
    }

    if (checkOnly)
        return scalarResult == 1 || hubResult == 1;
    return result;
}

} // namespace catalogue
