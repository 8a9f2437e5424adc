// Loads Hubbridge through its import table, as Panelup.exe does, and tells
// what the bridge reports after its attach.
#include "Hubbridge.h"

#include <cstdio>

int main() {
    const int closeResult = CloseDevice();
    const int attachError = GetLastErrorCode();
    unsigned char buffer[4] = {};
    const int readResult = ReadI2C(0x51, buffer, sizeof(buffer));
    std::printf("CloseDevice=%d GetLastErrorCode=%d ReadI2C=%d\n", closeResult, attachError,
                readResult);
    return 0;
}
