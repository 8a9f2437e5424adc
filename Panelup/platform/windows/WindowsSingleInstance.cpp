#include "platform/windows/WindowsSingleInstance.h"

#include <windows.h>

#include <string>

namespace platform {

namespace {

std::wstring widen(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

} // namespace

InstanceState WindowsSingleInstance::acquire(const std::string& name) {
    const std::wstring wideName = widen(name);
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, wideName.c_str());
    if (!mutex)
        return InstanceState::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return InstanceState::AlreadyRunning;
    return InstanceState::Acquired;
}

} // namespace platform
