#pragma once

#include "platform/Platform.h"

namespace platform {

// An exclusive flock on "<temp>/<name>.lock". The lock goes with the open
// file, so the kernel drops it when the process ends, however it ends.
class LinuxSingleInstance : public SingleInstance {
public:
    LinuxSingleInstance() = default;
    ~LinuxSingleInstance() override;
    LinuxSingleInstance(const LinuxSingleInstance&) = delete;
    LinuxSingleInstance& operator=(const LinuxSingleInstance&) = delete;

    InstanceState acquire(const std::string& name) override;

    // The lock file used for a name: in $TMPDIR, else /tmp.
    static std::string lockPath(const std::string& name);

private:
    int fd_ = -1;
};

} // namespace platform
