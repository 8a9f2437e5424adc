#include "World.h"

namespace simulator {

Monitor* World::monitorAt(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= monitors.size())
        return nullptr;
    return &monitors[static_cast<size_t>(index)];
}

const Hub& World::identityOf(const Device& device) const {
    if (device.monitor >= 0)
        return *monitors[static_cast<size_t>(device.monitor)].hub;
    return device.foreign;
}

int32_t World::firstMonitorWithHub() const {
    for (const Device& device : devices) {
        if (device.monitor >= 0)
            return device.monitor;
    }
    return -1;
}

} // namespace simulator
