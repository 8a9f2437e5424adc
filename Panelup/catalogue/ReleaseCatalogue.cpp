#include "catalogue/ReleaseCatalogue.h"

#include "catalogue/CatalogueEntry.h"
#include "catalogue/FileTime.h"
#include "catalogue/FirmwareChecks.h"
#include "catalogue/UpdateSite.h"
#include "seams/Dialogs.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace catalogue {

namespace {

const QString scalarKind = QStringLiteral("Scalar");
const QString hubKind = QStringLiteral("Hub");

QString recordChecksum(const CatalogueEntry& entry) {
    return QString::fromStdString(checksumText(parseChecksumText(entry.checksum.toStdString())));
}

// Copies the checked download over the stored file in one step, so the
// store never holds a half-written file.
bool replaceStoredFile(const QString& from, const QString& to) {
    QFile in(from);
    QSaveFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(qint64{1} << 16);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
    }
    return out.commit();
}

void writeRecord(QSettings& settings, const CatalogueEntry& entry, bool onlyWhereEmpty) {
    const QString kind = entry.kind.toLower();
    QString fileKey;
    QString checksumKey;
    if (kind == QLatin1String("scalar")) {
        fileKey = QStringLiteral("ScalarBinFile");
        checksumKey = QStringLiteral("ScalarBinCheckSum");
    } else if (kind == QLatin1String("hub")) {
        fileKey = QStringLiteral("HubBinFile");
        checksumKey = QStringLiteral("HubBinCheckSum");
    } else {
        return;
    }
    if (onlyWhereEmpty && !settings.value(fileKey).toString().isEmpty())
        return;
    settings.setValue(fileKey, entry.recordPath());
    settings.setValue(checksumKey, recordChecksum(entry));
}

} // namespace

ReleaseCatalogue::ReleaseCatalogue(CatalogueContext context) : context_(std::move(context)) {}

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
    if (onRecord == entry.recordPath())
        return 0;
    return compareVersions(entry.version.toStdString(), installed.toStdString());
}

bool ReleaseCatalogue::storeEntry(const CatalogueEntry& entry, const QString& model,
                                  const QString& stored, const QString& temporary) {
    const QString url = context_.siteBaseUrl + model + QLatin1Char('/') + entry.file;
    bool ok = downloadFile(url, temporary, true);
    if (ok) {
        const uint32_t expected = parseChecksumText(entry.checksum.toStdString());
        const uint16_t actual = fileChecksum(temporary.toStdString());
        if (actual != expected) {
            qDebug() << "Failure" << url << "checksum"
                     << QString::fromStdString(checksumText(actual)) << "expected"
                     << QString::fromStdString(checksumText(expected));
            ok = false;
        }
    }
    if (ok && !replaceStoredFile(temporary, stored)) {
        qDebug() << "Failure"
                 << "cannot store" << stored;
        ok = false;
    }
    if (ok) {
        const QDateTime released = parseReleaseDate(entry.releaseDate);
        if (released.isValid())
            setLastWriteTime(stored, toFileTime(released));
    }
    if (QFile::exists(temporary))
        QFile::remove(temporary);
    return ok;
}

bool ReleaseCatalogue::refreshCatalogue(const std::string& model, bool checkOnly) {
    const QString name = QString::fromStdString(model);
    QDir().mkpath(context_.downloadFolder);
    const QString url =
        context_.siteBaseUrl + name + QLatin1Char('/') + name + QStringLiteral(".xml");
    const QString copy = context_.downloadFolder + QLatin1Char('/') + name + QStringLiteral(".xml");

    // A failed fetch leaves the copy of an earlier run, which is then used.
    bool result = downloadFile(url, copy, true);

    QFile catalogueFile(copy);
    if (!catalogueFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        seams::dialogs().message(
            seams::DialogIcon::Information, QCoreApplication::translate("Panelup", "title"),
            QCoreApplication::translate("Panelup", "open error!") + copy + url);
        return false;
    }
    const std::vector<CatalogueEntry> entries = readCatalogueEntries(catalogueFile);
    catalogueFile.close();

    QSettings settings(context_.configPath, QSettings::IniFormat);
    // The record must be able to follow the store: a stored file replaced
    // while its record stays behind fails the checksum test of every later
    // start. An unreadable Config.ini is not overwritten either.
    const bool recordWritable = settings.isWritable() && settings.status() == QSettings::NoError;
    if (!recordWritable) {
        qWarning() << "The firmware record could not be written to" << context_.configPath;
        if (!checkOnly) {
            qWarning() << "Nothing downloaded: the firmware store is left as it is";
            return false;
        }
    }
    settings.beginGroup(name);

    int scalarResult = -1;
    int hubResult = -1;
    for (const CatalogueEntry& entry : entries) {
        const QString programEntryFolder = context_.programFolder + QLatin1Char('/') + entry.folder;
        const QString downloadEntryFolder =
            context_.downloadFolder + QLatin1Char('/') + entry.folder;
        QDir().mkpath(programEntryFolder);
        QDir().mkpath(downloadEntryFolder);
        const QString stored = programEntryFolder + QLatin1Char('/') + entry.file;
        const QString temporary = downloadEntryFolder + QLatin1Char('/') + entry.downloadName;

        qDebug() << parseReleaseDate(entry.releaseDate);

        if (checkOnly) {
            if (entry.kind == scalarKind)
                scalarResult = compareInstalled(entry);
            else if (entry.kind == hubKind)
                hubResult = compareInstalled(entry);
            // Only a file that is in the store goes on record: a record naming
            // a file that was never downloaded would fail the start-up checksum
            // test on every later start.
            if (recordWritable && QFile::exists(stored))
                writeRecord(settings, entry, true);
            continue;
        }

        // A stored file without a version text is kept as it is.
        const bool needsDownload =
            !QFile::exists(stored) ||
            (!entry.version.isEmpty() &&
             fileChecksum(stored.toStdString()) != parseChecksumText(entry.checksum.toStdString()));
        if (needsDownload) {
            result = storeEntry(entry, name, stored, temporary);
            if (!result) {
                // The old file stays and so does the record that names it.
                qDebug() << "Kept" << stored << "and its record";
                continue;
            }
        }
        writeRecord(settings, entry, false);
    }
    settings.endGroup();
    settings.sync();
    if (recordWritable && settings.status() != QSettings::NoError)
        qWarning() << "The firmware record could not be written to" << context_.configPath;

    if (checkOnly)
        return scalarResult == 1 || hubResult == 1;
    return result;
}

} // namespace catalogue
