// The virtual monitor's own exports: load a world, switch faults, read the
// emulated state back.

#include "VirtualMonitorControl.h"

#include "VirtualMonitor.h"

#include <algorithm>
#include <cstring>
#include <string>

using simulator::VirtualMonitor;

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

bool validRange(int32_t address, int32_t length) {
    return address >= 0 && length >= 0 &&
           static_cast<int64_t>(address) + length <=
               static_cast<int64_t>(simulator::Scalar::memorySize);
}

// Copies text with its terminating zero as far as capacity allows; returns
// the full length so a caller can tell it was cut.
int32_t copyText(const std::string& text, char* out, int32_t capacity) {
    if (out != nullptr && capacity > 0) {
        const size_t copied = std::min(text.size(), static_cast<size_t>(capacity) - 1);
        std::memcpy(out, text.data(), copied);
        out[copied] = '\0';
    }
    return static_cast<int32_t>(text.size());
}

} // namespace

extern "C" {

int32_t VM_CALL VM_LoadDescription(const char* json) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    if (json == nullptr) {
        monitor.lastError = "virtual monitor description: none given";
        return 0;
    }
    return monitor.loadDescription(json) ? 1 : 0;
}

int32_t VM_CALL VM_LoadDescriptionFile(const char* path) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    if (path == nullptr) {
        monitor.lastError = "virtual monitor description: no file given";
        return 0;
    }
    return monitor.loadDescriptionFile(path) ? 1 : 0;
}

const char* VM_CALL VM_DescriptionPath(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    return monitor.startupDescriptionPath().c_str();
}

const char* VM_CALL VM_LastError(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    return monitor.lastError.c_str();
}

int32_t VM_CALL VM_SetFault(const char* name, int32_t value) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    if (name == nullptr) {
        monitor.lastError = "no fault name given";
        return 0;
    }
    return monitor.faults.set(name, value, monitor.lastError) ? 1 : 0;
}

void VM_CALL VM_ClearFaults(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    monitor.faults.clear();
}

int32_t VM_CALL VM_MonitorCount(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    return static_cast<int32_t>(monitor.world.monitors.size());
}

int32_t VM_CALL VM_GetScalarFirmware(int32_t index, int32_t* major, int32_t* minor) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr || major == nullptr || minor == nullptr)
        return 0;
    *major = found->scalar.firmwareMajor;
    *minor = found->scalar.firmwareMinor;
    return 1;
}

int32_t VM_CALL VM_GetHubFirmware(int32_t index) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr || !found->hub)
        return -1;
    return found->hub->firmware;
}

int32_t VM_CALL VM_ReadMemory(int32_t index, int32_t address, uint8_t* out, int32_t length) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr || !validRange(address, length) || (out == nullptr && length > 0))
        return 0;
    std::copy_n(found->scalar.memory.begin() + address, length, out);
    return 1;
}

int32_t VM_CALL VM_WriteMemory(int32_t index, int32_t address, const uint8_t* data,
                               int32_t length) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr || !validRange(address, length) || (data == nullptr && length > 0))
        return 0;
    std::copy_n(data, length, found->scalar.memory.begin() + address);
    monitor.stateChanged();
    return 1;
}

int32_t VM_CALL VM_FactoryResetCount(int32_t index) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    return found == nullptr ? -1 : found->scalar.factoryResets;
}

int32_t VM_CALL VM_GetMonitorEdid(int32_t index, uint8_t* out, int32_t capacity) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr)
        return -1;
    if (out != nullptr && capacity > 0)
        std::copy_n(found->edid.begin(),
                    std::min(found->edid.size(), static_cast<size_t>(capacity)), out);
    return static_cast<int32_t>(found->edid.size());
}

int32_t VM_CALL VM_GetMonitorOutputTechnology(int32_t index) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    return found == nullptr ? -1 : found->outputTechnology;
}

int32_t VM_CALL VM_GetMonitorDdc(int32_t index) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    const simulator::Monitor* found = monitor.world.monitorAt(index);
    if (found == nullptr)
        return -1;
    return found->ddc ? 1 : 0;
}

int32_t VM_CALL VM_RequestCount(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    return static_cast<int32_t>(monitor.log.size());
}

int32_t VM_CALL VM_GetRequest(int32_t index, char* out, int32_t capacity) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    if (index < 0 || static_cast<size_t>(index) >= monitor.log.size())
        return -1;
    return copyText(monitor.log.at(static_cast<size_t>(index)), out, capacity);
}

void VM_CALL VM_ClearRequestLog(void) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    monitor.log.clear();
}

int32_t VM_CALL VM_LastUpdateArguments(int32_t kind, int32_t* length, int32_t* params5) {
    VirtualMonitor& monitor = VirtualMonitor::instance();
    Lock lock(monitor.mutex);
    if (kind < 0 || kind > 1)
        return 0;
    const simulator::UpdateArguments& last = monitor.lastUpdates[static_cast<size_t>(kind)];
    if (!last.called)
        return 0;
    if (length != nullptr)
        *length = last.length;
    if (params5 != nullptr)
        std::copy(last.params.begin(), last.params.end(), params5);
    return 1;
}

} // extern "C"
