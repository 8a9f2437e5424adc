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

// What Qt 5.15 reads from the environment to find, choose or load plugins
// and libraries: platform, its plugin folder, theme, style, input method,
// generic plugins, fonts and the OpenGL library.
const char* const codeChoosingVariables[] = {"QT_PLUGIN_PATH",    "QT_QPA_PLATFORM_PLUGIN_PATH",
                                             "QT_QPA_PLATFORM",   "QT_QPA_PLATFORMTHEME",
                                             "QT_STYLE_OVERRIDE", "QT_QPA_GENERIC_PLUGINS",
                                             "QT_QPA_FONTDIR",    "QT_IM_MODULE",
                                             "QT_OPENGL",         "QT_OPENGL_DLL",
                                             "QT_ANGLE_PLATFORM", "QT_OPENGL_BUGLIST"};

// Qt's own options with the same effect, each followed by its value (or
// joined to it with "=", as Qt also takes "-style=name").
const char* const codeChoosingOptions[] = {"platformpluginpath", "platform", "platformtheme",
                                           "plugin", "style"};

// The option's name when arg is one of them, else nullptr; joined is set
// when the value is part of arg.
const char* codeChoosingOption(const char* arg, bool& joined) {
    if (arg[0] != '-')
        return nullptr;
    const char* name = arg[1] == '-' ? arg + 2 : arg + 1;
    for (const char* option : codeChoosingOptions) {
        const std::size_t length = std::strlen(option);
        if (std::strncmp(name, option, length) == 0 &&
            (name[length] == '\0' || name[length] == '=')) {
            joined = name[length] == '=';
            return option;
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
    for (const char* name : codeChoosingVariables) {
        qunsetenv(name);
        SetEnvironmentVariableA(name, nullptr);
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
