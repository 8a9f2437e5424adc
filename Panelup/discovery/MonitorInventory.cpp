#include "discovery/MonitorInventory.h"

#include "Hubbridge.h"
#include "edid/Edid.h"
#include "models/ModelFactory.h"
#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "scalar/HubExchanges.h"

#include <QDebug>
#include <QString>

namespace discovery {

namespace {

constexpr int32_t FallbackHubFirmware = 0x104;

QString text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
}

const void* asPointer(uintptr_t value) {
    return reinterpret_cast<const void*>(value);
}

int32_t outputTechnologyOf(const std::vector<edid::DisplayPathRecord>& paths,
                           const std::u16string& deviceName) {
    for (const auto& path : paths) {
        if (path.sourceDeviceName == deviceName)
            return path.outputTechnology;
    }
    return edid::outputtechnology::Other;
}

} // namespace

MonitorInventory::MonitorInventory(platform::DisplaySystem& displaySystem)
    : displaySystem_(&displaySystem) {}

platform::DisplaySystem& MonitorInventory::displaySystem() const {
    return displaySystem_ ? *displaySystem_ : platform::current().displays();
}

int MonitorInventory::refreshInventory() {
    displays.clear();
    monitors.clear();
    hubs.clear();

    auto& system = displaySystem();
    const auto paths = system.queryDisplayPaths();
    if (system.enumerateDisplays(displays))
        collectMonitors(system, paths);

    if (CloseDevice() == 0)
        return static_cast<int>(monitors.size());

    collectHubs();
    pairBySerialNumber();
    if (pairByModelName())
        return static_cast<int>(monitors.size());

    CloseDevice();
    return static_cast<int>(monitors.size());
}

void MonitorInventory::collectMonitors(platform::DisplaySystem& system,
                                       const std::vector<edid::DisplayPathRecord>& paths) {
    size_t total = 0;
    for (const auto& display : displays) {
        const auto devices = system.activeMonitorDevices(display);
        const auto physical = system.physicalMonitors(display);
        for (size_t j = 0; j < physical.size(); ++j) {
            const auto& monitor = physical[j];
            qDebug() << "Monitor " << monitors.size() << " "
                     << asPointer(monitor.descriptionLocation) << ": 0xDF =" << monitor.vcpCurrent
                     << " Handle:" << asPointer(monitor.handle);

            MonitorRecord record;
            static_cast<edid::DisplayRecord&>(record) = display;
            record.single = physical.size() <= 1 ? 1 : 0;
            // A display may report more physical monitors than active
            // devices; the extra ones get no device rather than a stray one.
            record.device = j < devices.size() ? devices[j] : edid::DisplayDevice{};
            record.outputTechnology = outputTechnologyOf(paths, display.deviceName);
            record.physicalMonitor = monitor.handle;
            record.ddcResponds = monitor.ddcResponds ? 1 : 0;
            record.hubPaired = 0;
            record.edid = system.readEdid(record.device);

            qDebug() << "X " << record.edid.horizontalActive << " Y" << record.edid.verticalActive
                     << ": SerialNumber =" << text(record.edid.serialNumber);
            monitors.push_back(std::move(record));
        }
        total += physical.size();
    }
    qDebug() << "Total Monitor:" << total;
}

void MonitorInventory::collectHubs() {
    const int32_t count = AvailableDevices();
    int32_t counter = 0;
    for (int32_t n = 0; n < count; ++n) {
        scalar::HubRecord hub;
        // Room for the longest description the bridge writes.
        char description[HUBBRIDGE_DESCRIPTION_SIZE] = {};
        int32_t superSpeed = 0;
        GetHIDDev(description, &counter, &superSpeed);
        hub.hubIndex = counter;
        hub.usb3 = superSpeed ? 1 : 0;

        scalar::readModelText(hub);
        scalar::readSerialText(hub);
        scalar::readHubFirmware(hub);
        hubs.push_back(hub);

        qDebug() << "Hub " << hub.hubIndex << ":" << text(hub.modelText) << " USB3.0 "
                 << int(hub.usb3) << " SN: " << text(hub.serialText) << " Hub FW:" << Qt::hex
                 << hub.hubFirmware;
        ++counter;
    }
}

void MonitorInventory::pairBySerialNumber() {
    pairedCount = 0;
    for (const auto& hub : hubs) {
        if (hub.serialText.empty())
            continue;
        for (auto& monitor : monitors) {
            if (monitor.edid.serialNumber == hub.serialText) {
                monitor.hub.assignPairedFrom(hub);
                monitor.hubPaired = 1;
                ++pairedCount;
                break;
            }
        }
    }
}

bool MonitorInventory::pairByModelName() {
    for (const auto& hub : hubs) {
        if (hub.hubFirmware != FallbackHubFirmware)
            continue;
        for (auto& monitor : monitors) {
            if (monitor.hubPaired != 0)
                continue;
            const auto known = models::buildModelList();
            std::shared_ptr<models::ILCDModel> model;
            if (models::findModel(known, monitor.edid.displayName, monitor.edid.serialNumber,
                                  model)) {
                monitor.hubPaired = 1;
                ++pairedCount;
                CloseDevice();
                return true;
            }
        }
    }
    return false;
}

} // namespace discovery
