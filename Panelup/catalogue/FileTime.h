#pragma once

#include <QDateTime>
#include <QString>

namespace catalogue {

// The Windows FILETIME count of a date-time: 100-nanosecond units since
// 1601-01-01 00:00 UTC. A date-time without a zone is local time.
quint64 toFileTime(const QDateTime& dateTime);

// A catalogue release date, "M/d/yyyy h:m:s AP"; the Chinese forenoon and
// afternoon markers are accepted for AM and PM. Invalid when it does not
// parse.
QDateTime parseReleaseDate(const QString& text);

// Gives an existing file the last-write time fileTime; creation and access
// times are left alone. False when the file is missing or cannot be changed.
bool setLastWriteTime(const QString& path, quint64 fileTime);

} // namespace catalogue
