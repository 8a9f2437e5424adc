#pragma once

#include "platform/Platform.h"

#include <QDBusUnixFileDescriptor>

namespace platform {

// Asks the desktop session not to blank the screen and the system not to
// sleep while firmware is written: the freedesktop screen-saver inhibit on
// the session bus and the logind sleep/idle inhibitor on the system bus.
// Either may be missing (a server, a bare X session); the write goes on
// without it and the log says so.
class LinuxKeepAwake : public KeepAwake {
public:
    ~LinuxKeepAwake() override;
    void begin() override;
    void end() override;

    bool screenSaverInhibited() const { return screenSaverInhibited_; }
    bool sleepInhibited() const { return sleepLock_.isValid(); }

private:
    // A cookie of 0 is a valid answer, so it is not the mark.
    uint screenSaverCookie_ = 0;
    bool screenSaverInhibited_ = false;
    QDBusUnixFileDescriptor sleepLock_;
    bool active_ = false;
};

} // namespace platform
