#pragma once

#include <QString>

#include <vector>

class QIODevice;

namespace catalogue {

// One firmware file listed in a release catalogue. Its child elements are
// read by position; their names do not matter.
struct CatalogueEntry {
    QString kind;         // element name: "Scalar", "Hub" or anything else
    QString file;         // attribute "file": stored file name, last URL segment
    QString downloadName; // 1st child: temporary file name
    QString version;      // 2nd: dotted decimal, may be empty
    QString releaseDate;  // 3rd: "M/d/yyyy h:m:s AP"
    QString checksum;     // 5th: hexadecimal, "0x" optional
    QString folder;       // 6th: relative folder, trimmed
    QString sha256;       // attribute "sha256": required only in a signed catalogue

    // The firmware record's form of the stored file: folder + "//" + file.
    QString recordPath() const { return folder + QStringLiteral("//") + file; }
};

// The entries of a catalogue in document order. Nodes that are not
// elements, entries with fewer than six child elements and entries whose
// names could reach outside the firmware store or onto a file that is loaded
// are left out (the first 20 logged one by one, then their count). A
// document that does not parse has no entries.
std::vector<CatalogueEntry> readCatalogueEntries(QIODevice& device);

// A single name of a file: not empty, not "." or "..", no separator, only
// characters Windows accepts in a file name; not a name that Windows runs,
// hands to a script host or installer or reads when showing the folder, nor
// one the program or the system loads or reads (executables, libraries,
// scripts, .ini, .manifest, .conf, .local, the program's own files), no
// Windows device name, no trailing dot or blank. The same on every platform.
bool isSafeFileName(const QString& name);

// A real sub-folder of the program folder: one or more segments, each a safe
// file name (so no empty, "." or ".." segment and no separator at either
// end), and not one of the folders that hold Qt's plugins. A folder is never
// empty, since the record "//file" would read as a path from the root.
bool isSafeFolder(const QString& folder);

// Windows opens no path longer than this (MAX_PATH counts the terminating
// null); an entry whose stored or temporary file would lie deeper is refused
// on every platform.
constexpr int longestWindowsPath = 259;

// CreateDirectoryW without the \\?\ prefix makes no folder whose path leaves
// no room for an 8.3 name below it (MAX_PATH - 12 = 248, null included); an
// entry whose folder would be longer is refused on every platform.
constexpr int longestWindowsFolder = 247;

} // namespace catalogue
