#pragma once

#include <QByteArray>
#include <QString>

namespace update {

// A stored firmware file as it is handed to a firmware writer.
struct FirmwareImage {
    enum class State { Ready, Missing, Empty, ChecksumMismatch };

    State state = State::Missing;
    QString path;
    QByteArray bytes;

    bool ready() const { return state == State::Ready; }
};

// Reads programFolder + relativePath whole and checks it against the
// checksum text of the firmware record. Only a Ready image may be written.
FirmwareImage readFirmwareImage(const QString& programFolder, const QString& relativePath,
                                const QString& recordedChecksum);

} // namespace update
