#pragma once

#include <windows.h>

// The two events of the hub maker's driver installer.
inline const wchar_t* const InstallerRequestEvent = L"Global\\TvxUpxEvent";
inline const wchar_t* const InstallerCompletionEvent = L"Global\\CompleteEvent";

// An auto-reset, unsignalled event that everyone may open, made (or opened)
// as the installer makes it. Null on failure.
HANDLE createInstallerEvent(const wchar_t* name);

// Whether the event's security descriptor has a present but null DACL (full
// access for everyone). Sets known to false when it cannot be read.
bool hasNullDacl(HANDLE event, bool& known);
