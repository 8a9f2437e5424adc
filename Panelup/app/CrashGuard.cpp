#include "app/CrashGuard.h"

#include "app/CommandLine.h"

#include <QFile>

#include <csignal>
#include <cstdlib>
#include <exception>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace app {

namespace {

int logHandle = -1;
const char lastLine[] = "result=1 failed (the program ended abnormally)\n";

// Only calls that are safe inside a signal handler.
[[noreturn]] void endFailed() {
    if (logHandle >= 0) {
#ifdef _WIN32
        _write(logHandle, lastLine, sizeof lastLine - 1);
#else
        const ssize_t written = ::write(logHandle, lastLine, sizeof lastLine - 1);
        static_cast<void>(written);
#endif
    }
    std::_Exit(ExitFailed);
}

void onAbort(int) {
    endFailed();
}

} // namespace

void guardUnattendedRun(const QString& logPath) {
    if (!logPath.isEmpty() && logHandle < 0) {
#ifdef _WIN32
        logHandle = _wopen(reinterpret_cast<const wchar_t*>(logPath.utf16()),
                           _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, 0644);
#else
        logHandle = ::open(QFile::encodeName(logPath).constData(),
                           O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
#endif
    }
    std::set_terminate(endFailed);
    // abort() raises SIGABRT first; the handler never returns, so neither
    // the runtime's "abnormal program termination" text nor its exit code 3
    // follows. (_set_abort_behavior would say the same, but msvcrt.dll, the
    // runtime of the MinGW build, does not export it: the program would not
    // link.)
    std::signal(SIGABRT, onAbort);
}

} // namespace app
