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
    return record;
}

void FirmwareRecord::write(QSettings& settings, const QString& model, Kind kind,
                           const QString& file, const QString& checkSum) {
    if (kind == Kind::Scalar) {
        scalarBinFile = file;
        scalarBinCheckSum = checkSum;
        settings.setValue(key(model, "ScalarBinFile"), file);
        settings.setValue(key(model, "ScalarBinCheckSum"), checkSum);
    } else {
        hubBinFile = file;
        hubBinCheckSum = checkSum;
        settings.setValue(key(model, "HubBinFile"), file);
        settings.setValue(key(model, "HubBinCheckSum"), checkSum);
    }
}

} // namespace catalogue
