#include "app/StoredFirmwareCheck.h"

#include "catalogue/FirmwareChecks.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace app {

bool storedFileMatches(const QString& programFolder, const QString& name,
                       const QString& recordedChecksum) {
    const int expected = catalogue::parseChecksumText(recordedChecksum.toStdString());
    if (name.isEmpty())
        return expected == 0;

    const QString path = QDir(programFolder).absoluteFilePath(name);
    if (!QFileInfo(path).isFile()) {
        qDebug() << "Stored firmware missing:" << path;
        return false;
    }
    const uint16_t actual = catalogue::fileChecksum(path.toStdString());
    qDebug() << "Stored firmware" << path << "checksum"
             << QString::fromStdString(catalogue::checksumText(actual)) << "recorded"
             << recordedChecksum;
    return actual == expected;
}

StoredFirmwareFault checkStoredFirmware(const QString& programFolder, const QString& scalarBinFile,
                                        const QString& scalarBinCheckSum, const QString& hubBinFile,
                                        const QString& hubBinCheckSum) {
    if (!storedFileMatches(programFolder, scalarBinFile, scalarBinCheckSum))
        return StoredFirmwareFault::Scalar;
    if (!storedFileMatches(programFolder, hubBinFile, hubBinCheckSum))
        return StoredFirmwareFault::Hub;
    return StoredFirmwareFault::None;
}

} // namespace app
