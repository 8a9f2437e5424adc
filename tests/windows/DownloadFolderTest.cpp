// The elevated program's download folder in the user's temporary folder:
// made for Administrators and SYSTEM alone; a folder made the old way (with
// the user's rights), a file, a junction or a symbolic link in its place is
// moved aside, the link or folder itself, and nothing it leads to is written,
// followed or emptied; below it no reparse point is followed and a delete
// removes only a plain file.
#include "platform/windows/WindowsPrivateFolder.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::wstring tempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring folder(buffer, length);
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

bool writeFile(const std::wstring& path, const std::string& content) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    CloseHandle(file);
    return ok;
}

std::string readFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> entriesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// What lies beside the download folder under its moved-aside names.
std::vector<std::wstring> movedAside(const std::wstring& parent) {
    std::vector<std::wstring> names;
    for (const std::wstring& name : entriesOf(parent)) {
        if (name.rfind(L"AutoUpdate.moved-", 0) == 0) {
            names.push_back(parent + L"\\" + name);
        }
    }
    return names;
}

void removeTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const std::wstring& name : entriesOf(path)) {
            removeTree(path + L"\\" + name);
        }
        RemoveDirectoryW(path.c_str());
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str()); // the link, not its target
    } else {
        DeleteFileW(path.c_str());
    }
}

bool createWithDescriptor(const std::wstring& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    const bool made = CreateDirectoryW(path.c_str(), &attributes) != 0;
    LocalFree(descriptor);
    return made;
}

// The folder's owner and access list in SDDL, read independently of the
// code under test.
std::string descriptorText(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return "<unreadable>";
    }
    LPWSTR text = nullptr;
    std::string result = "<unconvertible>";
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            &text, nullptr)) {
        result = narrow(text);
        LocalFree(text);
    }
    LocalFree(descriptor);
    return result;
}

// A junction (mount point) at link leading to target, through
// FSCTL_SET_REPARSE_POINT as the user's programs would make it.
bool makeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) {
        return false;
    }
    const HANDLE handle =
        CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(link.c_str());
        return false;
    }
    const std::wstring substitute = L"\\??\\" + target;
    const WORD substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const WORD printBytes = static_cast<WORD>(target.size() * sizeof(wchar_t));
    // Tag, data length, reserved; then the mount point's four offsets and
    // lengths and both names, each with its terminating null.
    const size_t pathBytes = substituteBytes + sizeof(wchar_t) + printBytes + sizeof(wchar_t);
    const WORD dataLength = static_cast<WORD>(4 * sizeof(WORD) + pathBytes);
    std::vector<char> buffer(8 + dataLength, 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD fields[] = {
        dataLength, 0, 0, substituteBytes, static_cast<WORD>(substituteBytes + sizeof(wchar_t)),
        printBytes};
    std::memcpy(&buffer[0], &tag, sizeof(tag));
    std::memcpy(&buffer[4], fields, sizeof(fields));
    std::memcpy(&buffer[16], substitute.c_str(), substituteBytes);
    std::memcpy(&buffer[16 + substituteBytes + sizeof(wchar_t)], target.c_str(), printBytes);
    DWORD returned = 0;
    const bool ok =
        DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) != 0;
    CloseHandle(handle);
    if (!ok) {
        RemoveDirectoryW(link.c_str());
    }
    return ok && platform::isReparsePoint(link);
}

bool makeSymbolicLink(const std::wstring& link, const std::wstring& target, bool folder) {
    const DWORD flags = (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) |
                        0x2; // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    return CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) &&
           platform::isReparsePoint(link);
}

// This process's user, as an unelevated program of the same user is.
std::wstring userSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return L"";
    }
    char buffer[256];
    DWORD length = 0;
    std::wstring result;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &length)) {
        LPWSTR text = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
            result = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return result;
}

enum class LinkKind { Junction, FolderSymlink };

const char* nameOf(LinkKind kind) {
    return kind == LinkKind::Junction ? "junction" : "symbolic link";
}

// Through the Windows API, as the user's programs would make them; the
// error when this system cannot.
bool makeLink(LinkKind kind, const std::wstring& link, const std::wstring& target,
              std::string& why) {
    const bool made = kind == LinkKind::Junction ? makeJunction(link, target)
                                                 : makeSymbolicLink(link, target, true);
    if (!made) {
        why = std::string("this system cannot make a ") + nameOf(kind) +
              " through the Windows API (error " + std::to_string(GetLastError()) + ")";
    }
    return made;
}

