#pragma once

#include "Faults.h"
#include "RequestLog.h"
#include "World.h"

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace simulator {

// The arguments a firmware writer was last called with.
struct UpdateArguments {
    bool called = false;
    int32_t length = 0;
    std::array<int32_t, 5> params{};
};

// The one emulated world of the process with everything around it: faults,
// request log, the vendor handles handed out, and where its state is saved.
// Every export locks it for the length of the call.
class VirtualMonitor {
public:
    static VirtualMonitor& instance();

    std::recursive_mutex mutex;
    World world;
    Faults faults;
    RequestLog log;
    std::string lastError;
    std::array<UpdateArguments, 2> lastUpdates; // 0 hub, 1 scalar

    bool loadDescription(const std::string& json);
    bool loadDescriptionFile(const std::string& path);
    const std::string& startupDescriptionPath() const { return startupDescriptionPath_; }

    // Vendor handles: opaque numbers, never reused, so a handle from a
    // replaced world or a closed one is simply not found.
    void* openHandle(uint32_t index);
    // The device index behind a handle; empty for an unknown or closed one.
    std::optional<uint32_t> indexOf(void* handle) const;
    bool closeHandle(void* handle);

    // Saves the state after a change when the description asked for it.
    void stateChanged();

private:
    VirtualMonitor();
    void replaceWorld(World world, const std::string& statePath, const std::string& requestLogPath);

    std::map<uintptr_t, uint32_t> handles_;
    uintptr_t nextHandle_ = 0x100;
    std::string statePath_;
    std::string startupDescriptionPath_;
};

} // namespace simulator
