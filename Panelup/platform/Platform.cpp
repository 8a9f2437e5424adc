#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Platform* currentPlatform = nullptr;
}

Platform& current() {
    if (!currentPlatform) {
        std::fputs("Panelup: no platform layer was set\n", stderr);
        std::abort();
    }
    return *currentPlatform;
}

void setCurrent(Platform* platform) {
    currentPlatform = platform;
}

} // namespace platform
