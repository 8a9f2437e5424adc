#include "BridgeOs.h"

#include <windows.h>

#include <string>
#include <vector>

namespace hubbridge::os {

namespace {

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

// Event names are plain ASCII.
std::wstring widen(const char* text) {
    std::wstring wide;
    for (; *text; ++text) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*text)));
    }
    return wide;
}

// The folder of the executable with its trailing backslash, or L"" when the
// path cannot be had whole (a cut path would name some other folder).
std::wstring executableFolder() {
    std::vector<wchar_t> path(MAX_PATH + 1);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            const std::wstring full(path.data(), length);
            const auto slash = full.rfind(L'\\');
            return slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1);
        }
        path.resize(path.size() * 8);
    }
    return {};
}

} // namespace

const char* vendorLibraryFileName() {
    return "TxHubLib.dll";
}

LibraryLoad loadLibraryBesideExecutable(const char* fileName) {
    LibraryLoad load;
    const std::wstring folder = executableFolder();
    const std::wstring path = folder + widen(fileName);
    load.path = narrow(path);
    if (folder.empty()) {
        load.error = std::to_string(GetLastError());
        return load;
    }
    // By full path; its own dependencies from its folder and System32 only,
    // whatever search order the program that loaded Hubbridge has set.
    HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    load.error = std::to_string(GetLastError());
    load.handle = reinterpret_cast<LibraryHandle>(module);
    return load;
}

Symbol findSymbol(LibraryHandle library, const char* name) {
    if (!library) {
        return nullptr;
    }
    // Symbol is void (*)(void), the one function type every other converts
    // to and from without a cast warning.
    const FARPROC entry = GetProcAddress(reinterpret_cast<HMODULE>(library), name);
    return reinterpret_cast<Symbol>(entry);
}

void freeLibrary(LibraryHandle library) {
    if (library) {
        FreeLibrary(reinterpret_cast<HMODULE>(library));
    }
}

void debugOutput(const char* text) {
    OutputDebugStringA(text);
}

bool driverInstallerExists() {
    return true;
}

EventHandle createGlobalEvent(const char* name) {
    // A present but null DACL: the installer may run as a service in another
    // session and must be able to open the event.
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes;
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = &descriptor;
    attributes.bInheritHandle = FALSE;

    const std::wstring wideName = widen(name);
    HANDLE event = CreateEventW(&attributes, FALSE, FALSE, wideName.c_str());
    if (event == nullptr || event == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return event;
}

bool setEvent(EventHandle event) {
    return SetEvent(static_cast<HANDLE>(event)) != FALSE;
}

WaitResult waitForEvent(EventHandle event, unsigned milliseconds) {
    switch (WaitForSingleObject(static_cast<HANDLE>(event), milliseconds)) {
    case WAIT_OBJECT_0:
        return WaitResult::Signalled;
    case WAIT_TIMEOUT:
        return WaitResult::TimedOut;
    default:
        return WaitResult::Failed;
    }
}

unsigned long lastErrorCode() {
    return GetLastError();
}

} // namespace hubbridge::os
