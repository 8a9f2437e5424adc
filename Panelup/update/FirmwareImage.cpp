#include "update/FirmwareImage.h"

#include "catalogue/FileHash.h"

#include "catalogue/FirmwareChecks.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace update {

FirmwareImage readFirmwareImage(const QString& programFolder, const QString& relativePath,
                                const QString& recordedChecksum,
                                const std::optional<QString>& recordedSha256) {
    FirmwareImage image;
    image.path = QDir(programFolder).absoluteFilePath(relativePath);

    QFile file(image.path);
    // An empty record names the program folder itself, which is no image.
    if (relativePath.isEmpty() || !QFileInfo(image.path).isFile() ||
        !file.open(QIODevice::ReadOnly)) {
        image.state = FirmwareImage::State::Missing;
        qDebug() << "Firmware file missing:" << image.path;
        return image;
    }
    image.bytes = file.readAll();
    file.close();
    if (image.bytes.isEmpty()) {
        image.state = FirmwareImage::State::Empty;
        qDebug() << "Firmware file empty:" << image.path;
        return image;
    }

    const uint16_t sum =
        catalogue::byteChecksum(reinterpret_cast<const uint8_t*>(image.bytes.constData()),
                                static_cast<std::size_t>(image.bytes.size()));
    const int recorded = catalogue::parseChecksumText(recordedChecksum.toStdString());
    if (recorded != sum) {
        image.state = FirmwareImage::State::ChecksumMismatch;
        qDebug() << "Firmware file checksum" << QString::number(sum, 16) << "is not the recorded"
                 << recordedChecksum << ":" << image.path;
        return image;
    }
    if (recordedSha256) {
        catalogue::Sha256 hash;
        hash.add(image.bytes.constData(), static_cast<std::size_t>(image.bytes.size()));
        const QString actual = QString::fromStdString(hash.hex());
        if (actual != recordedSha256->toLower()) {
            image.state = FirmwareImage::State::ChecksumMismatch;
            qWarning().noquote() << "Firmware file SHA-256" << actual << "is not the recorded"
                                 << (recordedSha256->isEmpty() ? QStringLiteral("(none)")
                                                               : *recordedSha256)
                                 << ":" << image.path;
            return image;
        }
    }
    image.state = FirmwareImage::State::Ready;
    qDebug() << "Firmware file" << image.path << image.bytes.size() << "bytes";
    return image;
}

} // namespace update
