#pragma once

#include <QString>

namespace app {

// An unattended run that crashes (an uncaught exception, std::terminate,
// abort) ends with exit code 1, never with the runtime's own code (3 for
// abort on Windows, which reads as "nothing to do"), and appends a last
// result line to logPath when one is given.
void guardUnattendedRun(const QString& logPath);

} // namespace app
