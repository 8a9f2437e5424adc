#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "platform/windows/WindowsDisplaySystem.h"
#include "platform/windows/WindowsFileVersion.h"
#include "platform/windows/WindowsKeepAwake.h"
#include "platform/windows/WindowsSingleInstance.h"

namespace platform {
namespace {

class WindowsPlatform : public Platform {
public:
    DisplaySystem& displays() override { return displays_; }
    SingleInstance& singleInstance() override { return lock_; }
    KeepAwake& keepAwake() override { return keepAwake_; }
    std::optional<FileVersion> fileVersion(const std::string& path) override {
        return readWindowsFileVersion(path);
    }

private:
    WindowsDisplaySystem displays_;
    WindowsSingleInstance lock_;
    WindowsKeepAwake keepAwake_;
};

} // namespace

std::unique_ptr<Platform> makeNativePlatform() {
    return std::make_unique<WindowsPlatform>();
}

} // namespace platform
