#include "app/QtCodeSources.h"

#ifdef _WIN32

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <windows.h>

#include <cstring>
#include <string>

namespace app {

namespace {

// Every environment variable and option that Qt 5.15's Windows build of the
// modules we ship (core, gui, widgets, network, xml, the windows platform
// plugin, the Vista style) reads at run time, with what the program does
// with it. Dropped: it would load code from elsewhere (a plugin, a DLL by
// bare name), choose the platform, theme, style or input method, read a
// file the user names with the administrator's rights, or end the program
// part way through a write. Kept: it changes no more than how the window
// looks or what Qt logs, which the user may choose.
struct QtSetting {
    const char* name;
    bool dropped;
    const char* why;
};

const QtSetting qtVariables[] = {
    {"QT_PLUGIN_PATH", true, "plugin folders"},
    {"QT_QPA_PLATFORM_PLUGIN_PATH", true, "platform plugin folder"},
    {"QT_QPA_PLATFORM", true, "platform plugin and its options"},
    {"QT_QPA_PLATFORMTHEME", true, "theme plugin"},
    {"QT_STYLE_OVERRIDE", true, "style plugin"},
    {"QT_QPA_GENERIC_PLUGINS", true, "generic plugins"},
    {"QT_QPA_FONTDIR", true, "font files from a folder"},
    {"QT_IM_MODULE", true, "input method plugin"},
    {"QT_LOAD_TESTABILITY", true, "loads qttestability by bare name"},
    {"QT_OPENGL", true, "chooses the OpenGL library"},
    {"QT_OPENGL_DLL", true, "an OpenGL DLL by name"},
    {"QT_ANGLE_PLATFORM", true, "chooses the ANGLE back end"},
    {"QT_OPENGL_BUGLIST", true, "reads a file the user names"},
    {"QT_LOGGING_CONF", true, "reads a file the user names"},
    {"QT_FATAL_WARNINGS", true, "aborts at a warning, also mid-write"},
    {"QT_FATAL_CRITICALS", true, "aborts at a critical message"},
    {"QT_DEFAULT_THREAD_STACK_SIZE", true, "a tiny stack crashes Qt's threads"},
    {"QT_NO_CPU_FEATURE", true, "Qt refuses to start without a feature it was built for"},
    {"QT_HASH_SEED", true, "a known seed lets site data flood Qt's hashes"},
    {"QT_WINVER_OVERRIDE", true, "takes code paths meant for another Windows"},
    // Looks and logging only.
    {"QT_SCALE_FACTOR", false, "size"},
    {"QT_SCREEN_SCALE_FACTORS", false, "size"},
    {"QT_AUTO_SCREEN_SCALE_FACTOR", false, "size"},
    {"QT_ENABLE_HIGHDPI_SCALING", false, "size"},
    {"QT_SCALE_FACTOR_ROUNDING_POLICY", false, "size"},
    {"QT_DPI_ADJUSTMENT_POLICY", false, "size"},
    {"QT_USE_PHYSICAL_DPI", false, "size"},
    {"QT_DEVICE_PIXEL_RATIO", false, "size"},
    {"QT_FONT_DPI", false, "size"},
    {"QT_HIGHDPI_DISABLE_2X_IMAGE_LOADING", false, "which built-in image"},
    {"QT_NO_ANTIALIASING", false, "drawing"},
    {"QT_SUBPIXEL_AA_TYPE", false, "drawing"},
    {"QT_MAX_CACHED_GLYPH_SIZE", false, "drawing"},
    {"QT_HARFBUZZ", false, "text shaping"},
    {"QT_PAINT_FALLBACK_OVERLAY", false, "drawing"},
    {"QT_USE_NATIVE_WINDOWS", false, "window handles"},
    {"QT_QPA_UPDATE_IDLE_TIME", false, "repaint timing"},
    {"QT_QPA_DISABLE_ENHANCED_MOUSE", false, "mouse events"},
    {"QT_DBL_CLICK_DIST", false, "mouse events"},
    {"QT_DBL_TAP_DIST", false, "touch events"},
    {"QT_ANCHORLAYOUT_NO_SIMPLIFICATION", false, "layout"},
    {"QT_DESKTOP_STYLE_KEY", false, "names a style only among those built in"},
    {"QT_MESSAGE_PATTERN", false, "the trace log's handler formats its own lines"},
    {"QT_LOGGING_RULES", false, "which categories log"},
    {"QT_LOGGING_TO_CONSOLE", false, "where Qt's default output goes"},
    {"QT_ASSUME_STDERR_HAS_CONSOLE", false, "where Qt's default output goes"},
    {"QT_FORCE_STDERR_LOGGING", false, "where Qt's default output goes"},
    {"QT_QPA_VERBOSE", false, "logging"},
    {"QT_DEBUG_PLUGINS", false, "logging of the plugins from the program folder"},
    {"QT_FILE_SELECTORS", false, "the program uses no file selector"},
    {"QT_ENABLE_REGEXP_JIT", false, "speed"},
    {"QT_NO_MIME_CACHE", false, "speed"},
    {"QT_D3D_ADAPTER_INDEX", false, "unused: this Qt is built without OpenGL and RHI"},
    {"QT_D3D_NO_FLIP", false, "unused: this Qt is built without OpenGL and RHI"},
    // Windows' own: the temporary folder is checked by handle where it is
    // written (TraceLog); the rest only locate what Qt shows or names.
    {"TMP", false, "the trace log is opened and checked by handle"},
    {"TEMP", false, "the trace log is opened and checked by handle"},
    {"USERPROFILE", false, "home folder shown, not loaded from"},
    {"HOMEDRIVE", false, "home folder shown, not loaded from"},
    {"HOMEPATH", false, "home folder shown, not loaded from"},
    {"COMPUTERNAME", false, "lock file text; the program uses no QLockFile"},
    {"windir", false, "fonts of the FreeType engine, which this build does not use"},
    {"LANG", false, "locale"},
    // PATH: QSystemLibrary searches it only when asked to, which no module
    // built here does, and SetDefaultDllDirectories keeps LoadLibrary off it.
    {"PATH", false, "no DLL is searched along it"},
    {"PATHEXT", false, "QStandardPaths::findExecutable, unused"}};

// Qt's options. Dropped as above; each takes the next argument as its value
// (or joined to it with "=", as Qt also takes "-style=name"), except
// -testability.
const QtSetting qtOptions[] = {{"platformpluginpath", true, "platform plugin folder"},
                               {"platform", true, "platform plugin and its options"},
                               {"platformtheme", true, "theme plugin"},
                               {"plugin", true, "generic plugin"},
                               {"style", true, "style plugin"},
                               {"testability", true, "loads qttestability by bare name"},
                               {"stylesheet", true, "reads a file the user names"},
                               {"qwindowicon", true, "parses an image file the user names"},
                               // Looks, titles and session only.
                               {"qwindowgeometry", false, "window position"},
                               {"qwindowtitle", false, "window title"},

                               {"reverse", false, "layout direction"},
                               {"session", false, "session manager's key"},
                               {"widgetcount", false, "a count in Qt's output"},
                               {"qmljsdebugger", false, "no QML in this program"}};

bool takesNoValue(const char* option) {
    return std::strcmp(option, "testability") == 0;
}

// The option's name when arg is one of them, else nullptr; joined is set
// when the value is part of arg.
const char* codeChoosingOption(const char* arg, bool& joined) {
    if (arg[0] != '-')
        return nullptr;
    const char* name = arg[1] == '-' ? arg + 2 : arg + 1;
    for (const QtSetting& option : qtOptions) {
        const std::size_t length = std::strlen(option.name);
        if (option.dropped && std::strncmp(name, option.name, length) == 0 &&
            (name[length] == '\0' || name[length] == '=')) {
            joined = name[length] == '=' || takesNoValue(option.name);
            return option.name;
        }
    }
    return nullptr;
}

QString programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return QString();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const QString file = QDir::fromNativeSeparators(QString::fromStdWString(path));
    return file.left(file.lastIndexOf(QLatin1Char('/')));
}

} // namespace

void confineQtToProgramFolder(int& argc, char** argv) {
    for (const QtSetting& variable : qtVariables) {
        if (!variable.dropped)
            continue;
        qunsetenv(variable.name);
        SetEnvironmentVariableA(variable.name, nullptr);
    }
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        bool joined = false;
        if (codeChoosingOption(argv[i], joined)) {
            if (!joined && i + 1 < argc)
                ++i;
            continue;
        }
        argv[kept++] = argv[i];
    }
    for (int i = kept; i < argc; ++i)
        argv[i] = nullptr;
    argc = kept;
    const QString folder = programFolder();
    QCoreApplication::setLibraryPaths(folder.isEmpty() ? QStringList() : QStringList{folder});
}

} // namespace app

#else

namespace app {

void confineQtToProgramFolder(int&, char**) {}

} // namespace app

#endif
