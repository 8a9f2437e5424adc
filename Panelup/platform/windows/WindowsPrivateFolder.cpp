#include "platform/windows/WindowsPrivateFolder.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform {

namespace {

// Full control for Administrators and SYSTEM, inherited by everything below,
// and nothing taken from the folder above. The owner is the Administrators
// group, as for every object an elevated administrator creates by default.
const wchar_t* const adminOnlyDescriptor = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
const wchar_t* const adminOnlyDacl = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

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

bool isAdminsOrSystem(PSID sid) {
    return IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(sid, WinLocalSystemSid);
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

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The folders this process made, by identity: a folder that is still the
// same one (not replaced, not a link) is used again without judging its
// rights, which not every file system keeps. Each stays open (sharing
// every right, so nothing is locked) for the rest of the run: its file
// index then cannot be given to another folder, even where the index
// carries no sequence number as NTFS's does. The creation time is no part
// of it, as Wine reports the time of the last change there.
struct FolderIdentity {
    DWORD volume;
    DWORD high;
    DWORD low;
};
std::vector<FolderIdentity> madeHere;

bool identityOf(const std::wstring& path, FolderIdentity& identity) {
    const Handle folder(openItself(path, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info) ||
        (attributesOf(path, folder.get()) & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool madeInThisRun(const std::wstring& path) {
    FolderIdentity identity{};
    if (!identityOf(path, identity))
        return false;
    for (const FolderIdentity& made : madeHere) {
        if (made.volume == identity.volume && made.high == identity.high &&
            made.low == identity.low)
            return true;
    }
    return false;
}

// Renames what path names itself, opened without following a reparse
// point: a link is moved, never what it leads to.
bool renameItself(const std::wstring& path, const std::wstring& to) {
    const Handle item(openItself(path, DELETE | FILE_READ_ATTRIBUTES));
    if (!item.valid())
        return false;
    // Where the name shows a link but the handle opened what it leads to,
    // the rename would move that instead.
    if ((attributesOf(path, item.get()) & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !(attributesOf(item.get()) & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    const size_t bytes = sizeof(FILE_RENAME_INFO) + to.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(bytes, 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::copy(to.begin(), to.end(), rename->FileName);
    return SetFileInformationByHandle(item.get(), FileRenameInfo, rename,
                                      static_cast<DWORD>(bytes)) != 0;
}

std::wstring asideName(const std::wstring& path, unsigned attempt) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long stamp =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return path + L".moved-" + std::to_wstring(stamp / 10000) + L"-" + std::to_wstring(attempt);
}

bool createAdminOnly(const std::wstring& path, DWORD& error) {
    // A token that may not name the Administrators group as owner (not
    // elevated) gets its default owner; the check afterwards judges it.
    for (const wchar_t* sddl : {adminOnlyDescriptor, adminOnlyDacl}) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                  &descriptor, nullptr)) {
            error = GetLastError();
            return false;
        }
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
        const bool made = CreateDirectoryW(path.c_str(), &attributes) != 0;
        error = GetLastError();
        LocalFree(descriptor);
        if (made)
            return true;
        if (error != ERROR_INVALID_OWNER)
            return false;
    }
    return false;
}

} // namespace

std::string whyDescriptorNotAdminOnly(void* descriptor) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted))
        return errorText("its owner cannot be read", GetLastError());
    if (!owner || !isAdminsOrSystem(owner))
        return "it belongs to " + (owner ? sidText(owner) : std::string("nobody"));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorControl(descriptor, &control, &revision) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted))
        return errorText("its rights cannot be read", GetLastError());
    if (!present || !dacl)
        return "it has no access list: everyone may change it";
    if ((control & SE_DACL_PROTECTED) == 0)
        return "its rights are inherited from the folder above";
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
        if ((allowed->Mask & changingRights) != 0 && !isAdminsOrSystem(sid))
            return sidText(sid) + " may change it";
    }
    return {};
}

const wchar_t* adminOnlyFolderSddl() {
    return adminOnlyDescriptor;
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

AdminOnlyFolder prepareAdminOnlyFolder(const std::wstring& path) {
    AdminOnlyFolder result;
    if (madeInThisRun(path)) {
        result.ready = true;
        return result;
    }
    if (exists(path) || isReparsePoint(path)) {
        const std::string why = whyNotAdminOnly(path);
        if (why.empty()) {
            result.ready = true;
            return result;
        }
        // Renaming moves the link or folder itself; nothing in or behind it
        // is touched.
        DWORD error = ERROR_ALREADY_EXISTS;
        for (unsigned attempt = 0; attempt < 5 && error == ERROR_ALREADY_EXISTS; ++attempt) {
            const std::wstring aside = asideName(path, attempt);
            if (renameItself(path, aside)) {
                result.movedAside = aside;
                error = ERROR_SUCCESS;
            } else {
                error = GetLastError();
            }
        }
        if (result.movedAside.empty()) {
            result.refusal =
                why + "; " +
                (error == ERROR_NOT_SUPPORTED
                     ? std::string("it cannot be moved aside: this system opens what the link "
                                   "leads to, not the link")
                     : errorText("it cannot be moved aside", error));
            return result;
        }
        result.movedBecause = why;
    }
    DWORD error = ERROR_SUCCESS;
    if (!createAdminOnly(path, error)) {
        result.refusal = errorText("it cannot be created", error);
        return result;
    }
    // Made with its rights in one step, so nobody else had it at any time.
    FolderIdentity identity{};
    if (!identityOf(path, identity)) {
        result.refusal = errorText("the folder made cannot be examined", GetLastError());
        return result;
    }
    // Never closed: Windows closes it when the process ends.
    CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    madeHere.push_back(identity);
    result.caution = whyNotAdminOnly(path);
    result.ready = true;
    return result;
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

} // namespace platform
