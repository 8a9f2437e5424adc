#include "platform/windows/WindowsRegistryReader.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr DWORD MaxValueSize = 64 * 1024; // an EDID is a few hundred bytes

std::wstring toWide(const std::string& text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string toUtf8(const wchar_t* text, size_t length) {
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

// Closes the key when it goes out of scope.
class OpenKey {
public:
    explicit OpenKey(const std::string& path) {
        const auto separator = path.find('\\');
        const std::string hiveName = path.substr(0, separator);
        const std::string subkey = separator == std::string::npos ? "" : path.substr(separator + 1);
        HKEY hive = nullptr;
        if (hiveName == "HKEY_LOCAL_MACHINE" || hiveName == "HKLM")
            hive = HKEY_LOCAL_MACHINE;
        else if (hiveName == "HKEY_CURRENT_USER" || hiveName == "HKCU")
            hive = HKEY_CURRENT_USER;
        else if (hiveName == "HKEY_CLASSES_ROOT")
            hive = HKEY_CLASSES_ROOT;
        else if (hiveName == "HKEY_USERS")
            hive = HKEY_USERS;
        if (!hive)
            return;
        if (RegOpenKeyExW(hive, toWide(subkey).c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey() {
        if (key_)
            RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::vector<std::string> WindowsRegistryReader::childGroups(const std::string& path) const {
    std::vector<std::string> names;
    OpenKey key(path);
    if (!key.get())
        return names;
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring name(static_cast<size_t>(longest) + 1, L'\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result = RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr,
                                          nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            names.push_back(toUtf8(name.data(), length));
    }
    return names;
}

edid::RegistryValue WindowsRegistryReader::value(const std::string& path,
                                                 const std::string& name) const {
    OpenKey key(path);
    if (!key.get())
        return {};
    const std::wstring valueName = toWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size > MaxValueSize)
        return {};
    std::vector<uint8_t> data(size);
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    data.resize(size);

    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        std::copy(data.begin(),
                  data.begin() + static_cast<std::ptrdiff_t>(text.size() * sizeof(wchar_t)),
                  reinterpret_cast<uint8_t*>(text.data()));
        // The stored terminator, if any, is not part of the text.
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return edid::RegistryValue::fromText(toUtf8(text.data(), text.size()));
    }
    return edid::RegistryValue::fromBytes(std::move(data));
}

} // namespace platform
