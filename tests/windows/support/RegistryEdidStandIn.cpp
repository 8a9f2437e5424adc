#include "support/RegistryEdidStandIn.h"

#include "edid/Edid.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

std::vector<uint8_t> edidNamed(const std::string& name, const std::string& serial) {
    std::vector<uint8_t> edid(128, 0);
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(edid.data(), header, 8);
    uint8_t* descriptor = &edid[72];
    descriptor[3] = 0xFC;
    std::memset(descriptor + 5, ' ', 13);
    std::memcpy(descriptor + 5, name.data(), name.size());
    descriptor[5 + name.size()] = 0x0A;
    if (!serial.empty()) {
        uint8_t* serialDescriptor = &edid[90];
        serialDescriptor[3] = 0xFF;
        std::memset(serialDescriptor + 5, ' ', 13);
        std::memcpy(serialDescriptor + 5, serial.data(), std::min<size_t>(serial.size(), 12));
        serialDescriptor[5 + std::min<size_t>(serial.size(), 12)] = 0x0A;
    }
    edid::repairEdidChecksums(edid);
    return edid;
}

RegistryEdidStandIn::~RegistryEdidStandIn() {
    for (const std::wstring& key : written_) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"EDID");
    }
}

bool RegistryEdidStandIn::write(const std::vector<uint8_t>& edid) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, hardwareKey_.c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        const std::wstring parameters = hardwareKey_ + L"\\" + name + L"\\Device Parameters";
        DWORD size = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, parameters.c_str(), L"EDID", RRF_RT_ANY, nullptr,
                         nullptr, &size) == ERROR_SUCCESS) {
            continue; // a real EDID stays untouched
        }
        if (RegSetKeyValueW(HKEY_LOCAL_MACHINE, parameters.c_str(), L"EDID", REG_BINARY,
                            edid.data(), static_cast<DWORD>(edid.size())) == ERROR_SUCCESS) {
            written_.push_back(parameters);
        }
    }
    RegCloseKey(key);
    return true;
}
