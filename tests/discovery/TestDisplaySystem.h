#pragma once

#include "EdidBuilder.h"

#include "platform/DisplaySystem.h"

#include <map>
#include <string>
#include <vector>

// Display configurations this machine cannot show: clone displays, several
// monitors, a failing enumeration. Each monitor's EDID carries the display
// name and serial given.
class TestDisplaySystem : public platform::DisplaySystem {
public:
    struct Monitor {
        std::string displayName;
        std::string serial;
        bool ddc = true;
    };

    // One display holding the monitors; devices < 0 gives each monitor a
    // device, otherwise only that many devices exist.
    void addDisplay(const std::vector<Monitor>& monitors, int devices = -1,
                    int outputTechnology = 5) {
        Display display;
        const int index = static_cast<int>(displays_.size());
        display.record.deviceName = u"\\\\.\\DISPLAY" + std::u16string(1, char16_t(u'1' + index));
        display.record.monitorRect = {1920 * index, 0, 1920 * (index + 1), 1080};
        display.record.workRect = {1920 * index, 0, 1920 * (index + 1), 1040};
        display.record.width = 1920;
        display.record.height = 1080;
        display.record.flags = index == 0 ? edid::MonitorInfoPrimary : 0;
        const int deviceCount = devices < 0 ? static_cast<int>(monitors.size()) : devices;
        for (int d = 0; d < deviceCount; ++d) {
            edid::DisplayDevice device;
            device.deviceName = display.record.deviceName + u"\\Monitor" + char16_t(u'0' + d);
            device.stateFlags = edid::DisplayDeviceActive;
            device.deviceId = u"MONITOR\\NVL0420\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\" +
                              std::u16string(1, char16_t(u'A' + edids_.size()));
            const Monitor& source = monitors[static_cast<size_t>(d) % monitors.size()];
            EdidBuilder builder;
            builder.displayName = source.displayName;
            builder.serial = source.serial;
            edid::EdidRecord edid;
            edid::decodeEdidBaseBlock(edid, builder.build());
            edid.deviceId = edid::narrowDeviceId(device.deviceId);
            edids_[device.deviceId] = edid;
            display.devices.push_back(device);
        }
        for (size_t j = 0; j < monitors.size(); ++j) {
            platform::PhysicalMonitor physical;
            physical.handle = 0x1000 + 0x10 * displays_.size() + j;
            physical.ddcResponds = monitors[j].ddc;
            physical.vcpCurrent = monitors[j].ddc ? 0x0202 : 0;
            display.monitors.push_back(physical);
        }
        paths.push_back({display.record.deviceName, u"", outputTechnology});
        displays_.push_back(display);
    }

    std::vector<edid::DisplayPathRecord> queryDisplayPaths() override { return paths; }
    bool enumerateDisplays(std::vector<edid::DisplayRecord>& displays) override {
        if (enumerationFails)
            return false;
        for (const auto& display : displays_)
            displays.push_back(display.record);
        return true;
    }
    std::vector<edid::DisplayDevice>
    activeMonitorDevices(const edid::DisplayRecord& record) override {
        return find(record).devices;
    }
    std::vector<platform::PhysicalMonitor>
    physicalMonitors(const edid::DisplayRecord& record) override {
        return find(record).monitors;
    }
    edid::EdidRecord readEdid(const edid::DisplayDevice& device) override {
        const auto it = edids_.find(device.deviceId);
        edid::EdidRecord edid;
        if (it != edids_.end())
            edid = it->second;
        edid.deviceId = edid::narrowDeviceId(device.deviceId);
        return edid;
    }

    std::vector<edid::DisplayPathRecord> paths;
    bool enumerationFails = false;

private:
    struct Display {
        edid::DisplayRecord record;
        std::vector<edid::DisplayDevice> devices;
        std::vector<platform::PhysicalMonitor> monitors;
    };

    const Display& find(const edid::DisplayRecord& record) const {
        for (const auto& display : displays_) {
            if (display.record.deviceName == record.deviceName)
                return display;
        }
        static const Display none;
        return none;
    }

    std::vector<Display> displays_;
    std::map<std::u16string, edid::EdidRecord> edids_;
};
