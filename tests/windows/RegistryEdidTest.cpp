// The monitor's EDID as the Windows back end reads it from the registry,
// from keys this test writes where Windows keeps them.
#include "platform/DisplaySystem.h"
#include "platform/Platform.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string classGuid = "{4d36e96e-e325-11ce-bfc1-08002be10318}";
const std::wstring enumDisplay = L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY";

void putText(std::vector<uint8_t>& edid, size_t descriptor, uint8_t tag, const std::string& text) {
    uint8_t* d = &edid[54 + 18 * descriptor];
    std::memset(d, 0, 18);
    d[3] = tag;
    std::memset(d + 5, ' ', 13);
    std::memcpy(d + 5, text.data(), text.size());
    if (text.size() < 13) {
        d[5 + text.size()] = 0x0A;
    }
}

// A base block with a 2560 x 1440 first timing, a serial number and a name.
std::vector<uint8_t> edidImage(const std::string& name, const std::string& serial) {
    std::vector<uint8_t> edid(128, 0);
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(edid.data(), header, 8);
    edid[8] = 0x3A; // "NVL"
    edid[9] = 0xCC;
    edid[10] = 0x20;
    edid[11] = 0x04;
    edid[18] = 1;
    edid[19] = 4;
    uint8_t* timing = &edid[54];
    timing[0] = 0x56;
    timing[1] = 0x5E;
    timing[2] = 0x00; // 2560 = 0xA00
    timing[4] = 0xA0;
    timing[5] = 0xA0; // 1440 = 0x5A0
    timing[7] = 0x50;
    putText(edid, 1, 0xFF, serial);
    putText(edid, 2, 0xFC, name);
    putText(edid, 3, 0xFE, "");
    unsigned sum = 0;
    for (size_t i = 0; i < 127; ++i) {
        sum += edid[i];
    }
    edid[127] = static_cast<uint8_t>((256 - sum % 256) % 256);
    return edid;
}

// One instance key under the test's hardware-ID key, as Windows' PnP
// manager writes them.
struct Instance {
    std::wstring key;
    std::wstring driver;
    std::vector<uint8_t> edid; // empty: no EDID value
};

bool writeInstance(const std::wstring& hardwareKey, const Instance& instance) {
    HKEY key = nullptr;
    const std::wstring path = hardwareKey + L"\\" + instance.key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((instance.driver.size() + 1) * sizeof(wchar_t));
    bool ok = RegSetValueExW(key, L"Driver", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(instance.driver.c_str()),
                             bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (instance.edid.empty()) {
        return ok;
    }
    HKEY parameters = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (path + L"\\Device Parameters").c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &parameters, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ok = ok && RegSetValueExW(parameters, L"EDID", 0, REG_BINARY, instance.edid.data(),
                              static_cast<DWORD>(instance.edid.size())) == ERROR_SUCCESS;
    RegCloseKey(parameters);
    return ok;
}

struct Row {
    const char* name;
    std::string instanceNumber; // last part of the device ID
    std::string displayName;    // expected
    std::string serialNumber;   // expected
    int32_t horizontalActive;   // expected
};

std::u16string utf16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace

int main() {
    TestReport report("Windows registry EDID");
    // A hardware ID of this run only, so that nothing else interferes.
    const std::string hardwareId = "PNL" + std::to_string(GetCurrentProcessId());
    const std::wstring hardwareKey = enumDisplay + L"\\" + widen(hardwareId);
    const std::wstring guid = widen(classGuid);

    std::vector<uint8_t> shortEdid = edidImage("LM0610", "SHORT0000001");
    shortEdid.resize(100);
    std::vector<uint8_t> withExtension = edidImage("LM0530 SERIES", "UP2160100005");
    withExtension.resize(256, 0x02);

    // Listed in an order where a careless match would pick the wrong one.
    const Instance instances[] = {
        {L"5&1a2b3c&0&UID4352", L"{4D36E96E-E325-11CE-BFC1-08002BE10318}\\0001",
         edidImage("WRONGCASE", "CASE00000001")},
        {L"5&1a2b3c&0&UID4353", guid + L"\\0001", edidImage("LM0420", "UP2160100001")},
        {L"5&1a2b3c&0&UID4354", guid + L"\\0002   ", edidImage("LM0510", "UP2160100002")},
        {L"5&1a2b3c&0&UID4355", guid + L"\\0003", shortEdid},
        {L"5&1a2b3c&0&UID4356", guid + L"\\0004", withExtension},
        {L"5&1a2b3c&0&UID4357", guid + L"\\0005", {}},
    };
    // Left over from a run that did not get to its end.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, hardwareKey.c_str());
    bool written = true;
    for (const Instance& instance : instances) {
        written = writeInstance(hardwareKey, instance) && written;
    }
    if (!report.check(written, "registry keys written under HKLM\\" + narrow(hardwareKey))) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, hardwareKey.c_str());
        return report.finish();
    }

    const Row rows[] = {
        {"exact driver text", "0001", "LM0420", "UP2160100001", 2560},
        {"driver text with trailing spaces", "0002", "LM0510", "UP2160100002", 2560},
        // 100 bytes: the name is cut where the value ends, nothing is read
        // past it.
        {"EDID shorter than a block", "0003", "LM061", "SHORT0000001", 2560},
        {"EDID with an extension block", "0004", "LM0530 SERIES", "UP2160100005", 2560},
        {"instance without EDID", "0005", "", "", 0},
        {"no instance with that driver", "0009", "", "", 0},
    };
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    for (const Row& row : rows) {
        edid::DisplayDevice device;
        device.deviceId =
            utf16("MONITOR\\" + hardwareId + "\\" + classGuid + "\\" + row.instanceNumber);
        const edid::EdidRecord record = native->displays().readEdid(device);
        const std::string name = std::string(row.name) + ": ";
        report.equal(record.hardwareKeyPath,
                     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\" + hardwareId,
                     name + "hardware key path");
        report.equal(record.displayName, row.displayName, name + "display name");
        report.equal(record.serialNumber, row.serialNumber, name + "serial number");
        report.equal(record.horizontalActive, row.horizontalActive, name + "horizontal pixels");
    }

    edid::DisplayDevice first;
    first.deviceId = utf16("MONITOR\\" + hardwareId + "\\" + classGuid + "\\0001");
    const edid::EdidRecord record = native->displays().readEdid(first);
    const std::vector<uint8_t> expected = edidImage("LM0420", "UP2160100001");
    report.check(std::equal(expected.begin(), expected.end(), record.baseBlock.begin()),
                 "base block read back byte for byte");
    report.equal(record.verticalActive, 1440, "vertical lines");
    report.check(record.manufacturerCode[0] == 0x3A && record.manufacturerCode[1] == 0xCC,
                 "manufacturer code");

    report.equal(RegDeleteTreeW(HKEY_LOCAL_MACHINE, hardwareKey.c_str()), long(ERROR_SUCCESS),
                 "test keys removed");
    return report.finish();
}
