#include "platform/windows/WindowsKeepAwake.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {

void WindowsKeepAwake::begin() {
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

void WindowsKeepAwake::end() {
    // Drops the request of begin(); the usual idle rules apply again.
    SetThreadExecutionState(ES_CONTINUOUS);
}

} // namespace platform
