#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "platform/simulated/SimulatedDisplaySystem.h"
#ifdef _WIN32
#include "platform/windows/WindowsSingleInstance.h"
#else
#include "platform/linux/LinuxSingleInstance.h"
#endif

namespace platform {
namespace {

// The demo is a Panelup too: one at a time, with the real marker.
#ifdef _WIN32
using NativeSingleInstance = WindowsSingleInstance;
#else
using NativeSingleInstance = LinuxSingleInstance;
#endif

// Placeholder pieces; each is replaced by its simulated implementation.
class NoKeepAwake : public KeepAwake {
public:
    void begin() override {}
    void end() override {}
};

class SimulatedPlatform : public Platform {
public:
    DisplaySystem& displays() override { return displays_; }
    SingleInstance& singleInstance() override { return lock_; }
    KeepAwake& keepAwake() override { return keepAwake_; }
    std::optional<FileVersion> fileVersion(const std::string&) override {
        return FileVersion{PANELUP_VERSION_MAJOR, PANELUP_VERSION_MINOR, PANELUP_VERSION_PATCH,
                           PANELUP_VERSION_TWEAK};
    }

private:
    SimulatedDisplaySystem displays_;
    NativeSingleInstance lock_;
    NoKeepAwake keepAwake_;
};

} // namespace

std::unique_ptr<Platform> makeSimulatedPlatform() {
    return std::make_unique<SimulatedPlatform>();
}

} // namespace platform
