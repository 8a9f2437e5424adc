#pragma once

#include <QString>

namespace app {

// The stored firmware files against the checksums the firmware record keeps
// for them.
enum class StoredFirmwareFault { None, Scalar, Hub };

// True when the file `name` (relative to programFolder, or absolute) has the
// recorded checksum (read as catalogue::parseChecksumText reads it). No name
// counts as no bytes; a name whose file is missing never matches, so a
// missing file is not taken for an empty one whose record says 0x00.
bool storedFileMatches(const QString& programFolder, const QString& name,
                       const QString& recordedChecksum);

// The scalar file first; the hub file only when the scalar file matches.
StoredFirmwareFault checkStoredFirmware(const QString& programFolder, const QString& scalarBinFile,
                                        const QString& scalarBinCheckSum, const QString& hubBinFile,
                                        const QString& hubBinCheckSum);

} // namespace app
