// The elevated program's download folder, AutoUpdate in its program folder,
// and the files it writes in the user's temporary folder. Whether a program
// folder is protected is decided on its security descriptor: the rows are
// built in the test from SDDL, as Windows gives them, since Wine keeps no
// access lists (every file reads back as the Unix user's). Below the
// download folder no reparse point is followed and a delete removes only a
// plain file; a file written in the temporary folder is used only when it is
// a plain file with one name lying where its name says.
#include "platform/windows/WindowsPrivateFolder.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
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

void judgement(TestReport& report) {
    struct Row {
        const char* name;
        const wchar_t* sddl;
        const char* why; // part of the reason; empty: the program's own
    };
    const std::wstring user = userSid();
    const std::wstring trustedInstaller =
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    // A folder the MSI made below Program Files (x86), rights inherited.
    const std::wstring installed =
        L"O:BAD:AI(A;ID;FA;;;" + trustedInstaller + L")(A;CIIOID;GA;;;" + trustedInstaller +
        L")(A;ID;0x1301bf;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;0x1301bf;;;BA)(A;OICIIOID;GA;;;BA)"
        L"(A;ID;0x1200a9;;;BU)(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)(A;ID;0x1200a9;;;AC)"
        L"(A;OICIIOID;GXGR;;;AC)";
    const std::wstring ownedByInstaller =
        L"O:" + trustedInstaller + L"D:P(A;OICI;FA;;;" + trustedInstaller + L")(A;OICI;FA;;;SY)";
    // Panelup.zip unpacked into the user's Downloads, rights inherited from
    // the profile.
    const std::wstring downloads = L"O:" + user + L"D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)" +
                                   L"(A;OICIID;FA;;;" + user + L")";
    const std::wstring ownedByUser = L"O:" + user + L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    const std::wstring userMayWrite =
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x12019f;;;" + user + L")";
    const Row rows[] = {
        {"installed below Program Files", installed.c_str(), ""},
        {"owned by TrustedInstaller", ownedByInstaller.c_str(), ""},
        {"owned by SYSTEM", L"O:SYD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", ""},
        {"others may only read", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)",
         ""},
        {"a denying entry", L"O:BAD:P(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)", ""},
        {"creator owner of what administrators make", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)",
         ""},
        {"unzipped into Downloads", downloads.c_str(), "belongs to S-1-5-"},
        {"owned by the user", ownedByUser.c_str(), "belongs to S-1-5-"},
        {"the user may write", userMayWrite.c_str(), "may change it"},
        {"Users may write", L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FA;;;BU)",
         "S-1-5-32-545 may change it"},
        {"Everyone may add files", L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x2;;;WD)",
         "S-1-1-0 may change it"},
        {"Authenticated Users may modify", L"O:BAD:(A;OICI;FA;;;BA)(A;OICIID;0x1301bf;;;AU)",
         "S-1-5-11 may change it"},
        {"Authenticated Users may delete", L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x10000;;;AU)",
         "S-1-5-11 may change it"},
        {"inherit-only write for Everyone",
         L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;FA;;;WD)", "S-1-1-0 may change it"},
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

// A folder as this system reads it back: Wine reports every folder as the
// Unix user's, open to that user, so the program's check tells the user to
// install with the MSI there, as Windows does for a folder in the profile.
void realFolderJudged(TestReport& report) {
    World world;
    const std::string why = platform::whyNotAdminOnly(world.root);
    report.check(!why.empty(), "a folder in the user's temporary folder: not protected", why);
    report.check(!platform::whyNotAdminOnly(world.victim).empty(), "a file is not a folder");
}

void freshFolder(TestReport& report) {
    World world;
    std::string refusal;
    report.check(platform::makeFoldersBelow(world.root, L"AutoUpdate", refusal),
                 "a missing download folder is made", refusal);
    report.check(platform::makeFoldersBelow(world.root, L"AutoUpdate", refusal),
                 "the next start uses it as it is", refusal);
    report.check(platform::makeFoldersBelow(world.download, L"Tools/Win", refusal),
                 "entry folders are made below it", refusal);
    report.check(exists(world.download + L"\\Tools\\Win"), "the entry folder exists");
}

