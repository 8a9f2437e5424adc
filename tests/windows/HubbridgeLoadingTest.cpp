// How Hubbridge.dll finds the vendor library: only beside the program, never
// from the working folder or PATH. Each case is a real process that loads
// Hubbridge.dll through its import table.
#include "support/ChildProcess.h"
#include "support/InstallerEvents.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <string>

namespace {

struct Row {
    const char* name;
    const wchar_t* probeFolder; // below the test's own folder; empty: the same
    bool vendorBeside;
};

// The working folder and PATH of every run hold a TxHubLib.dll: the one
// beside this test.
const Row rows[] = {
    {"vendor library beside the program", L"", true},
    {"no vendor library beside the program", L"\\without-vendor", false},
};

void runRow(TestReport& report, const Row& row, HANDLE completion) {
    const std::string name = std::string(row.name) + ": ";
    const std::wstring folder = executableFolder() + row.probeFolder;
    // An answered handshake, so that each attach is quick.
    SetEvent(completion);

    ChildOptions options;
    options.debug = true;
    options.workingDirectory = executableFolder();
    options.path = executableFolder() + L";C:\\windows\\system32;C:\\windows";
    const ChildRun run = runChild(folder + L"\\bridge_attach_probe.exe", {}, options);
    if (!report.check(run.started && !run.timedOut && run.exitCode == 0,
                      name + "probe ran to its end", run.standardOutput)) {
        return;
    }

    const std::string vendorPath = narrow(folder + L"\\TxHubLib.dll");
    if (row.vendorBeside) {
        report.check(contains(run.standardOutput, "LoadTvxHubLib Success"),
                     name + "load reported on standard output", run.standardOutput);
        report.check(contains(run.standardOutput, "CloseDevice=1 GetLastErrorCode=0 ReadI2C=0"),
                     name + "bridge usable, no device open", run.standardOutput);
        report.check(run.debugMessageSeen("Load TvxHubLib.dll success.\n") &&
                         run.debugMessageSeen("Load TvxHub Fun from HubLib.dll success.\n"),
                     name + "load and bind messages in the debugger output");
        report.check(run.dllLoaded(L"TxHubLib.dll"), name + "TxHubLib.dll loaded");
    } else {
        report.check(contains(run.standardOutput, "LoadTvxHubLib Fail, strPath=" + vendorPath),
                     name + "failed load reported with the path beside the program",
                     run.standardOutput);
        report.check(contains(run.standardOutput, "CloseDevice=0 GetLastErrorCode=40003 ReadI2C=0"),
                     name + "CloseDevice 0, last error 40003", run.standardOutput);
        report.check(run.debugMessageSeen("     Invalid Handle."),
                     name + "ReadI2C reports the invalid handle");
        report.check(!run.debugMessageSeen("Load TvxHubLib.dll success.\n"),
                     name + "no load message");
        report.check(!run.dllLoaded(L"TxHubLib.dll"),
                     name + "no TxHubLib.dll from the working folder or PATH");
    }
}

} // namespace

int main() {
    TestReport report("Hubbridge.dll loading TxHubLib.dll");
    const HANDLE completion = createInstallerEvent(InstallerCompletionEvent);
    if (!report.check(completion != nullptr, "installer completion event made")) {
        return report.finish();
    }
    for (const Row& row : rows) {
        runRow(report, row, completion);
    }
    CloseHandle(completion);
    return report.finish();
}
