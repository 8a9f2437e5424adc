#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "platform/windows/WindowsFileVersion.h"
#include "platform/windows/WindowsKeepAwake.h"
#include "platform/windows/WindowsSingleInstance.h"

namespace platform {
namespace {

// Placeholder until the Windows display back end lands.
class NoDisplays : public DisplaySystem {
public:
    std::vector<DisplayPathRecord> queryDisplayPaths() override { return {}; }
    bool enumerateDisplays(std::vector<DisplayRecord>&) override { return false; }
    std::vector<DisplayDevice> activeMonitorDevices(const DisplayRecord&) override { return {}; }
    std::vector<PhysicalMonitor> physicalMonitors(const DisplayRecord&) override { return {}; }
    EdidRecord readEdid(const DisplayDevice&) override { return {}; }
};

class WindowsPlatform : public Platform {
public:
    DisplaySystem& displays() override { return displays_; }
    SingleInstance& singleInstance() override { return lock_; }
    KeepAwake& keepAwake() override { return keepAwake_; }
    std::optional<FileVersion> fileVersion(const std::string& path) override {
        return readWindowsFileVersion(path);
    }

private:
    NoDisplays displays_;
    WindowsSingleInstance lock_;
    WindowsKeepAwake keepAwake_;
};

} // namespace

std::unique_ptr<Platform> makeNativePlatform() {
    return std::make_unique<WindowsPlatform>();
}

} // namespace platform