// A link at AutoUpdate (where only the program folder's rights could have
// put one): refused, and its target neither written nor emptied.
void linkAtDownloadFolder(TestReport& report, const std::string& name, World& world) {
    std::string refusal;
    report.check(!platform::makeFoldersBelow(world.root, L"AutoUpdate", refusal) &&
                     refusal.find("reparse point") != std::string::npos,
                 name + ": refused as a link", refusal);
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
    std::string made;
    report.check(platform::makeFoldersBelow(world.root, L"AutoUpdate", made), "plain files: ready",
                 made);
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

std::string writeThrough(void* handle, const std::string& text) {
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
    return std::string(text, 0, written);
}

// The trace log and the EDID backup in the user's temporary folder.
void ownFiles(TestReport& report) {
    World world;
    std::string refusal;
    const std::wstring log = world.root + L"\\Panelup_log.txt";
    writeFile(log, "last run");
    void* handle = platform::openOwnFileForWriting(world.root, L"Panelup_log.txt", false, refusal);
    report.check(handle != nullptr, "an earlier file is opened to be appended to", refusal);
    if (handle) {
        writeThrough(handle, "+more");
    }
    report.equal(readFile(log), std::string("last run+more"), "and nothing in it is emptied");
    handle = platform::openOwnFileForWriting(world.root + L"\\", L"Panelup_log.txt", true, refusal);
    report.check(handle != nullptr, "opened to be emptied once it proved a plain file of its own",
                 refusal);
    if (handle) {
        writeThrough(handle, "new run");
    }
    report.equal(readFile(log), std::string("new run"), "emptied, and written from its start");
    handle =
        platform::openOwnFileForWriting(world.root, L"Panelup_edid_backup.txt", false, refusal);
    report.check(handle != nullptr && exists(world.root + L"\\Panelup_edid_backup.txt"),
                 "a missing file is made", refusal);
    if (handle) {
        CloseHandle(handle);
    }
    CreateDirectoryW((world.root + L"\\Folder.txt").c_str(), nullptr);
    report.check(platform::openOwnFileForWriting(world.root, L"Folder.txt", true, refusal) ==
                     nullptr,
                 "a folder in its place is refused", refusal);
    const std::wstring hard = world.root + L"\\Hard.txt";
    report.check(CreateHardLinkW(hard.c_str(), world.victim.c_str(), nullptr) != 0,
                 "a hard link to a victim file is made");
    report.check(platform::openOwnFileForWriting(world.root, L"Hard.txt", true, refusal) == nullptr,
                 "a hard link is refused", refusal);
    report.equal(readFile(world.victim), std::string("victim"), "the victim is unchanged");
}

// Links laid out by PlantLinks.sh, as the user's programs make them in the
// temporary folder (Wine shows a Unix symbolic link as a reparse point and
// opens what it leads to; Windows opens the link itself).
void plantedOwnFiles(TestReport& report, const std::wstring& planted) {
    const struct {
        const char* name;
        const wchar_t* folder;
        const wchar_t* file;
    } rows[] = {
        {"Panelup_log.txt a symbolic link to a victim", L"logs", L"Panelup_log.txt"},
        {"the temporary folder a link, its Panelup_log.txt one to a victim", L"templink",
         L"Panelup_log.txt"},
        {"Panelup_log.txt a hard link to a victim", L"hard", L"Panelup_log.txt"},
    };
    World world(planted, L"top");
    for (const auto& row : rows) {
        std::string refusal;
        for (const bool empty : {false, true}) {
            void* handle = platform::openOwnFileForWriting(planted + L"\\" + row.folder, row.file,
                                                           empty, refusal);
            report.check(handle == nullptr,
                         std::string(row.name) + (empty ? ": not emptied" : ": not appended to"),
                         refusal);
            if (handle) {
                CloseHandle(handle);
            }
        }
        report.check(world.elsewhereUntouched(), std::string(row.name) + ": the victim unchanged");
    }
    std::string refusal;
    void* handle =
        platform::openOwnFileForWriting(planted + L"\\templink", L"Fresh.txt", true, refusal);
    report.check(handle != nullptr, "a temporary folder that is a link is used as it resolves",
                 refusal);
    if (handle) {
        CloseHandle(handle);
    }
    report.check(exists(planted + L"\\tempreal\\Fresh.txt"), "the file lies in its target");
}

} // namespace

// windows_download_folder [<folder laid out by PlantLinks.sh>]
int main(int argc, char** argv) {
    TestReport report("download folder");
    judgement(report);
    realFolderJudged(report);
    freshFolder(report);
    linksThroughTheApi(report);
    if (argc > 1) {
        plantedLinks(report, widen(argv[1]));
        plantedOwnFiles(report, widen(argv[1]));
    }
    plainFiles(report);
    ownFiles(report);
    return report.finish();
}
