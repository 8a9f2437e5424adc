// The bridge's handshake with the hub maker's driver installer, seen from
// outside: a real process loads Hubbridge.dll through its import table
// while this test runs it as its debugger to receive the debugger output.
#include "support/ChildProcess.h"
#include "support/InstallerEvents.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <cstdio>
#include <string>

namespace {

const std::string waitMessage = "Wait for TvxUpx install complete failed.\n";
const std::string installFailedMessage = "Install TvxUpx for USB2I2C failed.\n";
const std::string loadedMessage = "Load TvxHubLib.dll success.\n";

enum class Installer {
    None,         // nobody answers
    Process,      // a process that waits for the request and answers it
    LeftSignalled // a completion signalled before the request was set
};

struct Row {
    const char* name;
    Installer installer;
    unsigned answerDelayMs;
    bool waitMessageExpected;
    bool installFailedExpected;
    double atLeastMs; // the waits are real time; 0: no lower bound
    double belowMs;   // loose: a process start under Wine takes its time too; 0: none
};

const Row rows[] = {
    {"no installer", Installer::None, 0, true, true, 2900, 0},
    {"installer answers at once", Installer::Process, 0, false, false, 0, 2900},
    {"installer answers after 2 s", Installer::Process, 2000, true, false, 1900, 0},
    {"completion left over from an earlier attach", Installer::LeftSignalled, 0, false, false, 0,
     2900},
};

struct RunningInstaller {
    bool started = false;
    HANDLE process = nullptr;
};

RunningInstaller startInstaller(unsigned answerDelayMs) {
    RunningInstaller installer;
    const std::wstring readyName =
        L"Local\\PanelupTestInstallerReady" + std::to_wstring(GetCurrentProcessId());
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    if (!ready) {
        return installer;
    }
    std::wstring commandLine = L"\"" + executableFolder() + L"\\fake_driver_installer.exe\" " +
                               std::to_wstring(answerDelayMs) + L" " + readyName;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        installer.process = process.hProcess;
        const HANDLE both[2] = {ready, process.hProcess};
        installer.started = WaitForMultipleObjects(2, both, FALSE, 15000) == WAIT_OBJECT_0;
    }
    CloseHandle(ready);
    return installer;
}

DWORD finishInstaller(RunningInstaller& installer) {
    DWORD code = 255;
    if (WaitForSingleObject(installer.process, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(installer.process, 255);
    }
    GetExitCodeProcess(installer.process, &code);
    CloseHandle(installer.process);
    return code;
}

// Whether a null DACL says anything here: an event made without security
// attributes gets the default DACL of the process token on Windows.
bool nullDaclIsTelling() {
    const HANDLE plain = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    bool known = false;
    const bool null = plain && hasNullDacl(plain, known);
    if (plain) {
        CloseHandle(plain);
    }
    return known && !null;
}

void runRow(TestReport& report, const Row& row) {
    const std::string name = std::string(row.name) + ": ";
    RunningInstaller installer;
    HANDLE leftOver = nullptr;
    if (row.installer == Installer::Process) {
        installer = startInstaller(row.answerDelayMs);
        if (!report.check(installer.started, name + "installer stand-in ready")) {
            return;
        }
    } else if (row.installer == Installer::LeftSignalled) {
        leftOver = createInstallerEvent(InstallerCompletionEvent);
        report.check(leftOver && SetEvent(leftOver), name + "completion signalled beforehand");
    }

    // While the bridge waits, its events must be open to everyone: the real
    // installer may run as a service in another session.
    bool daclChecked = false;
    bool daclKnown = true;
    bool daclNull = true;
    ChildOptions options;
    options.debug = true;
    options.timeoutMs = 20000;
    if (row.installer == Installer::None) {
        options.onDebugMessage = [&](const std::string& message) {
            if (message != waitMessage || daclChecked) {
                return;
            }
            daclChecked = true;
            for (const wchar_t* eventName : {InstallerRequestEvent, InstallerCompletionEvent}) {
                // An event this process may not even open is not open to
                // everyone either.
                const HANDLE event = OpenEventW(READ_CONTROL, FALSE, eventName);
                bool known = event == nullptr;
                const bool open = event && hasNullDacl(event, known);
                daclNull = daclNull && open;
                daclKnown = daclKnown && known;
                if (event) {
                    CloseHandle(event);
                }
            }
        };
    }

    const ChildRun run = runChild(executableFolder() + L"\\bridge_attach_probe.exe", {}, options);
    if (leftOver) {
        CloseHandle(leftOver);
    }
    report.check(run.started && !run.timedOut, name + "probe ran to its end");
    report.check(contains(run.standardOutput, "CloseDevice=1 GetLastErrorCode=0"),
                 name + "vendor library loaded after the handshake", run.standardOutput);
    report.equal(run.debugMessageSeen(waitMessage), row.waitMessageExpected,
                 name + (row.waitMessageExpected ? "wait message logged" : "no wait message"));
    report.equal(run.debugMessageSeen(installFailedMessage), row.installFailedExpected,
                 name + (row.installFailedExpected ? "install failure logged"
                                                   : "no install failure logged"));
    report.check(run.debugMessageSeen(loadedMessage), name + "load message logged");
    const std::string elapsed = std::to_string(static_cast<int>(run.elapsedMs)) + " ms";
    if (row.atLeastMs > 0) {
        report.check(run.elapsedMs >= row.atLeastMs,
                     name + "attach waited at least " +
                         std::to_string(static_cast<int>(row.atLeastMs)) + " ms",
                     elapsed);
    }
    if (row.belowMs > 0) {
        report.check(run.elapsedMs < row.belowMs,
                     name + "attach took less than " +
                         std::to_string(static_cast<int>(row.belowMs)) + " ms",
                     elapsed);
    }
    std::printf("      (%s: probe ran %s)\n", row.name, elapsed.c_str());
    if (row.installer == Installer::Process) {
        report.equal(finishInstaller(installer), DWORD(0),
                     name + "installer saw the request (exit code)");
    }
    if (row.installer == Installer::None) {
        if (!daclChecked) {
            report.check(false, name + "events inspected during the wait");
        } else if (!daclKnown) {
            report.skip(name + "events open to everyone",
                        "this system does not report the events' security descriptor");
        } else if (!nullDaclIsTelling()) {
            report.skip(name + "events open to everyone",
                        "this system reports a null DACL for every event, also one made without "
                        "security attributes (Wine does), so only Windows can tell");
        } else {
            report.check(daclNull, name + "events open to everyone (null DACL)");
        }
    }
}

} // namespace

int main() {
    TestReport report("Hubbridge installer handshake");
    for (const Row& row : rows) {
        runRow(report, row);
    }
    return report.finish();
}
