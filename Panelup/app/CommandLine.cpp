#include "app/CommandLine.h"

namespace app {

namespace {

enum class Switch { None, Silent, Check, Force, Log, Help };

// The switch an argument names, with the value after "=" (or ":").
Switch switchOf(const QString& argument, QString& value, bool& hasValue) {
    QString name;
    if (argument.startsWith(QLatin1String("--")))
        name = argument.mid(2);
    else if (argument.startsWith(QLatin1Char('/')) || argument.startsWith(QLatin1Char('-')))
        name = argument.mid(1);
    else
        return Switch::None;
    int separator = name.indexOf(QLatin1Char('='));
    if (separator < 0)
        separator = name.indexOf(QLatin1Char(':'));
    hasValue = separator >= 0;
    if (hasValue) {
        value = name.mid(separator + 1);
        name = name.left(separator);
    }
    name = name.toLower();
    if (name == QLatin1String("s") || name == QLatin1String("silent"))
        return Switch::Silent;
    if (name == QLatin1String("c") || name == QLatin1String("check"))
        return Switch::Check;
    if (name == QLatin1String("f") || name == QLatin1String("force"))
        return Switch::Force;
    if (name == QLatin1String("l") || name == QLatin1String("log"))
        return Switch::Log;
    if (name == QLatin1String("?") || name == QLatin1String("h") || name == QLatin1String("help"))
        return Switch::Help;
    return Switch::None;
}

} // namespace

QString exitCodeName(int code, bool checkOnly) {
    switch (code) {
    case ExitUpdated:
        return checkOnly ? QStringLiteral("update-available") : QStringLiteral("updated");
    case ExitFailed:
        return QStringLiteral("failed");
    case ExitNothingToDo:
        return checkOnly ? QStringLiteral("no-update") : QStringLiteral("nothing-to-do");
    case ExitNothingSupported:
        return QStringLiteral("nothing-supported");
    case ExitSiteFailed:
        return QStringLiteral("site-failed");
    case ExitAlreadyRunning:
        return QStringLiteral("already-running");
    case ExitStoredFirmwareBad:
        return QStringLiteral("stored-firmware-corrupted");
    case ExitSeveralMonitors:
        return QStringLiteral("several-monitors");
    case ExitUnsupportedConnection:
        return QStringLiteral("unsupported-connection");
    case ExitUsage:
        return QStringLiteral("usage-error");
    default:
        return QStringLiteral("unknown");
    }
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    result.arguments = arguments;
    bool help = false;
    // Every argument is read, even after a wrong one, so that a run meant to
    // be silent stays silent and still finds its log.
    for (const QString& argument : arguments) {
        QString value;
        bool hasValue = false;
        const Switch found = switchOf(argument, value, hasValue);
        QString problem;
        if (found == Switch::None)
            problem = QStringLiteral("unknown argument \"%1\"").arg(argument);
        else if (found == Switch::Log && value.isEmpty())
            problem = QStringLiteral("%1 needs a file: /l=<file>").arg(argument);
        else if (found != Switch::Log && hasValue)
            problem = QStringLiteral("%1 takes no value").arg(argument);
        if (!problem.isEmpty()) {
            if (result.error.isEmpty())
                result.error = problem;
            continue;
        }
        switch (found) {
        case Switch::Silent:
            result.silent = true;
            break;
        case Switch::Check:
            result.checkOnly = true;
            break;
        case Switch::Force:
            result.allowOlder = true;
            break;
        case Switch::Log:
            result.logFile = value;
            break;
        case Switch::Help:
            help = true;
            break;
        case Switch::None:
            break;
        }
    }
    // A check, a downgrade or a log without /s would be a half-silent run.
    if (result.error.isEmpty() && !result.silent &&
        (result.checkOnly || result.allowOlder || !result.logFile.isEmpty()))
        result.error = QStringLiteral("/c, /f and /l need /s");
    if (!result.error.isEmpty())
        result.mode = CommandLine::Mode::Error;
    else if (help)
        result.mode = CommandLine::Mode::Help;
    else if (result.silent)
        result.mode = CommandLine::Mode::Silent;
    return result;
}

bool runsWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        QString value;
        bool hasValue = false;
        if (argument.startsWith(QLatin1Char('/')) ||
            switchOf(argument, value, hasValue) != Switch::None)
            return true;
        // A word that follows no "-" argument is no value of a Qt option:
        // the run ends in the usage text.
        if (!argument.startsWith(QLatin1Char('-')) && (i == 1 || argv[i - 1][0] != '-'))
            return true;
    }
    return false;
}

QString usageText(const QString& programName) {
    return QStringLiteral(
               "%1 updates the firmware of an LM Series monitor.\n"
               "\n"
               "Usage: %1 [/s [/c] [/f] [/l=<file>]]\n"
               "       %1 /?\n"
               "\n"
               "  (none)     the window\n"
               "  /s         silent: no window and no message box; the same road as the window,\n"
               "             taking the download offers, updating the hub and then the scalar\n"
               "             when newer firmware applies, leaving the OSD settings as they are\n"
               "  /c         with /s: check only; nothing is written to the monitor\n"
               "  /f         with /s: an older scalar firmware may be written (a downgrade)\n"
               "  /l=<file>  with /s: appends a short result log to <file> (quote a path with\n"
               "             blanks: /l=\"C:\\My Logs\\panelup.log\"); one that cannot be\n"
               "             opened is a usage error\n"
               "  /?, /h     this text\n"
               "Switches may start with / or -, in any letter case; long forms: --silent,\n"
               "--check, --force, --log=<file>, --help.\n"
               "\n"
               "Exit codes:\n"
               "  0   updated, and the monitor reports the firmware written (with /c: an\n"
               "      update applies)\n"
               "  1   failed: a write failed, the monitor reports other firmware than\n"
               "      written, firmware could not be stored, the hub stopped answering, or an\n"
               "      unexpected error\n"
               "  3   nothing to do: the latest firmware is installed (with /c: no update\n"
               "      applies)\n"
               "  4   nothing supported found: no monitor, no USB hub, an unknown model, or\n"
               "      the hub maker's library missing\n"
               "  5   the update site or a firmware download failed; nothing was written to\n"
               "      the monitor\n"
               "  6   another copy of the program is running\n"
               "  7   a stored firmware file does not match its record (corrupted)\n"
               "  8   several monitors or USB hubs attached; nothing written\n"
               "  9   an LM0530 connected other than by HDMI (no updates over USB Type-C);\n"
               "      nothing written\n"
               "  64  usage error\n")
        .arg(programName);
}

QtArguments::QtArguments(int count, char** values)
    : argc(count), pointers_(values, values + count) {
#ifndef _WIN32
    // The window platforms of Linux need a display; an unattended run has
    // none. Qt takes the last -platform, so this one wins.
    if (runsWithoutWindow(count, values)) {
        static char platformOption[] = "-platform";
        static char offscreen[] = "offscreen";
        pointers_.push_back(platformOption);
        pointers_.push_back(offscreen);
        argc += 2;
    }
#endif
    pointers_.push_back(nullptr);
}

} // namespace app
