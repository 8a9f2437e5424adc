// The real Panelup.exe as a user starts it, from a copy of the program folder
// that the deploy step lays out (no TxHubLib.dll beside it), or from the
// folder itself where the MSI installed it (the stand-in below is taken out
// again afterwards):
//   windows_panelup_program <program folder> [--in-place]
// The window's title comes from the program's own version resource; the
// monitor's EDID comes from registry keys this test writes (Wine's dxva2
// finds no physical monitor, so the copy gets a stand-in); a second copy is
// refused with the warning box and exit code 1 and leaves the first one's
// window and trace log alone. Qt's code-loading and platform-choosing
// variables in the user's environment (HKCU\Environment), Qt's own options
// to the same ends and a qt.conf in the working folder all point at plugins
// that leave a marker when loaded, and at a platform only they offer: the
// window shows as usual and no marker appears.
#include "support/ChildProcess.h"
#include "support/RegistryEdidStandIn.h"
#include "support/TestReport.h"
#include "support/WinText.h"

#include <windows.h>

#include <userenv.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::wstring MainTitlePrefix = L"LM Series USB Firmware Update Tool v";

bool copyFolder(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = copyFolder(from + L"\\" + name, to + L"\\" + name) && ok;
        } else {
            ok = CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) && ok;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return ok;
}

struct Program {
    PROCESS_INFORMATION process{};
    bool started = false;

    // environment: a block as CreateEnvironmentBlock makes it, or nullptr
    // for this process's own.
    explicit Program(const std::wstring& executable, const std::wstring& arguments = L"",
                     void* environment = nullptr, const std::wstring& workingDirectory = L"") {
        std::wstring commandLine = L"\"" + executable + L"\"";
        if (!arguments.empty()) {
            commandLine += L" " + arguments;
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                                 CREATE_UNICODE_ENVIRONMENT, environment,
                                 workingDirectory.empty() ? nullptr : workingDirectory.c_str(),
                                 &startup, &process) != 0;
    }
    ~Program() {
        if (started) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 9);
                WaitForSingleObject(process.hProcess, 10000);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The exit code, or 259 (still active) when it has not ended in time.
    DWORD waitForExit(DWORD timeoutMs) const {
        DWORD code = STILL_ACTIVE;
        if (started && WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &code);
        }
        return code;
    }
};

struct Window {
    HWND handle = nullptr;
    std::wstring title;
};

struct WindowSearch {
    DWORD processId;
    std::vector<Window> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        wchar_t title[512] = {};
        GetWindowTextW(window, title, 512);
        search->found.push_back({window, title});
    }
    return TRUE;
}

// The visible top-level windows of one process.
std::vector<Window> windowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits (bounded) for a window of the process whose title starts so.
Window waitForWindow(const Program& program, const std::wstring& titleStart, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        for (const Window& window : windowsOf(program.process.dwProcessId)) {
            if (window.title.compare(0, titleStart.size(), titleStart) == 0) {
                return window;
            }
        }
        if (program.waitForExit(0) != STILL_ACTIVE) {
            break;
        }
        Sleep(100);
    }
    return {};
}

std::string fileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An EDID under every monitor hardware ID Wine keeps.
std::vector<std::unique_ptr<RegistryEdidStandIn>> writeRegistryEdids(const std::string& serial) {
    std::vector<std::unique_ptr<RegistryEdidStandIn>> standIns;
    const std::wstring displays = L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, displays.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return standIns;
    }
    wchar_t name[256];
    for (DWORD index = 0; index < 64; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        standIns.push_back(std::make_unique<RegistryEdidStandIn>(displays + L"\\" + name));
        standIns.back()->write(edidNamed("LM0420", serial));
    }
    RegCloseKey(key);
    return standIns;
}