// A temporary folder of the user's with a folder of the user's beside the
// download folder, which links lead to.
struct World {
    std::wstring root;      // stands in for the user's temporary folder
    std::wstring download;  // root\AutoUpdate
    std::wstring elsewhere; // what the links lead to
    std::wstring victim;    // a file there
    bool own = true;

    World() {
        // A root of its own each: a folder made earlier must not pass for
        // the one made now.
        static int worlds = 0;
        root = tempFolder() + L"\\download-folder-" + std::to_wstring(GetCurrentProcessId()) +
               L"-" + std::to_wstring(++worlds);
        removeTree(root);
        CreateDirectoryW(root.c_str(), nullptr);
        elsewhere = root + L"\\elsewhere";
        CreateDirectoryW(elsewhere.c_str(), nullptr);
        victim = elsewhere + L"\\victim.bin";
        writeFile(victim, "victim");
        writeFile(elsewhere + L"\\left.bin", "left");
        download = root + L"\\AutoUpdate";
    }
    // One laid out by PlantLinks.sh: <planted>\<root> beside <planted>\elsewhere.
    World(const std::wstring& planted, const std::wstring& name) : own(false) {
        root = planted + L"\\" + name;
        download = root + L"\\AutoUpdate";
        elsewhere = planted + L"\\elsewhere";
        victim = elsewhere + L"\\victim.bin";
    }
    ~World() {
        if (own) {
            removeTree(root);
        }
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    bool elsewhereUntouched() const {
        std::vector<std::wstring> names = entriesOf(elsewhere);
        return names.size() == 2 && readFile(victim) == "victim" &&
               readFile(elsewhere + L"\\left.bin") == "left";
    }
};

// Whether this system keeps the security descriptor a folder is made with
// (Wine keeps none: every file reads back as the Unix user's, with rights
// made from its mode).
bool keepsDescriptors() {
    World world;
    const std::wstring probe = world.root + L"\\probe";
    return createWithDescriptor(probe, L"O:BAD:P(A;;FA;;;BA)") &&
           descriptorText(probe).rfind("O:BAD:P", 0) == 0;
}

void judgement(TestReport& report) {
    struct Row {
        const char* name;
        const wchar_t* sddl;
        const char* why; // part of the reason; empty: the program's own
    };
    const std::wstring user = userSid();
    const std::wstring ownedByUser = L"O:" + user + L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    const std::wstring userMayWrite =
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x12019f;;;" + user + L")";
    const Row rows[] = {
        {"made for Administrators and SYSTEM", platform::adminOnlyFolderSddl(), ""},
        {"owned by SYSTEM", L"O:SYD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", ""},
        {"others may only read", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)",
         ""},
        {"a denying entry", L"O:BAD:P(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)", ""},
        {"owned by the user", ownedByUser.c_str(), "belongs to S-1-5-"},
        {"the user may write", userMayWrite.c_str(), "may change it"},
        {"Users may write", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FA;;;BU)",
         "S-1-5-32-545 may change it"},
        {"Everyone may add files", L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x2;;;WD)",
         "S-1-1-0 may change it"},
        {"Authenticated Users may delete", L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x10000;;;AU)",
         "S-1-5-11 may change it"},
        {"inherit-only write for Everyone",
         L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;FA;;;WD)", "S-1-1-0 may change it"},
        {"creator owner may write", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)",
         "S-1-3-0 may change it"},
        {"rights inherited from above", L"O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)",
         "inherited from the folder above"},
        {"no access list", L"O:BA", "no access list"},
    };
    for (const Row& row : rows) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!report.check(ConvertStringSecurityDescriptorToSecurityDescriptorW(
                              row.sddl, SDDL_REVISION_1, &descriptor, nullptr) != 0,
                          std::string(row.name) + ": descriptor made")) {
            continue;
        }
        const std::string why = platform::whyDescriptorNotAdminOnly(descriptor);
        LocalFree(descriptor);
        if (*row.why == '\0') {
            report.equal(why, std::string(), std::string(row.name) + ": the program's own");
        } else {
            report.check(why.find(row.why) != std::string::npos,
                         std::string(row.name) + ": refused", why);
        }
    }
}

