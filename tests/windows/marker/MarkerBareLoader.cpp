// Loads each DLL named on the command line by its bare name, through the
// default search (working folder and PATH included): exit code 0 when every
// one loads. The control for the markers windows_panelup_program expects
// Panelup.exe never to load.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!LoadLibraryW(argv[i])) {
            std::printf("%ls: error %lu\n", argv[i], GetLastError());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
