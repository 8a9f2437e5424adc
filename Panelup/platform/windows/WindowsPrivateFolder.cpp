#include "platform/windows/WindowsPrivateFolder.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>

namespace platform {

namespace {

// Every right that changes the folder, what is in it or who may.
constexpr ACCESS_MASK changingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                       FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE |
                                       WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

std::string errorText(const char* what, DWORD error) {
    return std::string(what) + " (error " + std::to_string(error) + ")";
}

std::string sidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return "an unknown account";
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c)
        narrow += static_cast<char>(*c < 128 ? *c : '?');
    LocalFree(text);
    return narrow;
}

// TrustedInstaller's service SID, which owns and may change Program Files.
const wchar_t* const trustedInstaller =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

bool isTrustedInstaller(PSID sid) {
    PSID known = nullptr;
    if (!ConvertStringSidToSidW(trustedInstaller, &known))
        return false;
    const bool same = EqualSid(sid, known) != 0;
    LocalFree(known);
    return same;
}

bool isAdministration(PSID sid) {
    return IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(sid, WinLocalSystemSid) || isTrustedInstaller(sid);
}

// CREATOR OWNER stands for whoever creates an item below, who must already
// be allowed to create there; OWNER RIGHTS for the owner, checked apart.
bool standsForCreatorOrOwner(PSID sid) {
    return IsWellKnownSid(sid, WinCreatorOwnerSid) || IsWellKnownSid(sid, WinCreatorOwnerRightsSid);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid())
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

// Opens the name itself: a reparse point is opened as what it is, not as
// what it leads to.
HANDLE openItself(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

DWORD attributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return INVALID_FILE_ATTRIBUTES;
    return info.dwFileAttributes;
}

// The attributes of what the handle opened, and a reparse point also where
// only the name shows one: Wine reports a Unix symbolic link as a reparse
// point but opens what it leads to, whatever the flags.
DWORD attributesOf(const std::wstring& path, HANDLE handle) {
    DWORD attributes = attributesOf(handle);
    const DWORD byName = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && byName != INVALID_FILE_ATTRIBUTES)
        attributes |= byName & FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes;
}

bool isPlainFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::wstring finalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, &path[0], static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
    return {};
}

std::string narrowText(const std::wstring& wide) {
    std::string narrow;
    for (const wchar_t c : wide)
        narrow += static_cast<char>(c < 128 ? c : '?');
    return narrow;
}

} // namespace

std::string whyDescriptorNotAdminOnly(void* descriptor) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted))
        return errorText("its owner cannot be read", GetLastError());
    if (!owner || !isAdministration(owner))
        return "it belongs to " + (owner ? sidText(owner) : std::string("nobody"));
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted))
        return errorText("its rights cannot be read", GetLastError());
    if (!present || !dacl)
        return "it has no access list: everyone may change it";
    // Inherited entries are judged like the others: the installed folder
    // takes its rights from Program Files.
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!GetAce(dacl, index, &ace))
            return errorText("its rights cannot be read", GetLastError());
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE ||
            header->AceType == ACCESS_DENIED_OBJECT_ACE_TYPE)
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return "its rights hold an entry of type " + std::to_string(header->AceType);
        // Inherit-only entries count too: they apply to what the program
        // will make in it.
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        PSID sid = &allowed->SidStart;
        if ((allowed->Mask & changingRights) != 0 && !isAdministration(sid) &&
            !standsForCreatorOrOwner(sid))
            return sidText(sid) + " may change it";
    }
    return {};
}

std::string whyNotAdminOnly(const std::wstring& path) {
    const Handle folder(openItself(path, READ_CONTROL | FILE_READ_ATTRIBUTES));
    if (!folder.valid())
        return errorText("it cannot be examined", GetLastError());
    const DWORD attributes = attributesOf(path, folder.get());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errorText("it cannot be examined", GetLastError());
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return "it is a reparse point (junction, symbolic link or mount point)";
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "it is not a folder";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status = GetSecurityInfo(folder.get(), SE_FILE_OBJECT,
                                         OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                         nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (status != ERROR_SUCCESS)
        return errorText("its rights cannot be read", status);
    const std::string why = whyDescriptorNotAdminOnly(descriptor);
    LocalFree(descriptor);
    return why;
}

bool makeFoldersBelow(const std::wstring& root, const std::wstring& relative,
                      std::string& refusal) {
    std::wstring path = root;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of(L"/\\", start);
        if (end == std::wstring::npos)
            end = relative.size();
        if (end > start) {
            path += L'\\';
            path += relative.substr(start, end - start);
            if (!CreateDirectoryW(path.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                refusal = errorText("a folder cannot be created", GetLastError());
                return false;
            }
            const Handle folder(openItself(path, FILE_READ_ATTRIBUTES));
            const DWORD attributes =
                folder.valid() ? attributesOf(path, folder.get()) : INVALID_FILE_ATTRIBUTES;
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                refusal = errorText("a folder cannot be examined", GetLastError());
                return false;
            }
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                refusal = "a folder in it is a reparse point";
                return false;
            }
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                refusal = "a folder in it is a file";
                return false;
            }
        }
        start = end + 1;
    }
    return true;
}

bool isReparsePoint(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void* openPlainFileForReading(const std::wstring& path) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid() || !isPlainFile(attributesOf(path, file.get())))
        return nullptr;
    return file.release();
}

bool deletePlainFile(const std::wstring& path) {
    const Handle file(openItself(path, DELETE | FILE_READ_ATTRIBUTES));
    if (!file.valid() || !isPlainFile(attributesOf(path, file.get())))
        return false;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != 0;
}

void* openOwnFileForWriting(const std::wstring& folder, const std::wstring& name, bool empty,
                            std::string& refusal) {
    std::wstring base = folder;
    while (base.size() > 3 && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    // The folder as it resolves now: a temporary folder that is itself a
    // link is the user's choice, what lies in it is checked against it.
    const Handle place(CreateFileW(base.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring placeFinal = place.valid() ? finalPathOf(place.get()) : std::wstring();
    if (placeFinal.empty()) {
        refusal = errorText("its folder cannot be examined", GetLastError());
        return nullptr;
    }
    const std::wstring path = base + L"\\" + name;
    // OPEN_ALWAYS empties nothing, FILE_FLAG_OPEN_REPARSE_POINT opens a
    // junction or symbolic link itself (Windows; Wine opens the target, which
    // the final path below then shows).
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) {
        refusal = errorText("it cannot be opened", GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        refusal = errorText("it cannot be examined", GetLastError());
        return nullptr;
    }
    if (!isPlainFile(attributesOf(path, file.get()))) {
        refusal = "it is a link, a folder or a device";
        return nullptr;
    }
    // A hard link shares the file with a name elsewhere.
    if (info.nNumberOfLinks != 1) {
        refusal = "it has " + std::to_string(info.nNumberOfLinks) + " names";
        return nullptr;
    }
    const std::wstring expected = placeFinal + L"\\" + name;
    const std::wstring final = finalPathOf(file.get());
    if (final.empty() ||
        CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), expected.c_str(),
                             static_cast<int>(expected.size()), TRUE) != CSTR_EQUAL) {
        refusal = "it lies elsewhere: " + narrowText(final);
        return nullptr;
    }
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.get(), start, nullptr, empty ? FILE_BEGIN : FILE_END) ||
        (empty && !SetEndOfFile(file.get()))) {
        refusal = errorText("it cannot be emptied", GetLastError());
        return nullptr;
    }
    return file.release();
}

} // namespace platform
