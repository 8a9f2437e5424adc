// Hubbridge.dll over the virtual monitor's TxHubLib.dll, both beside this
// program and loaded the way Panelup.exe loads them: Hubbridge through the
// import table, TxHubLib by Hubbridge's attach.
#include "Hubbridge.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The virtual monitor's own controls, found in the module Hubbridge loaded.
struct VirtualMonitor {
    int32_t(__cdecl* loadDescription)(const char*) = nullptr;
    int32_t(__cdecl* setFault)(const char*, int32_t) = nullptr;
    void(__cdecl* clearFaults)() = nullptr;
    int32_t(__cdecl* requestCount)() = nullptr;
    int32_t(__cdecl* getRequest)(int32_t, char*, int32_t) = nullptr;
    void(__cdecl* clearRequestLog)() = nullptr;
    int32_t(__cdecl* hubFirmware)(int32_t) = nullptr;
    int32_t(__cdecl* scalarFirmware)(int32_t, int32_t*, int32_t*) = nullptr;

    template <typename Function> bool bind(HMODULE module, const char* name, Function& entry) {
        entry =
            reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
        return entry != nullptr;
    }

    bool bindAll(HMODULE module) {
        return bind(module, "VM_LoadDescription", loadDescription) &&
               bind(module, "VM_SetFault", setFault) &&
               bind(module, "VM_ClearFaults", clearFaults) &&
               bind(module, "VM_RequestCount", requestCount) &&
               bind(module, "VM_GetRequest", getRequest) &&
               bind(module, "VM_ClearRequestLog", clearRequestLog) &&
               bind(module, "VM_GetHubFirmware", hubFirmware) &&
               bind(module, "VM_GetScalarFirmware", scalarFirmware);
    }

    std::string lastRequest() const {
        const int32_t count = requestCount();
        char text[512] = {};
        if (count <= 0 || !getRequest(count - 1, text, sizeof(text))) {
            return {};
        }
        return text;
    }
};

// One LM0420 behind a hub that shows a SuperSpeed and a USB 2 side.
const char* const description = R"({
  "monitors": [{
    "edid": { "displayName": "LM0420", "serial": "UP2160100001" },
    "scalar": { "model": "LM0420", "serial": "UP2160100001", "firmware": [18, 3] },
    "hub": { "vendorId": 8457, "productIdSuperSpeed": 2065, "productIdUsb2": 2066,
             "firmware": 288, "port": 3, "parent": 1 }
  }],
  "progressSteps": 4
})";

std::vector<HubProgressRecord> progressSeen;

int32_t __cdecl recordProgress(void* record) {
    progressSeen.push_back(*static_cast<const HubProgressRecord*>(record));
    return 0;
}

void checkLoadedModule(TestReport& report) {
    const HMODULE vendor = GetModuleHandleW(L"TxHubLib.dll");
    wchar_t path[MAX_PATH] = {};
    if (vendor) {
        GetModuleFileNameW(vendor, path, MAX_PATH);
    }
    report.equal(narrow(path), narrow(executableFolder() + L"\\TxHubLib.dll"),
                 "attach loaded the TxHubLib.dll beside the program");
    report.equal(CloseDevice(), 1, "CloseDevice with the vendor library loaded");
    report.equal(GetLastErrorCode(), 0, "no error after the attach");
}

void checkHubIdentity(TestReport& report) {
    report.equal(AvailableDevices(), 1, "AvailableDevices counts the USB 2 side only");

    char text[HUBBRIDGE_DESCRIPTION_SIZE];
    std::memset(text, 'x', sizeof(text));
    int32_t index = 0;
    int32_t superSpeed = -1;
    report.equal(GetHIDDev(text, &index, &superSpeed), 1, "GetHIDDev of hub 0");
    report.equal(std::string(text),
                 std::string("Hub 0 - USB\\VID_2109&PID_0811&Rev_0120 - port 3, "
                             "parent 1"),
                 "GetHIDDev description");
    report.equal(index, 0, "GetHIDDev writes the hub's index back");
    report.equal(superSpeed, 1, "GetHIDDev reports SuperSpeed");
    report.equal(GetfwVersion(), 0, "GetHIDDev leaves no device open");
}

void checkTransfers(TestReport& report, VirtualMonitor& vm) {
    report.equal(OpenDevice(0), 1, "OpenDevice(0)");
    report.equal(GetfwVersion(), 0x120, "GetfwVersion");

    vm.clearRequestLog();
    report.equal(SetBusSpeed(0x6E, 1, 0), 1, "SetBusSpeed");
    report.check(contains(vm.lastRequest(), "40 F6 01 6E 80 80 00 00"),
                 "bus configuration request bytes", vm.lastRequest());

    uint8_t buffer[300] = {};
    ReadI2C(0x51, buffer, 300);
    report.check(contains(vm.lastRequest(), "C0 D6 51 00 00 00 2C 00"),
                 "ReadI2C of 300 reads 44 bytes (the count is one byte)", vm.lastRequest());
    const uint8_t frame[5] = {0x6E, 0x51, 0x81, 0xB1, 0x00};
    WriteI2C(0x51, frame, 5);
    report.check(contains(vm.lastRequest(), "40 C6 51 00 00 00 05 00"), "WriteI2C request bytes",
                 vm.lastRequest());
    report.equal(CloseDevice(), 1, "CloseDevice after the transfers");
}

