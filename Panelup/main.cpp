#include "app/Application.h"
#include "platform/Platform.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Before anything loads a DLL by name: only the program folder and
    // System32, never the working folder or PATH, which the user's
    // unelevated programs control.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
#endif
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    return app::runPanelup(argc, argv, *native);
}
