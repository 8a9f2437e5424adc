// Panelup.exe is a GUI-subsystem program: Windows gives it no console. With
// /s, /? or a usage error, started from a console program (cmd, PowerShell,
// this test), it attaches to that console and writes its text there; its
// exit code reaches the parent as it would reach "start /wait". Output the
// parent redirected goes where it was redirected.
//   windows_parent_console <program folder>
// The test makes a console of its own (as cmd has one), starts the program
// in it as cmd starts a GUI program (no handles handed over), waits for it
// and reads its own console's screen buffer. A box would keep the program
// running: the exit code within the time-out shows that none appeared.
//
// What Wine cannot show: Wine attaches a GUI program started from a console
// program to that console by itself (its AttachConsole then answers
// ERROR_ACCESS_DENIED, "attached already", and the standard handles come
// handed over), so the road Windows takes (no console until
// AttachConsole(ATTACH_PARENT_PROCESS), then CONOUT$ re-opened) runs only on
// Windows; nor that the text lands in the very cmd.exe or PowerShell window
// a user types in (Wine's conhost stands in for it, and needs a display to
// answer ReadConsoleOutputCharacter: ctest runs on Xvfb), nor cmd's own rule
// of not waiting for a GUI program without "start /wait".
#include "support/ChildProcess.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Started {
    bool started = false;
    DWORD exitCode = STILL_ACTIVE;
};

// Started as cmd starts a GUI program: no standard handles handed over, the
// parent's console there to attach to.
Started startInConsole(const std::wstring& executable, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + executable + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    Started result;
    result.started = CreateProcessW(executable.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                    nullptr, nullptr, &startup, &process) != 0;
    if (!result.started) {
        return result;
    }
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &result.exitCode);
    } else {
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

HANDLE consoleOutput() {
    return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// The console's screen buffer as text, one line per row, blanks trimmed.
std::string screenText() {
    const HANDLE screen = consoleOutput();
    std::string text;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) {
        if (screen != INVALID_HANDLE_VALUE) {
            CloseHandle(screen);
        }
        return text;
    }
    const SHORT width = info.dwSize.X;
    std::vector<wchar_t> row(static_cast<size_t>(width));
    for (SHORT y = 0; y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        if (!ReadConsoleOutputCharacterW(screen, row.data(), static_cast<DWORD>(width), COORD{0, y},
                                         &read)) {
            break;
        }
        std::wstring line(row.data(), read);
        while (!line.empty() && (line.back() == L' ' || line.back() == L'\0')) {
            line.pop_back();
        }
        text += narrow(line) + "\n";
    }
    CloseHandle(screen);
    return text;
}

// Empties the screen buffer between the cases.
void clearScreen() {
    const HANDLE screen = consoleOutput();
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (screen != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(screen, &info)) {
        DWORD written = 0;
        FillConsoleOutputCharacterW(screen, L' ', static_cast<DWORD>(info.dwSize.X) * info.dwSize.Y,
                                    COORD{0, 0}, &written);
        SetConsoleCursorPosition(screen, COORD{0, 0});
    }
    if (screen != INVALID_HANDLE_VALUE) {
        CloseHandle(screen);
    }
}

struct Case {
    const char* name;
    std::wstring arguments;
    DWORD code;
    std::vector<std::string> said; // each on the console
};

} // namespace

int main(int argc, char** argv) {
    TestReport report("Panelup.exe on its parent's console");
    if (argc != 2) {
        std::printf("usage: windows_parent_console <program folder>\n");
        return 2;
    }
    const std::wstring executable = widen(argv[1]) + L"\\Panelup.exe";

    // Redirected output first, while this test's own handles are the ones
    // ctest reads: a deployment tool that reads the program's output gets it.
    const ChildRun redirected = runChild(executable, {L"/?"});
    report.check(redirected.started && !redirected.timedOut && redirected.exitCode == 0,
                 "/? with its output redirected ends with 0", std::to_string(redirected.exitCode));
    report.check(contains(redirected.standardOutput, "Exit codes:") &&
                     contains(redirected.standardOutput, "64  usage error"),
                 "the usage text goes where the parent redirected it",
                 redirected.standardOutput.substr(0, 300));
    const ChildRun redirectedError = runChild(executable, {L"/s", L"/bogus"});
    report.check(redirectedError.exitCode == 64 &&
                     contains(redirectedError.standardOutput, "unknown argument \"/bogus\"") &&
                     contains(redirectedError.standardOutput, "result=64 usage-error"),
                 "/s with a wrong switch says why and result=64 where redirected",
                 redirectedError.standardOutput.substr(0, 300));

    // A console of this test's own, its standard handles, as cmd has them.
    // This test's report still goes where ctest reads it: the C runtime
    // took its handles at start.
    FreeConsole();
    const bool made = AllocConsole() != 0;
    if (!report.check(made && consoleOutput() != INVALID_HANDLE_VALUE,
                      "a console is made for the cases", std::to_string(GetLastError()))) {
        return report.finish();
    }

    const std::vector<Case> cases = {
        {"/?", L"/?", 0, {"Exit codes:", "64  usage error", "9   an LM0530"}},
        {"/s /? with /l", L"/s /? /l=C:\\nowhere\\panelup.log", 0, {"Exit codes:"}},
        {"a wrong switch", L"/x", 64, {"unknown argument \"/x\"", "Exit codes:"}},
        {"/s with a wrong switch",
         L"/s /bogus",
         64,
         {"unknown argument \"/bogus\"", "result=64 usage-error"}},
        {"/s with a /l that cannot be opened",
         L"/s \"/l=Z:\\nonexistent folder\\panelup.log\"",
         64,
         {"the result log cannot be opened", "result=64 usage-error"}},
    };
    for (const Case& c : cases) {
        clearScreen();
        const Started run = startInConsole(executable, c.arguments);
        const std::string screen = screenText();
        report.check(run.started, std::string(c.name) + ": the program starts");
        report.equal(run.exitCode, c.code,
                     std::string(c.name) + ": its exit code reaches the parent (no box waits)");
        for (const std::string& said : c.said) {
            report.check(contains(screen, said),
                         std::string(c.name) + ": the parent's console shows \"" + said + "\"",
                         screen.substr(0, 600));
        }
    }
    FreeConsole();
    return report.finish();
}
