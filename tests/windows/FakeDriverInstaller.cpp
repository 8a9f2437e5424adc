// Stands in for the hub maker's driver installer: makes the two events,
// says it is ready, waits for the bridge's request and answers it after the
// given delay. Exit code 0 when a request came, 2 when none came in time.
//   fake_driver_installer <answer delay ms> <ready event name>
#include "support/InstallerEvents.h"

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 3;
    }
    const DWORD delayMs = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
    const HANDLE request = createInstallerEvent(InstallerRequestEvent);
    const HANDLE completion = createInstallerEvent(InstallerCompletionEvent);
    const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!request || !completion || !ready) {
        return 4;
    }
    SetEvent(ready);
    if (WaitForSingleObject(request, 15000) != WAIT_OBJECT_0) {
        return 2;
    }
    Sleep(delayMs);
    SetEvent(completion);
    return 0;
}
