#pragma once

#include "platform/Platform.h"

namespace platform {

// Keeps the computer and the display from sleeping while firmware is written:
// a monitor that blanks or a machine that suspends part way through a write
// can leave the hub or the scalar without firmware.
class WindowsKeepAwake : public KeepAwake {
public:
    void begin() override;
    void end() override;
};

} // namespace platform
