#pragma once

#include <string>

namespace platform {

// The elevated program downloads into a folder in the user's temporary
// folder, where every program of that user may create, replace or link
// anything. So the folder is made the program's own: only Administrators and
// SYSTEM may change it, and nothing in it is followed through a junction or
// symbolic link.

struct AdminOnlyFolder {
    bool ready = false;       // the folder may be used
    std::wstring movedAside;  // where an unusable folder or link was moved, if one was
    std::string movedBecause; // what was wrong with it
    std::string refusal;      // why the folder cannot be used, when not ready
    std::string caution;      // a folder just made whose rights read back otherwise
};

// Makes sure path is a folder that only Administrators and SYSTEM may
// change. A missing one is created with a protected DACL granting them full
// control and nobody anything. An existing one that is a reparse point
// (junction, symbolic link, mount point), not a folder, owned by anyone else
// or changeable by anyone else is renamed aside, the link or folder itself,
// never followed, written into or emptied, and made afresh. The folder made
// is used for the rest of the run as long as it is the same folder, also
// where its rights do not read back as made (a file system or a Windows
// stand-in that keeps no access lists: then every start moves the last
// one aside).
AdminOnlyFolder prepareAdminOnlyFolder(const std::wstring& path);

// Why path is not such a folder; empty when it is.
std::string whyNotAdminOnly(const std::wstring& path);

// Why a security descriptor (owner and DACL) lets anyone but Administrators
// and SYSTEM change a folder or what is made in it; empty when it does not.
std::string whyDescriptorNotAdminOnly(void* descriptor);

// The rights a download folder is made with, in SDDL.
const wchar_t* adminOnlyFolderSddl();

// Creates the folders of relative (separated by / or \) below root where
// they are missing; they inherit root's rights. False, with the reason, when
// one that exists is a reparse point or not a folder.
bool makeFoldersBelow(const std::wstring& root, const std::wstring& relative, std::string& refusal);

// True when path itself (not what it leads to) is a reparse point.
bool isReparsePoint(const std::wstring& path);

// Opens path for reading when it is a file and no reparse point, as a
// Win32 HANDLE; nullptr otherwise.
void* openPlainFileForReading(const std::wstring& path);

// Deletes path when it is a file and no reparse point: the very file that
// was opened and examined is deleted, whatever replaces the name meanwhile.
bool deletePlainFile(const std::wstring& path);

} // namespace platform
