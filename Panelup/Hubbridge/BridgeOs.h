#pragma once

// The few operating-system calls the bridge makes, so the bridge logic stays
// one portable source. Exactly one implementation is compiled per system.

#include <string>

namespace hubbridge::os {

using LibraryHandle = void*;
using Symbol = void (*)();

struct LibraryLoad {
    LibraryHandle handle = nullptr;
    std::string path;  // what was asked for, for the load message
    std::string error; // the system's error report (a number on Windows)
};

// The vendor library's file name on this system.
const char* vendorLibraryFileName();

// Loads the vendor library from the folder of the process's executable, and
// from nowhere else: a copy found on a search path could be anyone's.
LibraryLoad loadLibraryBesideExecutable(const char* fileName);
Symbol findSymbol(LibraryHandle library, const char* name);
void freeLibrary(LibraryHandle library);

// The debugger's output channel (standard error where there is no debugger
// channel).
void debugOutput(const char* text);

// The hub maker's driver installer exists only on Windows; elsewhere the
// event calls below are never made.
bool driverInstallerExists();

using EventHandle = void*;
enum class WaitResult { Signalled, TimedOut, Failed };

// An auto-reset, unsignalled event in the global namespace that every user
// may open; an existing event of that name is opened. Null on failure.
EventHandle createGlobalEvent(const char* name);
bool setEvent(EventHandle event);
WaitResult waitForEvent(EventHandle event, unsigned milliseconds);
unsigned long lastErrorCode();

} // namespace hubbridge::os
