#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace app {

// The process exit codes of an unattended run, and of a usage error.
enum ExitCode : int {
    ExitUpdated = 0,               // updated; with /c: an update applies
    ExitFailed = 1,                // failed, or the monitor reports other firmware than written
    ExitNothingToDo = 3,           // the latest firmware is installed; with /c: no update applies
    ExitNothingSupported = 4,      // no monitor, no hub, unknown model, no hub library
    ExitSiteFailed = 5,            // the update site or a download failed; nothing written
    ExitAlreadyRunning = 6,        // another copy runs
    ExitStoredFirmwareBad = 7,     // a stored firmware file does not match its record
    ExitSeveralMonitors = 8,       // several monitors or hubs attached
    ExitUnsupportedConnection = 9, // the LM0530 not on HDMI
    ExitUsage = 64,
};

// The short name of an exit code for the result log.
QString exitCodeName(int code, bool checkOnly);

// The switches: /s /c /f /l=<file> /? /h, also with "-" or "--", long forms
// (silent, check, force, log, help), in any letter case.
struct CommandLine {
    enum class Mode { Window, Silent, Help, Error };
    Mode mode = Mode::Window;
    bool silent = false; // /s was given, even beside a wrong switch
    bool checkOnly = false;
    bool allowOlder = false;
    QString logFile;
    QString error; // what was wrong, for Mode::Error
    QStringList arguments;
};

// Reads the arguments after the program name, once Qt has taken its own.
CommandLine parseCommandLine(const QStringList& arguments);

// True when the raw arguments name one of our switches, a "/" argument or a
// word that is no value of a "-" option: the run then needs no display
// (silent, usage), so Qt must not ask for one. Unknown "-" arguments may be
// Qt's own and are left to Qt.
bool runsWithoutWindow(int argc, char** argv);

// The usage text with the exit-code table, in English as the console output
// and the result log are: scripts and administrators read them.
QString usageText(const QString& programName);

// The arguments handed to QApplication: the program's own, and, for a run
// without window on a system whose window platform needs a display, Qt's
// offscreen platform. Must outlive the application object.
class QtArguments {
public:
    QtArguments(int argc, char** argv);
    int argc;
    char** argv() { return pointers_.data(); }

private:
    std::vector<char*> pointers_;
};

} // namespace app
