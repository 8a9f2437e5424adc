#include "platform/windows/WindowsKeepAwake.h"

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