std::vector<uint8_t> image(size_t size, size_t versionOffset, uint8_t major, uint8_t minor) {
    std::vector<uint8_t> bytes(size, 0xA5);
    bytes[versionOffset] = major;
    bytes[versionOffset + 1] = minor;
    return bytes;
}

void checkFirmwareWrites(TestReport& report, VirtualMonitor& vm) {
    int dummyContext = 0;
    progressSeen.clear();
    const std::vector<uint8_t> hub = image(0x8000, 0x7EF9, 0x01, 0x34);
    report.equal(
        UpdateHubFW(hub.data(), static_cast<int32_t>(hub.size()), recordProgress, &dummyContext), 0,
        "UpdateHubFW succeeds");
    report.equal(vm.hubFirmware(0), 0x134, "hub firmware version from the image");
    report.check(progressSeen.size() >= 2 && progressSeen.back().total == 0x8000 &&
                     progressSeen.back().done == 0x8000,
                 "hub write progress reaches done == total through the callback",
                 std::to_string(progressSeen.size()) + " reports");

    progressSeen.clear();
    const std::vector<uint8_t> scalar = image(0x10000, 0xF900, 19, 7);
    report.equal(UpdateScalar(scalar.data(), static_cast<int32_t>(scalar.size()), 0xFE19, 0x1029, 1,
                              16, 16, recordProgress, &dummyContext),
                 0, "UpdateScalar with the LM0420 parameters succeeds");
    int32_t major = 0;
    int32_t minor = 0;
    vm.scalarFirmware(0, &major, &minor);
    report.check(major == 19 && minor == 7, "scalar firmware level from the image",
                 std::to_string(major) + "." + std::to_string(minor));
    report.check(!progressSeen.empty() && progressSeen.back().done == 0x10000,
                 "scalar write progress reaches the end");
    report.check(UpdateScalar(scalar.data(), static_cast<int32_t>(scalar.size()), 0xFE28, 0x1038, 1,
                              32, 32, recordProgress, &dummyContext) != 0,
                 "UpdateScalar with another model's parameters fails");
}

struct FaultRow {
    const char* name;
    const char* fault;
    int32_t (*action)();
    int32_t expectedResult;
    int32_t expectedError;
};

int32_t configureBus() {
    const int32_t opened = OpenDevice(0);
    const int32_t result = opened ? SetBusSpeed(0x6E, 1, 0) : -1;
    CloseDevice();
    return result;
}

int32_t readFirmwareVersion() {
    const int32_t opened = OpenDevice(0);
    const int32_t result = opened ? GetfwVersion() : -1;
    CloseDevice();
    return result;
}

int32_t countHubs() {
    return AvailableDevices();
}

const FaultRow faultRows[] = {
    {"refused bus configuration", "refuseBusConfig", configureBus, 0, 40000},
    {"failing status query", "failStatus", readFirmwareVersion, 0, 40006},
    {"failing speed query", "failSpeed", countHubs, 0, 40005},
};

void checkFaults(TestReport& report, VirtualMonitor& vm) {
    for (const FaultRow& row : faultRows) {
        vm.clearFaults();
        if (!report.check(vm.setFault(row.fault, 1) == 1, std::string(row.name) + ": fault set")) {
            continue;
        }
        report.equal(row.action(), row.expectedResult, std::string(row.name) + ": result");
        report.equal(GetLastErrorCode(), row.expectedError,
                     std::string(row.name) + ": last error code");
    }
    vm.clearFaults();
    report.equal(CloseDevice(), 1, "a success afterwards...");
    report.equal(GetLastErrorCode(), faultRows[2].expectedError, "...keeps the last error code");
}

} // namespace

int main() {
    TestReport report("Hubbridge.dll over the virtual monitor");
    VirtualMonitor vm;
    const HMODULE vendor = GetModuleHandleW(L"TxHubLib.dll");
    checkLoadedModule(report);
    if (!vendor || !report.check(vm.bindAll(vendor), "virtual monitor controls found") ||
        !report.check(vm.loadDescription(description) == 1, "description loaded")) {
        return report.finish();
    }
    checkHubIdentity(report);
    checkTransfers(report, vm);
    checkFirmwareWrites(report, vm);
    checkFaults(report, vm);
    return report.finish();
}
