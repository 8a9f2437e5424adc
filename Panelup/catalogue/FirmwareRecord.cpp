#include "catalogue/FirmwareRecord.h"

#include <QSettings>

namespace catalogue {

namespace {

QString key(const QString& model, const char* name) {
    return model + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

FirmwareRecord FirmwareRecord::read(const QString& configPath, const QString& model) {
    const QSettings settings(configPath, QSettings::IniFormat);
    return read(settings, model);
}

FirmwareRecord FirmwareRecord::read(const QSettings& settings, const QString& model) {
    FirmwareRecord record;
    record.scalarBinFile = settings.value(key(model, "ScalarBinFile")).toString();
    record.scalarBinCheckSum = settings.value(key(model, "ScalarBinCheckSum")).toString();
    record.hubBinFile = settings.value(key(model, "HubBinFile")).toString();
    record.hubBinCheckSum = settings.value(key(model, "HubBinCheckSum")).toString();
    record.scalarBinSha256 = settings.value(key(model, "ScalarBinSha256")).toString();
    record.hubBinSha256 = settings.value(key(model, "HubBinSha256")).toString();
    return record;
}

void FirmwareRecord::write(QSettings& settings, const QString& model, Kind kind,
                           const QString& file, const QString& checkSum, const QString& sha256) {
    const bool scalar = kind == Kind::Scalar;
    (scalar ? scalarBinFile : hubBinFile) = file;
    (scalar ? scalarBinCheckSum : hubBinCheckSum) = checkSum;
    (scalar ? scalarBinSha256 : hubBinSha256) = sha256;
    settings.setValue(key(model, scalar ? "ScalarBinFile" : "HubBinFile"), file);
    settings.setValue(key(model, scalar ? "ScalarBinCheckSum" : "HubBinCheckSum"), checkSum);
    const QString shaKey = key(model, scalar ? "ScalarBinSha256" : "HubBinSha256");
    if (!sha256.isEmpty())
        settings.setValue(shaKey, sha256);
    else if (settings.contains(shaKey))
        settings.remove(shaKey);
}

quint64 FirmwareRecord::catalogueTimestamp(const QSettings& settings, const QString& model) {
    return settings.value(key(model, "CatalogueTimestamp")).toULongLong();
}

void FirmwareRecord::setCatalogueTimestamp(QSettings& settings, const QString& model,
                                           quint64 seconds) {
    settings.setValue(key(model, "CatalogueTimestamp"), QString::number(seconds));
}

} // namespace catalogue
