// Loads Hubbridge like Panelup does and reports what the attach left, so a
// test can see the attach messages of a fresh process.
#include "Hubbridge.h"

#include <cstdio>

int main() {
    std::printf("CloseDevice=%d GetLastErrorCode=%d\n", static_cast<int>(CloseDevice()),
                static_cast<int>(GetLastErrorCode()));
    return 0;
}
