#pragma once

#include "platform/Platform.h"

namespace platform {

// A named mutex, created owned. Its handle is never closed: Windows frees
// the mutex when the process ends, however it ends.
class WindowsSingleInstance : public SingleInstance {
public:
    InstanceState acquire(const std::string& name) override;
};

} // namespace platform
