#include "platform/windows/WindowsFileVersion.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        &wide[0], size);
    return wide;
}

} // namespace

std::optional<FileVersion> readWindowsFileVersion(const std::string& path) {
    const std::wstring widePath = widen(path);
    if (widePath.empty()) {
        return std::nullopt;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) {
        return std::nullopt;
    }
    void* value = nullptr;
    UINT valueSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &valueSize) || !value ||
        valueSize < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    // A block without the fixed part's signature is not a version resource.
    if (fixed->dwSignature != 0xFEEF04BD) {
        return std::nullopt;
    }
    FileVersion version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.build = HIWORD(fixed->dwFileVersionLS);
    version.revision = LOWORD(fixed->dwFileVersionLS);
    return version;
}

} // namespace platform
