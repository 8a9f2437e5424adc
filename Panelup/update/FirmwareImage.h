#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

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
// checksum text of the firmware record and, with site keys built in, the
// SHA-256 recorded from the signed catalogue (none: not checked; an empty
// one never matches). Only a Ready image may be written.
FirmwareImage readFirmwareImage(const QString& programFolder, const QString& relativePath,
                                const QString& recordedChecksum,
                                const std::optional<QString>& recordedSha256 = std::nullopt);

} // namespace update
