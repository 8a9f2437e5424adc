// The release catalogue as the update site sends it: whatever the text, the
// entries read from it name files inside the firmware store and the
// download folder only, in all three forms the program builds from them.
#include "FuzzSupport.h"
#include "QuietQt.h"

#include "catalogue/CatalogueEntry.h"
#include "catalogue/FileTime.h"
#include "catalogue/FirmwareChecks.h"

#include <QBuffer>
#include <QDir>

#include <cstddef>
#include <cstdint>

using namespace catalogue;

namespace {

const QString store = QStringLiteral("/opt/Panelup");
const QString downloads = QStringLiteral("/tmp/AutoUpdate");

// The path once "." and ".." are resolved as the file system would; a
// backslash counts as a separator too, as it does on Windows.
QString resolved(const QString& path) {
    QString unified = path;
    unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(unified);
}

// Strictly below root.
bool staysBelow(const QString& root, const QString& path) {
    const QString clean = resolved(path);
    return clean.startsWith(root + QLatin1Char('/')) && clean.size() > root.size() + 1;
}

// In a sub-folder of root, never beside the program itself.
bool inSubFolder(const QString& root, const QString& path) {
    return staysBelow(root, path) && resolved(path).lastIndexOf(QLatin1Char('/')) > root.size();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    QByteArray text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer device(&text);
    device.open(QIODevice::ReadOnly);
    const std::vector<CatalogueEntry> entries = readCatalogueEntries(device);

    for (const CatalogueEntry& entry : entries) {
        FUZZ_REQUIRE(isSafeFileName(entry.file));
        FUZZ_REQUIRE(isSafeFileName(entry.downloadName));
        FUZZ_REQUIRE(isSafeFolder(entry.folder));

        // The stored file, the temporary download and the record's path as
        // the status and the update resolve it.
        FUZZ_REQUIRE(inSubFolder(store, store + QLatin1Char('/') + entry.folder + QLatin1Char('/') +
                                            entry.file));
        FUZZ_REQUIRE(staysBelow(downloads, downloads + QLatin1Char('/') + entry.folder +
                                               QLatin1Char('/') + entry.downloadName));
        FUZZ_REQUIRE(staysBelow(store, QDir(store).absoluteFilePath(entry.recordPath())));

        // The other fields are read as numbers and dates; any text will do.
        std::string recorded = checksumText(parseChecksumText(entry.checksum.toStdString()));
        if (!recorded.empty() && recorded[0] == '-')
            recorded.erase(0, 1);
        FUZZ_REQUIRE(recorded.size() >= 4 && recorded.size() % 2 == 0);
        const int order = compareVersions(entry.version.toStdString(), "1.5");
        FUZZ_REQUIRE(order >= -1 && order <= 1);
        FUZZ_REQUIRE(compareVersions("1.5", entry.version.toStdString()) == -order);
        const QDateTime released = parseReleaseDate(entry.releaseDate);
        if (released.isValid())
            (void)toFileTime(released);
    }
    return 0;
}