// Wine takes its built-in copy of a system DLL wherever another file of that
// name lies, unless told to look for a native one first, as Windows does
// (Wine's per-program DllOverrides; Windows ignores the key).
class NativeFirst {
public:
    NativeFirst(const std::wstring& program, const std::wstring& dll)
        : key_(L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides"), dll_(dll) {
        ok_ = RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), dll_.c_str(), REG_SZ,
                              L"native,builtin", sizeof(L"native,builtin")) == ERROR_SUCCESS;
    }
    ~NativeFirst() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), dll_.c_str()); }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;
    bool ok() const { return ok_; }

private:
    std::wstring key_;
    std::wstring dll_;
    bool ok_ = false;
};

// Qt's code-loading and platform-choosing variables in the user's own
// environment (HKCU\Environment), which every unelevated program of the
// user may set, pointing at the marker plugins; taken out again at the end.
class HostileUserEnvironment {
public:
    using Values = std::vector<std::pair<std::wstring, std::wstring>>;
    explicit HostileUserEnvironment(Values values) : values_(std::move(values)) {
        ok_ = true;
        for (const auto& value : values_) {
            // Wine's prefix keeps TMP and TEMP there: put back at the end.
            wchar_t before[1024] = {};
            DWORD size = sizeof(before);
            if (RegGetValueW(HKEY_CURRENT_USER, L"Environment", value.first.c_str(),
                             RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type_, before,
                             &size) == ERROR_SUCCESS) {
                previous_.push_back({value.first, before});
                types_.push_back(type_);
            }
            const DWORD bytes = static_cast<DWORD>((value.second.size() + 1) * sizeof(wchar_t));
            ok_ = RegSetKeyValueW(HKEY_CURRENT_USER, L"Environment", value.first.c_str(), REG_SZ,
                                  value.second.c_str(), bytes) == ERROR_SUCCESS &&
                  ok_;
        }
    }
    ~HostileUserEnvironment() {
        for (const auto& value : values_) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Environment", value.first.c_str());
        }
        for (size_t i = 0; i < previous_.size(); ++i) {
            const auto& value = previous_[i];
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Environment", value.first.c_str(), types_[i],
                            value.second.c_str(),
                            static_cast<DWORD>((value.second.size() + 1) * sizeof(wchar_t)));
        }
    }
    HostileUserEnvironment(const HostileUserEnvironment&) = delete;
    HostileUserEnvironment& operator=(const HostileUserEnvironment&) = delete;
    bool ok() const { return ok_; }

    // The environment a program started by the shell gets, built from the
    // registry as Explorer builds it; the variables are added where this
    // system's block leaves them out. Empty when it cannot be made.
    std::vector<wchar_t> block(bool& fromRegistry) const {
        std::vector<wchar_t> result;
        void* made = nullptr;
        if (!CreateEnvironmentBlock(&made, nullptr, FALSE)) {
            return result;
        }
        std::vector<std::wstring> entries;
        for (const wchar_t* entry = static_cast<const wchar_t*>(made); *entry;
             entry += std::wcslen(entry) + 1) {
            entries.push_back(entry);
        }
        DestroyEnvironmentBlock(made);
        fromRegistry = true;
        for (const auto& value : values_) {
            const std::wstring wanted = value.first + L"=" + value.second;
            bool found = false;
            for (const std::wstring& entry : entries) {
                found = found || _wcsicmp(entry.c_str(), wanted.c_str()) == 0;
            }
            if (!found) {
                fromRegistry = false;
                entries.push_back(wanted);
            }
        }
        // The temporary folder stays this test's, where it reads the trace
        // log (Wine's block names none), unless the row sets it.
        for (const wchar_t* name : {L"TEMP", L"TMP"}) {
            wchar_t value[MAX_PATH + 1] = {};
            DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
            for (const auto& set : values_) {
                if (set.first == name && set.second.size() <= MAX_PATH) {
                    length = static_cast<DWORD>(set.second.size());
                    std::copy(set.second.begin(), set.second.end(), value);
                    value[length] = L'\0';
                }
            }
            if (length == 0 || length > MAX_PATH) {
                continue;
            }
            const std::wstring prefix = std::wstring(name) + L"=";
            entries.erase(std::remove_if(entries.begin(), entries.end(),
                                         [&](const std::wstring& entry) {
                                             return _wcsnicmp(entry.c_str(), prefix.c_str(),
                                                              prefix.size()) == 0;
                                         }),
                          entries.end());
            entries.push_back(prefix + value);
        }
        for (const std::wstring& entry : entries) {
            result.insert(result.end(), entry.begin(), entry.end());
            result.push_back(L'\0');
        }
        result.push_back(L'\0');
        return result;
    }

