#pragma once

#include <QIODevice>
#include <QString>

class QFile;

namespace catalogue {

// The download folder holds files fetched over plain http before they are
// checked and stored. On Linux it lies in the temporary-files location that
// all users share, so it must be the user's own: created with mode 0700,
// owned by the user and not a symbolic link. Anything else is refused (false,
// with a log line) and nothing is downloaded into it. On Windows it lies in
// the program folder, whose rights it inherits: it is made where missing and
// refused when it is a junction, symbolic link or file.
bool preparePrivateFolder(const QString& path);

// Why the program folder lets someone other than Administrators, SYSTEM and
// TrustedInstaller change it (an unzipped copy in the user's Downloads), so
// that nothing kept in it is protected; empty when it does not, and always
// on Linux, where the program is not elevated.
QString whyProgramFolderUnprotected(const QString& programFolder);

// Creates the entry folder below the download folder; on Windows an
// existing one that is a junction or symbolic link, at any level, is refused
// (false, with a log line).
bool prepareEntryFolder(const QString& downloadFolder, const QString& folder);

// Removes the file at path; on Windows only a file, never a reparse point
// or what it leads to.
bool removeOwnFile(const QString& path);

// Opens an existing regular file for reading; a symbolic link (on Windows
// any reparse point) is not followed but refused.
bool openWithoutFollowing(QFile& file, const QString& path);

// Opens path, outside the program folder, for writing in mode (WriteOnly,
// with Text as wanted): created where missing, emptied (empty) or appended
// to. On Windows, where the folder is the user's, the file is opened without
// following a link and used only when it is a plain file with one name that
// lies where path says; false, with the reason, otherwise.
bool openOwnFileForWriting(QFile& file, const QString& path, bool empty, QIODevice::OpenMode mode,
                           QString& refusal);

// True when path names a symbolic link (dangling or not), on Windows any
// reparse point; writes refuse it.
bool isSymbolicLink(const QString& path);

} // namespace catalogue