void freshFolder(TestReport& report, bool descriptorsKept) {
    World world;
    const platform::AdminOnlyFolder folder = platform::prepareAdminOnlyFolder(world.download);
    report.check(folder.ready, "a missing folder is made", folder.refusal);
    report.check(folder.movedAside.empty(), "nothing is moved aside when it was missing");
    if (descriptorsKept) {
        const std::string made = descriptorText(world.download);
        report.check(made.rfind("O:BAD:P", 0) == 0 &&
                         platform::whyNotAdminOnly(world.download).empty(),
                     "owned by Administrators, full control for them and SYSTEM only", made);
        report.check(folder.caution.empty(), "its rights read back as made", folder.caution);
    } else {
        report.skip("owned by Administrators, full control for them and SYSTEM only",
                    "this system keeps no security descriptors (Wine reads back " +
                        descriptorText(world.download) + ")");
    }
    const platform::AdminOnlyFolder again = platform::prepareAdminOnlyFolder(world.download);
    report.check(again.ready && again.movedAside.empty(), "the next prepare uses it as it is");
    std::string refusal;
    report.check(platform::makeFoldersBelow(world.download, L"Tools/Win", refusal),
                 "entry folders are made below it", refusal);
    report.check(exists(world.download + L"\\Tools\\Win"), "the entry folder exists");
    if (descriptorsKept) {
        report.check(platform::whyNotAdminOnly(world.download + L"\\Tools\\Win").empty(),
                     "an entry folder inherits the program's own rights",
                     descriptorText(world.download + L"\\Tools\\Win"));
    }
}

// Folders an unelevated program of the user may have made or changed, or
// a file in the folder's place: moved aside whole, and a fresh one made.
void unusableFolderMovedAside(TestReport& report, const std::string& name,
                              const std::function<bool(const World&)>& plant) {
    World world;
    if (!report.check(plant(world), name + ": planted")) {
        return;
    }
    const platform::AdminOnlyFolder folder = platform::prepareAdminOnlyFolder(world.download);
    report.check(folder.ready, name + ": a fresh folder is made", folder.refusal);
    const std::vector<std::wstring> aside = movedAside(world.root);
    report.check(aside.size() == 1 && aside[0] == folder.movedAside,
                 name + ": the old one is moved aside");
    report.check(!folder.movedBecause.empty(), name + ": the reason is told", folder.movedBecause);
    if (aside.size() == 1) {
        const bool folderAside = GetFileAttributesW(aside[0].c_str()) & FILE_ATTRIBUTE_DIRECTORY;
        report.equal(readFile(folderAside ? aside[0] + L"\\left.bin" : aside[0]),
                     std::string("left"), name + ": what it held is kept, not emptied");
    }
    report.check(entriesOf(world.download).empty(), name + ": the fresh one is empty");
    const platform::AdminOnlyFolder next = platform::prepareAdminOnlyFolder(world.download);
    report.check(next.ready && next.movedAside.empty() && movedAside(world.root).size() == 1,
                 name + ": the next prepare uses the fresh one");
}

bool plantWithLeftover(const World& world, const wchar_t* sddl) {
    const bool made = sddl ? createWithDescriptor(world.download, sddl)
                           : CreateDirectoryW(world.download.c_str(), nullptr) != 0;
    return made && writeFile(world.download + L"\\left.bin", "left");
}

// A link at AutoUpdate: the link itself is moved aside, or, where the
// system cannot move a link without moving what it leads to (Wine), the
// folder is refused; either way its target is neither written, moved nor
// emptied.
void linkAtDownloadFolder(TestReport& report, const std::string& name, World& world) {
    const platform::AdminOnlyFolder folder = platform::prepareAdminOnlyFolder(world.download);
    const std::vector<std::wstring> aside = movedAside(world.root);
    if (folder.ready) {
        report.check(!platform::isReparsePoint(world.download) && exists(world.download),
                     name + ": AutoUpdate is made afresh");
        report.check(aside.size() == 1 && platform::isReparsePoint(aside[0]),
                     name + ": the link itself is moved aside", folder.movedBecause);
    } else {
        std::printf("      (%s: %s)\n", name.c_str(), folder.refusal.c_str());
        report.check(folder.refusal.find("reparse point") != std::string::npos,
                     name + ": refused as a link", folder.refusal);
        report.check(aside.empty() && platform::isReparsePoint(world.download),
                     name + ": nothing is moved");
    }
    report.check(world.elsewhereUntouched(),
                 name + ": what it leads to is neither written, moved nor emptied");
}

// A link at an entry folder below AutoUpdate, or at the catalogue copy or a
// temporary file: not followed, not deleted through.
void linkBelowDownloadFolder(TestReport& report, const std::string& name, World& world) {
    std::string refusal;
    report.check(!platform::makeFoldersBelow(world.download, L"Scalar", refusal),
                 name + ": the entry folder is refused", refusal);
    report.check(!platform::makeFoldersBelow(world.download, L"Scalar/Deeper", refusal),
                 name + ": no folder is made through it", refusal);
    report.check(world.elsewhereUntouched(), name + ": nothing written or deleted behind it");
}