private:
    Values values_;
    Values previous_;
    std::vector<DWORD> types_;
    DWORD type_ = 0;
    bool ok_ = false;
};

// The marker files the plugins below folder left, when loaded.
std::vector<std::wstring> markersBelow(const std::wstring& folder) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::vector<std::wstring> below = markersBelow(folder + L"\\" + name);
            found.insert(found.end(), below.begin(), below.end());
        } else if (name.size() > 7 && name.compare(name.size() - 7, 7, L".loaded") == 0) {
            found.push_back(folder + L"\\" + name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

std::wstring tempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring folder(buffer, length);
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

// Qt's code-loading and platform-choosing variables, all pointing at the
// marker plugins.
HostileUserEnvironment::Values allCodeChoosing(const std::wstring& plugins) {
    return {{L"QT_PLUGIN_PATH", plugins},
            {L"QT_QPA_PLATFORM_PLUGIN_PATH", plugins + L"\\platforms"},
            {L"QT_QPA_PLATFORM", L"panelupmarker"},
            {L"QT_QPA_PLATFORMTHEME", L"panelupmarker"},
            {L"QT_STYLE_OVERRIDE", L"panelupmarker"},
            {L"QT_QPA_GENERIC_PLUGINS", L"panelupmarker"},
            {L"QT_IM_MODULE", L"panelupmarker"},
            {L"QT_LOAD_TESTABILITY", L"1"}};
}

// Starts the program with one hostile setting (a variable in the user's
// environment, or arguments), closes its window and tells whether it showed.
bool startsAsUsual(TestReport& report, const std::wstring& executable, const std::string& row,
                   const HostileUserEnvironment::Values& values, const std::wstring& arguments,
                   const std::wstring& workingFolder, const std::wstring& path) {
    const HostileUserEnvironment hostile(values);
    bool fromRegistry = false;
    std::vector<wchar_t> environment = hostile.block(fromRegistry);
    if (!path.empty()) {
        // PATH with a folder of the user's first, as HKCU\Environment\Path
        // makes it.
        std::vector<wchar_t> withPath;
        for (const wchar_t* entry = environment.data(); *entry; entry += std::wcslen(entry) + 1) {
            std::wstring text = entry;
            if (_wcsnicmp(entry, L"PATH=", 5) == 0) {
                text = L"PATH=" + path + L";" + text.substr(5);
            }
            withPath.insert(withPath.end(), text.begin(), text.end());
            withPath.push_back(L'\0');
        }
        withPath.push_back(L'\0');
        environment.swap(withPath);
    }
    Program program(executable, arguments, environment.empty() ? nullptr : environment.data(),
                    workingFolder);
    const Window shown = waitForWindow(program, MainTitlePrefix, 60000);
    if (shown.handle) {
        PostMessageW(shown.handle, WM_CLOSE, 0, 0);
    }
    const DWORD code = program.waitForExit(30000);
    return report.check(hostile.ok() && shown.handle != nullptr && code == 0,
                        row + ": the window shows and closes with exit code 0",
                        "exit code " + std::to_string(code));
}

} // namespace

int main(int argc, char** argv) {
    TestReport report("Panelup.exe");
    const bool inPlace = argc == 3 && std::string(argv[2]) == "--in-place";
    if (argc != 2 && !inPlace) {
        std::printf("usage: windows_panelup_program <program folder> [--in-place]\n");
        return 2;
    }
    std::wstring folder = widen(argv[1]);
    if (!inPlace) {
        folder = tempFolder() + L"\\panelup-program-" + std::to_wstring(GetCurrentProcessId());
        if (!report.check(copyFolder(widen(argv[1]), folder), "the program folder copies as is")) {
            return report.finish();
        }
    }
    const std::wstring executable = folder + L"\\Panelup.exe";
    const NativeFirst dxva2(L"Panelup.exe", L"dxva2");
    report.check(dxva2.ok() && CopyFileW(widen(DXVA2_STAND_IN).c_str(),
                                         (folder + L"\\dxva2.dll").c_str(), FALSE),
                 "the copy gets the dxva2 stand-in");
    const std::string serial = "UP2160100001";
    const auto edids = writeRegistryEdids(serial);
    size_t written = 0;
    for (const auto& standIn : edids) {
        written += standIn->written();
    }
    report.check(written > 0, "an EDID written under a monitor's registry key");
    const std::wstring logPath = tempFolder() + L"\\Panelup_log.txt";
    DeleteFileW(logPath.c_str());

    // The marker plugins where the user's environment points, first shown
    // to load and leave their markers when Qt is asked to load them.
    const std::wstring plugins = folder + L"-plugins";
    report.check(copyFolder(widen(MARKER_PLUGINS), plugins), "the marker plugins are laid out");
    const std::wstring probe = folder + L"\\marker_plugin_probe.exe";
    CopyFileW(widen(MARKER_PROBE).c_str(), probe.c_str(), FALSE);
    std::vector<std::wstring> pluginFiles;
    for (const wchar_t* kind :
         {L"platforms", L"platformthemes", L"styles", L"generic", L"platforminputcontexts"}) {
        pluginFiles.push_back(plugins + L"\\" + kind + L"\\panelupmarker.dll");
    }
    ChildOptions probing;
    probing.workingDirectory = folder;
    const ChildRun control = runChild(probe, pluginFiles, probing);
    report.check(control.started && control.exitCode == 0 &&
                     markersBelow(plugins).size() == pluginFiles.size(),
                 "control: Qt loads each marker plugin, which leaves its marker",
                 control.standardOutput);
    for (const std::wstring& marker : markersBelow(plugins)) {
        DeleteFileW(marker.c_str());
    }

    const HostileUserEnvironment hostile(allCodeChoosing(plugins));
    report.check(hostile.ok(), "Qt's variables set in HKCU\\Environment");
    bool fromRegistry = false;
    std::vector<wchar_t> environment = hostile.block(fromRegistry);
    report.check(!environment.empty(), "the shell's environment block is made");
    if (!fromRegistry) {
        std::printf("      (this system's CreateEnvironmentBlock leaves HKCU\\Environment out: "
                    "the variables are added to the block)\n");
    }

    Program first(executable, L"", environment.empty() ? nullptr : environment.data());
    report.check(first.started, "Panelup.exe starts");
    const Window main = waitForWindow(first, MainTitlePrefix, 60000);
    report.check(narrow(main.title) == "LM Series USB Firmware Update Tool v1.07",
                 "the title carries the version resource's 1.07", narrow(main.title));

    const std::string log = fileText(logPath);
    report.check(contains(log, "this is a debug message"),
                 "the trace log is written in the temporary folder");
    // Wine keeps no access lists: every folder reads back as the user's, as
    // Panelup.zip unpacked into Downloads does on Windows.
    report.check(contains(log, "Program folder not protected:") &&
                     contains(log, "should be installed with the MSI"),
                 "a program folder the user may change: the trace log asks for the MSI");
    report.check(contains(log, "Total Monitor: 1"), "the inventory finds the monitor");
    report.check(contains(log, serial), "its serial number comes from the registry EDID");

    {
        Program second(executable);
        const Window box = waitForWindow(second, L"NV_Panelup is already running!", 30000);
        report.check(box.handle != nullptr, "a second copy shows the already-running warning");
        const std::vector<Window> windows = windowsOf(second.process.dwProcessId);
        bool mainWindow = false;
        for (const Window& window : windows) {
            mainWindow =
                mainWindow || window.title.compare(0, MainTitlePrefix.size(), MainTitlePrefix) == 0;
        }
        report.check(!mainWindow, "the second copy shows no window of its own");
        if (box.handle) {
            PostMessageW(box.handle, WM_CLOSE, 0, 0);
        }
        report.equal(second.waitForExit(30000), 1ul, "the second copy ends with exit code 1");
        const std::string after = fileText(logPath);
        report.check(!log.empty() && after.compare(0, log.size(), log) == 0,
                     "the first copy's trace log is left as it was");
    }

    report.check(IsWindow(main.handle) && first.waitForExit(0) == STILL_ACTIVE,
                 "the first copy runs on");
    if (main.handle) {
        PostMessageW(main.handle, WM_CLOSE, 0, 0);
    }
    report.equal(first.waitForExit(30000), 0ul, "closing the window ends it with exit code 0");
    report.check(markersBelow(plugins).empty(),
                 "no plugin is loaded from where the user's environment points");

    // Qt's own command-line options to the same ends, and a qt.conf in the
    // working folder pointing at the marker plugins.
    {
        std::ofstream conf((plugins + L"\\qt.conf").c_str());
        conf << "[Paths]\nPlugins = " << narrow(plugins) << "\n";
    }
    const std::wstring arguments = L"-platformpluginpath \"" + plugins +
                                   L"\\platforms\" -platform panelupmarker -platformtheme "
                                   L"panelupmarker -style=panelupmarker --plugin panelupmarker";
    Program third(executable, arguments + L" -testability", nullptr, plugins);
    const Window shown = waitForWindow(third, MainTitlePrefix, 60000);
    report.check(shown.handle != nullptr, "started with Qt's plugin options, the window shows");
    if (shown.handle) {
        PostMessageW(shown.handle, WM_CLOSE, 0, 0);
    }
    report.equal(third.waitForExit(30000), 0ul, "and closes with exit code 0");
    report.check(markersBelow(plugins).empty(),
                 "no plugin is loaded from where the options or a qt.conf there point");
    // TMP and TEMP in the user's environment at a link (a Unix one, as Wine
    // shows links) to a folder whose Panelup_log.txt is a link to a victim
    // file: the program starts without a trace log, the victim unchanged.
    if (!inPlace) {
        const std::wstring planted = widen(PLANTED_LINKS);
        const std::wstring link = planted + L"\\templink";
        const std::wstring victim = planted + L"\\elsewhere\\victim.bin";
        const std::string row = "TMP at a link whose Panelup_log.txt leads to a victim";
        report.equal(fileText(victim), std::string("victim"), row + ": laid out");
        startsAsUsual(report, executable, row, {{L"TMP", link}, {L"TEMP", link}}, L"", folder, L"");
        report.equal(fileText(victim), std::string("victim"), row + ": the victim is unchanged");
    }

    // Each of Qt's dropped variables and options on its own. The marker
    // plugins also claim the keys of the platform and style Qt loads
    // unasked ("windows", "windowsvista"), and marker DLLs named
    // qttestability.dll and version.dll lie in the working folder and in a
    // folder first on PATH, where a bare-name LoadLibrary looks by default.
    const std::wstring bare = folder + L"-bare";
    const std::wstring onPath = folder + L"-path";
    CreateDirectoryW(bare.c_str(), nullptr);
    CreateDirectoryW(onPath.c_str(), nullptr);
    const std::wstring bareNames[] = {L"qttestability.dll", L"version.dll"};
    bool planted = true;
    for (const std::wstring& name : bareNames) {
        for (const std::wstring& where : {bare, onPath}) {
            planted =
                CopyFileW(widen(MARKER_BARE).c_str(), (where + L"\\" + name).c_str(), FALSE) != 0 &&
                planted;
        }
    }
    report.check(planted,
                 "marker qttestability.dll and version.dll in the working folder and on PATH");
    // version.dll is no KnownDLL on Windows, so the standard search order
    // (SafeDllSearchMode) takes a copy beside the program before
    // system32's, and system32's before one in the working folder or on
    // PATH. Wine, told to prefer a native version.dll, searches the same way
    // here and in every run of Panelup.exe below.
    const NativeFirst loaderVersion(L"marker_bare_loader.exe", L"version");
    const NativeFirst programVersion(L"Panelup.exe", L"version");
    report.check(loaderVersion.ok() && programVersion.ok(),
                 "Wine told to prefer a native version.dll");
    const std::wstring besideLoader = folder + L"-beside";
    CreateDirectoryW(besideLoader.c_str(), nullptr);
    const std::wstring besideMarker = besideLoader + L"\\version.dll";
    const std::wstring besideExecutable = besideLoader + L"\\marker_bare_loader.exe";
    report.check(CopyFileW(widen(MARKER_BARE).c_str(), besideMarker.c_str(), FALSE) &&
                     CopyFileW(widen(MARKER_LOADER).c_str(), besideExecutable.c_str(), FALSE),
                 "a loader with a marker version.dll beside it");
    struct Control {
        std::wstring name;
        bool inWorkingFolder;
        bool loads;
    };
    const Control controls[] = {{L"qttestability", true, true},
                                {L"qttestability", false, true},
                                {L"version", true, false},
                                {L"version", false, false}};
    for (const Control& control : controls) {
        ChildOptions loading;
        loading.workingDirectory = control.inWorkingFolder ? bare : folder;
        if (!control.inWorkingFolder) {
            loading.path = onPath;
        }
        const ChildRun loaded = runChild(widen(MARKER_LOADER), {control.name}, loading);
        const std::wstring marker =
            (control.inWorkingFolder ? bare : onPath) + L"\\" + control.name + L".dll.loaded";
        const bool markerLoaded = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        report.check(loaded.started && loaded.exitCode == 0 && markerLoaded == control.loads,
                     "control: LoadLibrary(\"" + narrow(control.name) + "\") " +
                         (control.loads ? "takes" : "passes over") + " the marker in " +
                         (control.inWorkingFolder ? "the working folder" : "a folder on PATH") +
                         (control.loads ? "" : ": system32 comes first"),
                     loaded.standardOutput);
        DeleteFileW(marker.c_str());
    }
    {
        const ChildRun loaded = runChild(besideExecutable, {L"version"});
        report.check(loaded.started && loaded.exitCode == 0 &&
                         GetFileAttributesW((besideMarker + L".loaded").c_str()) !=
                             INVALID_FILE_ATTRIBUTES,
                     "control: a version.dll beside the program is loaded before system32's "
                     "(why the program folder must be the administrators' alone)",
                     loaded.standardOutput);
    }
    const HostileUserEnvironment::Values variables = allCodeChoosing(plugins);
    for (const auto& variable : variables) {
        const std::string row = narrow(variable.first) + " alone in HKCU\\Environment";
        startsAsUsual(report, executable, row, {variable}, L"", bare, onPath);
        report.check(markersBelow(plugins).empty() && markersBelow(bare).empty() &&
                         markersBelow(onPath).empty(),
                     row + ": no marker loads");
    }
    const std::wstring options[] = {L"-platformpluginpath \"" + plugins + L"\\platforms\"",
                                    L"-platform panelupmarker",
                                    L"-platformtheme panelupmarker",
                                    L"-style=panelupmarker",
                                    L"--plugin panelupmarker",
                                    L"-testability"};
    for (const std::wstring& option : options) {
        const std::string row = narrow(option) + " alone";
        startsAsUsual(report, executable, row, {}, option, bare, onPath);
        report.check(markersBelow(plugins).empty() && markersBelow(bare).empty() &&
                         markersBelow(onPath).empty(),
                     row + ": no marker loads");
    }
    if (inPlace) {
        report.check(DeleteFileW((folder + L"\\dxva2.dll").c_str()) != 0 &&
                         DeleteFileW(probe.c_str()) != 0,
                     "the stand-in and the probe leave the installed folder");
    }
    return report.finish();
}
