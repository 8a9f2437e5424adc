#include "BridgeOs.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace hubbridge::os {

namespace {

// The folder of /proc/self/exe with its trailing slash, or "" when unknown.
std::string executableFolder() {
    std::vector<char> path(4096);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < path.size()) {
            const std::string full(path.data(), static_cast<size_t>(length));
            const auto slash = full.rfind('/');
            return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
        }
        path.resize(path.size() * 4);
    }
    return {};
}

} // namespace

const char* vendorLibraryFileName() {
    return "libTxHubLib.so";
}

LibraryLoad loadLibraryBesideExecutable(const char* fileName) {
    LibraryLoad load;
    const std::string folder = executableFolder();
    load.path = folder + fileName;
    if (folder.empty()) {
        load.error = "the executable's folder is unknown";
        return load;
    }
    errno = 0;
    load.handle = ::dlopen(load.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (load.handle) {
        load.error = std::to_string(errno);
    } else {
        const char* reason = ::dlerror();
        load.error = reason ? reason : "unknown";
    }
    return load;
}

Symbol findSymbol(LibraryHandle library, const char* name) {
    if (!library) {
        return nullptr;
    }
    return reinterpret_cast<Symbol>(::dlsym(library, name));
}

void freeLibrary(LibraryHandle library) {
    if (library) {
        ::dlclose(library);
    }
}

void debugOutput(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

bool driverInstallerExists() {
    return false;
}

EventHandle createGlobalEvent(const char*) {
    errno = ENOSYS;
    return nullptr;
}

bool setEvent(EventHandle) {
    return false;
}

WaitResult waitForEvent(EventHandle, unsigned) {
    return WaitResult::Failed;
}

unsigned long lastErrorCode() {
    return static_cast<unsigned long>(errno);
}

} // namespace hubbridge::os
