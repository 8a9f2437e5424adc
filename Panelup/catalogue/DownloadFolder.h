#pragma once

#include <QString>

class QFile;

namespace catalogue {

// The download folder holds files fetched over plain http before they are
// checked and stored. On Linux it lies in the temporary-files location that
// all users share, so it must be the user's own: created with mode 0700,
// owned by the user and not a symbolic link. Anything else is refused (false,
// with a log line) and nothing is downloaded into it. On Windows it lies in
// the user's temporary folder, which the user's unelevated programs may
// change: it must be the elevated program's own (Administrators and SYSTEM
// only, no reparse point); an existing one that is not is moved aside and
// made afresh, and only when that fails is it refused.
bool preparePrivateFolder(const QString& path);

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

// True when path names a symbolic link (dangling or not), on Windows any
// reparse point; writes refuse it.
bool isSymbolicLink(const QString& path);

} // namespace catalogue
