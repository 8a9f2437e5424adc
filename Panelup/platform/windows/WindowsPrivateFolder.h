#pragma once

#include <string>

namespace platform {

// The elevated program keeps what it downloads in its own folder, which the
// installer puts where only administrators may change anything. The
// program cannot make a folder the user may change safe; it checks that its
// folder is not one, and below it follows no junction or symbolic link.

// Why a security descriptor (owner and DACL) lets anyone but Administrators,
// SYSTEM and TrustedInstaller change the folder or what is made in it; empty
// when it does not.
std::string whyDescriptorNotAdminOnly(void* descriptor);

// The same for the folder at path, its descriptor read from a handle to the
// folder itself; a reparse point or a file is refused as such.
std::string whyNotAdminOnly(const std::wstring& path);

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

// Opens name in folder (a folder the user may change, such as the temporary
// one) for writing: created where missing, never followed through a link nor
// emptied on opening. Then checked by handle: a plain file with one name,
// whose final path is name in folder as it resolves now. Only then emptied
// (empty) or wound to its end. A Win32 HANDLE, or nullptr with the reason.
void* openOwnFileForWriting(const std::wstring& folder, const std::wstring& name, bool empty,
                            std::string& refusal);

} // namespace platform
