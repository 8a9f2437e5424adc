// The program's version as the window title reads it: from the version
// resource of Panelup.rc, which this test program carries too.
#include "platform/Platform.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <optional>
#include <string>

namespace {

std::string text(const std::optional<platform::FileVersion>& version) {
    if (!version) {
        return "none";
    }
    return std::to_string(version->major) + "." + std::to_string(version->minor) + "." +
           std::to_string(version->build) + "." + std::to_string(version->revision);
}

struct Row {
    const char* name;
    std::wstring path;
    std::string expected;
};

// A copy of this program under a name with letters beyond ASCII: the path
// arrives as UTF-8 and must reach the wide Windows calls intact.
std::wstring copyUnderWideName() {
    const std::wstring copy = executableFolder() + L"\\Pr\u00fcfung \u00e9t\u00e9.exe";
    return CopyFileW(executablePath().c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
}

std::wstring writeTextFile(const std::wstring& path) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path;
    }
    const char text[] = "no version here\r\n";
    DWORD written = 0;
    WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    CloseHandle(file);
    return path;
}

} // namespace

int main() {
    TestReport report("Windows file version");
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();

    const std::wstring wideCopy = copyUnderWideName();
    report.check(!wideCopy.empty(), "copy under a non-ASCII name made");
    const std::wstring folder = executableFolder();
    const std::wstring textFile = writeTextFile(folder + L"\\not-a-program.txt");
    const Row rows[] = {
        {"this program (Panelup.rc)", executablePath(), PANELUP_EXPECTED_VERSION},
        {"a copy under a non-ASCII name", wideCopy, PANELUP_EXPECTED_VERSION},
        {"a program without a version resource", folder + L"\\bridge_attach_probe.exe", "none"},
        {"a file that is not a program", textFile, "none"},
        {"a missing file", folder + L"\\missing.exe", "none"},
        {"an empty path", L"", "none"},
    };
    for (const Row& row : rows) {
        report.equal(text(native->fileVersion(narrow(row.path))), row.expected, row.name);
    }
    if (!wideCopy.empty()) {
        DeleteFileW(wideCopy.c_str());
    }
    return report.finish();
}
