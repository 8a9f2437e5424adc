#pragma once

#include "catalogue/FirmwareRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QByteArray;
class QSettings;

namespace catalogue {

struct CatalogueEntry;

// What the catalogue needs of the window; the window fills it per call.
struct CatalogueContext {
    QString siteBaseUrl;   // ends with "/"
    QString configPath;    // Config.ini
    QString programFolder; // holds the firmware store
    QString downloadFolder;
    int scalarVersionMajor = 0;
    int scalarVersionMinor = 0;
    int hubVersionMajor = 0;
    int hubVersionMinor = 0;
    QString scalarBinFile; // the record's ScalarBinFile as loaded
    QString hubBinFile;    // the record's HubBinFile as loaded
};

// The model's release catalogue on the update site, the firmware store in
// the program folder and the firmware record in Config.ini.
class ReleaseCatalogue {
public:
    explicit ReleaseCatalogue(CatalogueContext context);

    // Fetches the catalogue of model (UTF-8). checkOnly: true when it offers
    // a newer scalar or hub firmware than the installed one whose file is not
    // yet on record; empty record keys are filled in, nothing is downloaded.
    // Otherwise: brings the store up to date and records the scalar and hub
    // files; true when the last download attempted succeeded. False after
    // the "open error!" message when no catalogue copy can be read.
    bool refreshCatalogue(const std::string& model, bool checkOnly);

    // The files that the last download-mode refresh failed to bring into
    // the store (the catalogue itself when the download folder is refused).
    // With keys built in, a catalogue refused for its signature or hashes
    // is named here in either mode, and nothing is recorded or stored.
    const QStringList& failedDownloads() const;
    // Whether the last refresh fetched the catalogue itself from the site
    // (false when it fell back on an earlier copy or had none).
    bool catalogueFetched() const { return catalogueFetched_; }
    // Why firmware could not be stored or recorded here (the program folder
    // or Config.ini not writable, a stored file not replaceable); empty when
    // nothing on this side failed.
    const QString& storeProblem() const { return storeProblem_; }
    // The model's firmware record as the last refresh left it in Config.ini.
    const FirmwareRecord& record() const;

private:
    void logKept(const CatalogueEntry& entry, const QString& stored) const;
    void writeRecord(QSettings& settings, const QString& model, const CatalogueEntry& entry,
                     const QString& stored, bool onlyWhereEmpty);
    int compareInstalled(const CatalogueEntry& entry) const;
    bool storeEntry(const CatalogueEntry& entry, const QString& model, const QString& stored,
                    const QString& temporary);
    bool authentic(const QString& model, const QByteArray& catalogueBytes,
                   const QSettings& settings, std::optional<quint64>& accepted);

    CatalogueContext context_;
    QStringList failedDownloads_;
    FirmwareRecord record_;
    bool catalogueFetched_ = false;
    QString storeProblem_;
    bool signed_ = false; // keys are built in: signature and SHA-256 required
};

} // namespace catalogue
