#include "app/ParentConsole.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <io.h>
#endif

namespace app {

namespace {

bool attached = false;

#ifdef _WIN32
// A standard handle the parent handed over on purpose (a file, a pipe, a
// console it already shares) is left alone.
bool handedOver(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void reopenToConsole(FILE* stream, DWORD which) {
    std::fflush(stream);
    if (!std::freopen("CONOUT$", "w", stream))
        return;
    std::setvbuf(stream, nullptr, _IONBF, 0);
    SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
}
#endif

} // namespace

bool attachParentConsole() {
#ifdef _WIN32
    if (attached)
        return true;
    const bool out = handedOver(STD_OUTPUT_HANDLE);
    const bool err = handedOver(STD_ERROR_HANDLE);
    // ERROR_ACCESS_DENIED: attached already (Wine attaches a GUI program
    // started from a console program to that console by itself).
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return false; // no console to attach to: Explorer, a shortcut, a service
    attached = true;
    if (!out)
        reopenToConsole(stdout, STD_OUTPUT_HANDLE);
    if (!err)
        reopenToConsole(stderr, STD_ERROR_HANDLE);
    return true;
#else
    return false;
#endif
}

bool parentConsoleAttached() {
    return attached;
}

} // namespace app
