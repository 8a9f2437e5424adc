#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class DisplaySystem;

enum class InstanceState {
    Acquired,       // this process is the only Panelup
    AlreadyRunning, // another Panelup holds the marker
    Unavailable     // the marker could not be made; start as if alone
};

// The marker that keeps a second Panelup from starting. Held until the
// process ends; the operating system drops it even after a crash.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    virtual InstanceState acquire(const std::string& name) = 0;
};

// Keeps the computer and the display awake while firmware is written.
class KeepAwake {
public:
    virtual ~KeepAwake() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};

struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
};

// The operating-system layer as the program sees it. One per process,
// chosen by the executable's main: the native one for Panelup, the
// simulated one for the demo and tests.
class Platform {
public:
    virtual ~Platform() = default;
    virtual DisplaySystem& displays() = 0;
    virtual SingleInstance& singleInstance() = 0;
    virtual KeepAwake& keepAwake() = 0;
    // Version of a program file; nothing when it has none.
    virtual std::optional<FileVersion> fileVersion(const std::string& path) = 0;
};

Platform& current();
// Not owned; set once by main (or a test) before the window is made.
void setCurrent(Platform* platform);

std::unique_ptr<Platform> makeNativePlatform();
std::unique_ptr<Platform> makeSimulatedPlatform();

} // namespace platform