void linkedFile(TestReport& report, const std::string& name, const std::wstring& copy,
                World& world) {
    void* handle = platform::openPlainFileForReading(copy);
    report.check(handle == nullptr, name + ": not read");
    if (handle) {
        CloseHandle(handle);
    }
    report.check(!platform::deletePlainFile(copy), name + ": not deleted");
    report.check(platform::isReparsePoint(copy), name + ": told as a link");
    report.check(world.elsewhereUntouched(), name + ": the file it leads to stays");
}

void linksThroughTheApi(TestReport& report) {
    for (LinkKind kind : {LinkKind::Junction, LinkKind::FolderSymlink}) {
        const std::string name = std::string(nameOf(kind)) + " made through the API";
        std::string why;
        {
            World world;
            if (!makeLink(kind, world.download, world.elsewhere, why)) {
                report.skip(name + " at AutoUpdate", why);
            } else {
                linkAtDownloadFolder(report, name + " at AutoUpdate", world);
            }
        }
        World world;
        CreateDirectoryW(world.download.c_str(), nullptr);
        if (!makeLink(kind, world.download + L"\\Scalar", world.elsewhere, why)) {
            report.skip(name + " at an entry folder", why);
        } else {
            linkBelowDownloadFolder(report, name + " at an entry folder", world);
        }
    }
    World world;
    CreateDirectoryW(world.download.c_str(), nullptr);
    const std::wstring copy = world.download + L"\\LM0420.xml";
    if (!makeSymbolicLink(copy, world.victim, false)) {
        report.skip("symbolic link made through the API at the catalogue copy",
                    "this system cannot make a file symbolic link through the Windows API");
    } else {
        linkedFile(report, "symbolic link made through the API at the catalogue copy", copy, world);
    }
}

// Links to folders laid out beforehand by PlantLinks.sh, where the Windows
// API cannot make them (Wine shows a Unix symbolic link to a folder as a
// reparse point).
void plantedLinks(TestReport& report, const std::wstring& planted) {
    {
        World world(planted, L"top");
        linkAtDownloadFolder(report, "planted link at AutoUpdate", world);
    }
    // Wine shows a Unix link to a file as a plain file: the catalogue copy
    // and temporary file cases run only where the API makes such links.
    World world(planted, L"entry");
    linkBelowDownloadFolder(report, "planted link at an entry folder", world);
}

void plainFiles(TestReport& report) {
    World world;
    report.check(platform::prepareAdminOnlyFolder(world.download).ready, "plain files: ready");
    const std::wstring file = world.download + L"\\fw.bin";
    writeFile(file, "firmware");
    void* handle = platform::openPlainFileForReading(file);
    report.check(handle != nullptr, "a plain file is opened for reading");
    if (handle) {
        char buffer[16] = {};
        DWORD read = 0;
        ReadFile(handle, buffer, sizeof(buffer), &read, nullptr);
        report.equal(std::string(buffer, read), std::string("firmware"), "and reads as written");
        CloseHandle(handle);
    }
    report.check(platform::deletePlainFile(file) && !exists(file),
                 "a plain file the program wrote is deleted");
    report.check(!platform::deletePlainFile(file), "a missing one is not");
    std::string refusal;
    platform::makeFoldersBelow(world.download, L"Scalar", refusal);
    report.check(!platform::deletePlainFile(world.download + L"\\Scalar") &&
                     exists(world.download + L"\\Scalar"),
                 "a folder is not deleted");
    report.check(platform::openPlainFileForReading(world.download + L"\\Scalar") == nullptr,
                 "a folder is not opened as a file");
    writeFile(world.download + L"\\Hub", "file");
    report.check(!platform::makeFoldersBelow(world.download, L"Hub", refusal),
                 "a file where an entry folder belongs is refused", refusal);
}

} // namespace

// windows_download_folder [<folder laid out by PlantLinks.sh>]
int main(int argc, char** argv) {
    TestReport report("download folder");
    judgement(report);
    freshFolder(report, keepsDescriptors());

    unusableFolderMovedAside(report, "made the old way",
                             [](const World& world) { return plantWithLeftover(world, nullptr); });
    unusableFolderMovedAside(report, "Users may write", [](const World& world) {
        return plantWithLeftover(world, L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FA;;;BU)");
    });
    unusableFolderMovedAside(report, "owned by the user", [](const World& world) {
        const std::wstring sddl = L"O:" + userSid() + L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
        return plantWithLeftover(world, sddl.c_str());
    });
    unusableFolderMovedAside(report, "a file in its place",
                             [](const World& world) { return writeFile(world.download, "left"); });

    linksThroughTheApi(report);
    if (argc > 1) {
        plantedLinks(report, widen(argv[1]));
    }
    plainFiles(report);
    return report.finish();
}
