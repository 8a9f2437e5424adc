#pragma once

#include <QString>

class QSettings;

namespace catalogue {

// A model's firmware record in Config.ini: for the scalar and the hub
// firmware, the stored file (relative to the program folder) and the
// checksum text recorded for it. The catalogue writes it, the window reads
// it; this is the one place that knows its keys.
struct FirmwareRecord {
    enum class Kind { Scalar, Hub };

    QString scalarBinFile;
    QString scalarBinCheckSum;
    QString hubBinFile;
    QString hubBinCheckSum;
    // The SHA-256 a signed catalogue gave each file; empty when unsigned.
    QString scalarBinSha256;
    QString hubBinSha256;

    // The record in the group named model; absent keys read as empty.
    static FirmwareRecord read(const QString& configPath, const QString& model);
    static FirmwareRecord read(const QSettings& settings, const QString& model);

    QString file(Kind kind) const { return kind == Kind::Scalar ? scalarBinFile : hubBinFile; }
    // Sets one kind's file and checksum here and in the group named model.
    // An empty sha256 removes the one recorded before.
    void write(QSettings& settings, const QString& model, Kind kind, const QString& file,
               const QString& checkSum, const QString& sha256 = {});

    // The timestamp of the newest signed catalogue accepted for model (0:
    // none yet), so an older one is refused.
    static quint64 catalogueTimestamp(const QSettings& settings, const QString& model);
    static void setCatalogueTimestamp(QSettings& settings, const QString& model, quint64 seconds);
};

} // namespace catalogue
