#include "VirtualMonitor.h"

#include "Description.h"
#include "ExecutableFolder.h"
#include "StateFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace simulator {
namespace {

const char* const descriptionFileName = "virtual-monitor.json";

} // namespace

VirtualMonitor& VirtualMonitor::instance() {
    // Never destroyed: callers may still reach the library while the
    // process's static objects are being torn down.
    static VirtualMonitor* monitor = new VirtualMonitor;
    return *monitor;
}

VirtualMonitor::VirtualMonitor() {
    const std::filesystem::path folder = executableFolder();
    if (folder.empty())
        return;
    const std::filesystem::path description = folder / descriptionFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(description, error))
        return;
    startupDescriptionPath_ = description.string();
    if (!loadDescriptionFile(startupDescriptionPath_))
        std::fprintf(stderr, "%s\n", lastError.c_str());
}

namespace {

// The description's faults, tried on a scratch set first so that a world
// with a misspelt fault is refused as a whole.
bool checkFaults(const World& world, std::string& error) {
    Faults scratch;
    for (const auto& fault : world.faults) {
        if (!scratch.set(fault.first, fault.second, error)) {
            error = "faults." + fault.first + ": " + error;
            return false;
        }
    }
    return true;
}

} // namespace

void VirtualMonitor::replaceWorld(World replacement, const std::string& statePath,
                                  const std::string& requestLogPath) {
    world = std::move(replacement);
    faults.clear();
    std::string ignored;
    for (const auto& fault : world.faults)
        faults.set(fault.first, fault.second, ignored);
    log.clear();
    log.mirrorTo(requestLogPath);
    handles_.clear();
    lastUpdates = {};
    statePath_ = statePath;
    lastError.clear();
}

bool VirtualMonitor::loadDescription(const std::string& json) {
    World parsed;
    if (!parseDescription(json, parsed, lastError) || !checkFaults(parsed, lastError))
        return false;
    replaceWorld(std::move(parsed), std::string(), std::string());
    return true;
}

bool VirtualMonitor::loadDescriptionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        lastError = "virtual monitor description: cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    World parsed;
    if (!parseDescription(text.str(), parsed, lastError) || !checkFaults(parsed, lastError)) {
        lastError += " (" + path + ")";
        return false;
    }
    std::string statePath;
    std::string stateProblem;
    if (parsed.persistState) {
        statePath = path + ".state.json";
        if (!applyState(parsed, statePath, stateProblem)) {
            // Kept aside rather than overwritten by the next save.
            std::error_code ignored;
            std::filesystem::rename(statePath, statePath + ".bad", ignored);
            std::fprintf(stderr, "virtual monitor: %s; set aside as %s.bad\n", stateProblem.c_str(),
                         statePath.c_str());
        }
    }
    std::string requestLogPath;
    if (!parsed.requestLogFile.empty())
        requestLogPath =
            (std::filesystem::path(path).parent_path() / parsed.requestLogFile).string();
    replaceWorld(std::move(parsed), statePath, requestLogPath);
    if (!stateProblem.empty())
        lastError = stateProblem;
    return true;
}

void* VirtualMonitor::openHandle(uint32_t index) {
    if (faults.hubGone() || index >= world.devices.size())
        return nullptr;
    const uintptr_t handle = nextHandle_++;
    handles_[handle] = index;
    return reinterpret_cast<void*>(handle);
}

std::optional<uint32_t> VirtualMonitor::indexOf(void* handle) const {
    const auto found = handles_.find(reinterpret_cast<uintptr_t>(handle));
    if (found == handles_.end())
        return std::nullopt;
    return found->second;
}

bool VirtualMonitor::closeHandle(void* handle) {
    return handles_.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
}

void VirtualMonitor::stateChanged() {
    if (statePath_.empty())
        return;
    std::string error;
    if (!saveState(world, statePath_, error))
        std::fprintf(stderr, "virtual monitor: %s\n", error.c_str());
}

// Load the description beside the program as soon as the library is loaded.
[[maybe_unused]] const bool loadedAtStart = (VirtualMonitor::instance(), true);

} // namespace simulator
