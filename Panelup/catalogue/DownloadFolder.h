#pragma once

#include <QString>

class QFile;

namespace catalogue {

// The download folder holds files fetched over plain http before they are
// checked and stored. On Linux it lies in the temporary-files location that
// all users share, so it must be the user's own: created with mode 0700,
// owned by the user and not a symbolic link. Anything else is refused (false,
// with a log line) and nothing is downloaded into it. Windows' temporary
// folder is the user's own already; there it is only created when missing.
bool preparePrivateFolder(const QString& path);

// Opens an existing regular file for reading; a symbolic link is not
// followed but refused.
bool openWithoutFollowing(QFile& file, const QString& path);

// True when path names a symbolic link (dangling or not); writes refuse it.
bool isSymbolicLink(const QString& path);

} // namespace catalogue
