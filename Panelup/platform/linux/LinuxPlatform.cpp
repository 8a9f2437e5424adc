#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxDisplaySystem.h"
#include "platform/linux/LinuxKeepAwake.h"
#include "platform/linux/LinuxSingleInstance.h"

namespace platform {
namespace {

class LinuxPlatform : public Platform {
public:
    DisplaySystem& displays() override { return displays_; }
    SingleInstance& singleInstance() override { return lock_; }
    KeepAwake& keepAwake() override { return keepAwake_; }
    std::optional<FileVersion> fileVersion(const std::string&) override {
        return FileVersion{PANELUP_VERSION_MAJOR, PANELUP_VERSION_MINOR, PANELUP_VERSION_PATCH,
                           PANELUP_VERSION_TWEAK};
    }

private:
    LinuxDisplaySystem displays_{"/sys", "/dev"};
    LinuxSingleInstance lock_;
    LinuxKeepAwake keepAwake_;
};

} // namespace

std::unique_ptr<Platform> makeNativePlatform() {
    return std::make_unique<LinuxPlatform>();
}

} // namespace platform
