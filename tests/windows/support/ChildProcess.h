#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildOptions {
    std::wstring workingDirectory; // empty: the caller's
    std::wstring path;             // empty: the caller's PATH
    unsigned timeoutMs = 30000;
    // Run the child under this process as its debugger, to receive what it
    // sends to the debugger output (OutputDebugString) and its DLL loads.
    bool debug = false;
    // Called while the child is stopped at each debugger message.
    std::function<void(const std::string&)> onDebugMessage;
};

struct ChildRun {
    bool started = false;
    bool timedOut = false;
    unsigned long exitCode = 0;
    std::string standardOutput; // standard output and standard error
    std::vector<std::string> debugMessages;
    std::vector<std::wstring> loadedDlls; // full paths, in load order
    double elapsedMs = 0;                 // start to exit

    bool debugMessageSeen(const std::string& message) const;
    bool dllLoaded(const std::wstring& fileName) const;
};

// Starts a program, waits for it (bounded by the time-out; a child that
// overruns is killed) and reports what it did.
ChildRun runChild(const std::wstring& executable, const std::vector<std::wstring>& arguments,
                  const ChildOptions& options = ChildOptions());
