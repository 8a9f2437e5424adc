// The resources Panelup.exe gets from Panelup.rc, read back from this test
// program, which is built with the same resource script.
#include "support/TestReport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string resourceText(const wchar_t* name, const wchar_t* type) {
    const HRSRC found = FindResourceW(nullptr, name, type);
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        return {};
    }
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Number of images in the icon group (the count field of its header).
int iconImages(const wchar_t* name) {
    const std::string group = resourceText(name, MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    if (group.size() < 6) {
        return 0;
    }
    return static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
}

std::wstring versionString(const wchar_t* key) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::vector<unsigned char> block(size);
    void* value = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), key, &value, &length) || length == 0) {
        return {};
    }
    return std::wstring(static_cast<const wchar_t*>(value));
}

std::string narrowAscii(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

int main() {
    TestReport report("Panelup.rc resources");

    const std::string manifest = resourceText(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    report.check(contains(manifest, "level=\"requireAdministrator\""),
                 "manifest asks for administrator rights");
    report.check(contains(manifest, "uiAccess=\"false\""), "manifest leaves uiAccess off");

    report.equal(iconImages(L"IDI_ICON1"), 5, "program icon IDI_ICON1 holds the five sizes");

    const wchar_t* const prefix = L"\\StringFileInfo\\040904b0\\";
    report.equal(narrowAscii(versionString((std::wstring(prefix) + L"FileVersion").c_str())),
                 std::string(PANELUP_EXPECTED_VERSION), "FileVersion text");
    report.equal(narrowAscii(versionString((std::wstring(prefix) + L"ProductVersion").c_str())),
                 std::string(PANELUP_EXPECTED_VERSION), "ProductVersion text");
    report.equal(narrowAscii(versionString((std::wstring(prefix) + L"OriginalFilename").c_str())),
                 std::string("Panelup.exe"), "OriginalFilename");
    return report.finish();
}
