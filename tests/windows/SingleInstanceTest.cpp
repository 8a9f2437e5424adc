// The single-instance marker between real processes: this program holds it
// and starts copies of itself that try to take it too.
//   windows_single_instance_test                  the test
//   windows_single_instance_test acquire <name>   exit code 0 acquired,
//                                                 1 already running, 2 unavailable
//   windows_single_instance_test hold <name>      acquires, then waits to be killed
#include "platform/Platform.h"
#include "support/ChildProcess.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int exitCodeFor(platform::InstanceState state) {
    switch (state) {
    case platform::InstanceState::Acquired:
        return 0;
    case platform::InstanceState::AlreadyRunning:
        return 1;
    default:
        return 2;
    }
}

int acquire(const std::string& name, bool hold) {
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    const int code = exitCodeFor(native->singleInstance().acquire(name));
    if (hold) {
        std::printf("holding\n");
        std::fflush(stdout);
        Sleep(30000);
    }
    return code;
}

unsigned long secondProcess(const std::string& name) {
    ChildOptions options;
    options.timeoutMs = 20000;
    const ChildRun run = runChild(executablePath(), {L"acquire", widen(name)}, options);
    return run.started && !run.timedOut ? run.exitCode : 255;
}

// A holder that ends abruptly, as a crashed Panelup would.
bool killedHolder(const std::string& name) {
    std::wstring commandLine = L"\"" + executablePath() + L"\" hold " + widen(name);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    // Held once a second taker is refused; bounded.
    bool held = false;
    for (int attempt = 0; attempt < 100 && !held; ++attempt) {
        held = secondProcess(name) == 1;
        if (!held) {
            Sleep(100);
        }
    }
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return held;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "acquire") == 0) {
        return acquire(argv[2], false);
    }
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        return acquire(argv[2], true);
    }

    TestReport report("Windows single instance");
    // A name of this run, so that nothing else on the machine interferes.
    const std::string name = "NV_Panelup_test_" + std::to_string(GetCurrentProcessId());
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();

    report.equal(secondProcess(name), 0ul, "first holder in another process acquires");
    report.equal(exitCodeFor(native->singleInstance().acquire(name)), 0,
                 "after it ended, this process acquires");
    report.equal(secondProcess(name), 1ul, "a second process is refused");
    report.equal(secondProcess(name), 1ul, "and a third one");

    const std::string crashName = name + "_crash";
    report.check(killedHolder(crashName), "a holder refuses others while it runs");
    report.equal(secondProcess(crashName), 0ul, "a killed holder leaves the marker free");
    return report.finish();
}
