#include "ChildProcess.h"

#include "WinText.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwctype>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The quoting that the C runtime's argument parser undoes.
void appendQuoted(std::wstring& line, const std::wstring& argument) {
    line.push_back(L'"');
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, L'\\');
    line.push_back(L'"');
}

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

std::wstring pathOfHandle(HANDLE file) {
    if (!file) {
        return {};
    }
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 4, 0);
    if (length == 0 || length >= MAX_PATH * 4) {
        return {};
    }
    std::wstring path(buffer, length);
    const std::wstring prefix = L"\\\\?\\";
    if (path.compare(0, prefix.size(), prefix) == 0) {
        path.erase(0, prefix.size());
    }
    return path;
}

std::string readDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const size_t units = info.nDebugStringLength;
    if (units == 0) {
        return {};
    }
    if (info.fUnicode) {
        std::wstring text(units, L'\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, info.lpDebugStringData, &text[0], units * sizeof(wchar_t),
                          &read);
        text.resize(read / sizeof(wchar_t));
        text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
        return narrow(text);
    }
    std::string text(units, '\0');
    SIZE_T read = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &text[0], units, &read);
    text.resize(read);
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
}

// Takes the debug events of the child until it exits or the time is up.
void debugUntilExit(const PROCESS_INFORMATION& process, const ChildOptions& options,
                    Clock::time_point start, ChildRun& run) {
    const auto deadline = start + std::chrono::milliseconds(options.timeoutMs);
    // After a kill, a few more seconds to collect the exit.
    auto finalDeadline = deadline + std::chrono::seconds(5);
    bool exited = false;
    while (!exited) {
        const auto now = Clock::now();
        if (now >= deadline && !run.timedOut) {
            run.timedOut = true;
            TerminateProcess(process.hProcess, 255);
        }
        if (now >= finalDeadline) {
            DebugActiveProcessStop(process.dwProcessId);
            return;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            (run.timedOut ? finalDeadline : deadline) - now);
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, static_cast<DWORD>(std::max<long long>(1, left.count())))) {
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) {
                CloseHandle(event.u.CreateProcessInfo.hFile);
            }
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) {
                const std::wstring path = pathOfHandle(event.u.LoadDll.hFile);
                if (!path.empty()) {
                    run.loadedDlls.push_back(path);
                }
                CloseHandle(event.u.LoadDll.hFile);
            }
            break;
        case OUTPUT_DEBUG_STRING_EVENT: {
            const std::string message = readDebugString(process.hProcess, event.u.DebugString);
            run.debugMessages.push_back(message);
            if (options.onDebugMessage) {
                options.onDebugMessage(message);
            }
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint is ours to swallow; everything else
            // goes back to the child's own handlers.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            run.exitCode = event.u.ExitProcess.dwExitCode;
            run.elapsedMs = millisecondsSince(start);
            exited = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
}

void waitUntilExit(const PROCESS_INFORMATION& process, const ChildOptions& options,
                   Clock::time_point start, ChildRun& run) {
    if (WaitForSingleObject(process.hProcess, options.timeoutMs) != WAIT_OBJECT_0) {
        run.timedOut = true;
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, 5000);
    }
    run.elapsedMs = millisecondsSince(start);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exitCode = code;
}

HANDLE createOutputFile() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"pnl", 0, name)) {
        return INVALID_HANDLE_VALUE;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(
        name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string readWholeFile(HANDLE file) {
    std::string text;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

} // namespace

bool ChildRun::debugMessageSeen(const std::string& message) const {
    return std::find(debugMessages.begin(), debugMessages.end(), message) != debugMessages.end();
}

bool ChildRun::dllLoaded(const std::wstring& fileName) const {
    const std::wstring wanted = L"\\" + lower(fileName);
    return std::any_of(loadedDlls.begin(), loadedDlls.end(), [&](const std::wstring& path) {
        const std::wstring name = lower(path);
        return name.size() >= wanted.size() &&
               name.compare(name.size() - wanted.size(), wanted.size(), wanted) == 0;
    });
}

ChildRun runChild(const std::wstring& executable, const std::vector<std::wstring>& arguments,
                  const ChildOptions& options) {
    ChildRun run;
    std::wstring commandLine;
    appendQuoted(commandLine, executable);
    for (const std::wstring& argument : arguments) {
        commandLine.push_back(L' ');
        appendQuoted(commandLine, argument);
    }

    const HANDLE output = createOutputFile();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (output != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }

    // The child inherits PATH from this process; set it just for the start.
    std::wstring savedPath;
    const bool replacePath = !options.path.empty();
    if (replacePath) {
        std::vector<wchar_t> buffer(32768);
        const DWORD length =
            GetEnvironmentVariableW(L"PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
        savedPath.assign(buffer.data(), length);
        SetEnvironmentVariableW(L"PATH", options.path.c_str());
    }

    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    run.started = CreateProcessW(
                      executable.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                      options.debug ? DEBUG_ONLY_THIS_PROCESS : 0, nullptr,
                      options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                      &startup, &process) != FALSE;
    if (replacePath) {
        SetEnvironmentVariableW(L"PATH", savedPath.c_str());
    }
    if (!run.started) {
        if (output != INVALID_HANDLE_VALUE) {
            CloseHandle(output);
        }
        return run;
    }

    if (options.debug) {
        debugUntilExit(process, options, start, run);
    } else {
        waitUntilExit(process, options, start, run);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (output != INVALID_HANDLE_VALUE) {
        run.standardOutput = readWholeFile(output);
        CloseHandle(output);
    }
    return run;
}
