#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/CrashGuard.h"
#include "app/HighDpi.h"
#include "app/Panelup.h"
#include "app/ParentConsole.h"
#include "app/QtCodeSources.h"
#include "app/Resources.h"
#include "app/SilentRun.h"
#include "app/TraceLog.h"
#include "app/Translations.h"
#include "catalogue/DownloadFolder.h"
#include "platform/Platform.h"
#include "seams/Dialogs.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>

#include <cstdio>
#include <exception>

#include <memory>

namespace app {

namespace {

// The switches, read once Qt has taken its own options. Null for the window;
// an unattended run answers every box from here on.
std::unique_ptr<SilentRun> startSilentRun(const CommandLine& commandLine) {
    if (commandLine.mode != CommandLine::Mode::Silent)
        return nullptr;
    return std::make_unique<SilentRun>(commandLine);
}

} // namespace

int runPanelup(int argc, char** argv, platform::Platform& platform, const RunOptions& options) {
    confineQtToProgramFolder(argc, argv);
    prepareHighDpi();
    QtArguments qtArguments(argc, argv);
    QApplication app(qtArguments.argc, qtArguments.argv());
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments().mid(1));
    // /s, /? and a usage error speak on the console they were typed in (on
    // Windows a GUI program has none of its own); the window does not.
    if (commandLine.mode != CommandLine::Mode::Window)
        attachParentConsole();
    if (commandLine.mode == CommandLine::Mode::Help || commandLine.mode == CommandLine::Mode::Error)
        return tellUsage(commandLine);
    // The window speaks the user's language; the switches, the unattended
    // run and every log stay English, as administrators search for them.
    const QString language =
        commandLine.mode == CommandLine::Mode::Window ? installUserLanguage() : QString();
    // A result log that cannot be written is found before anything happens.
    if (commandLine.mode == CommandLine::Mode::Silent && !resultLogUsable(commandLine))
        return ExitUsage;

    const platform::InstanceState instance = platform.singleInstance().acquire("NV_Panelup");
    if (instance == platform::InstanceState::AlreadyRunning) {
        // Refused before any log is opened: the running copy's trace log and
        // result log stay as they are.
        if (commandLine.mode == CommandLine::Mode::Silent) {
            std::fprintf(stderr, "result=%d %s\n", int{ExitAlreadyRunning},
                         qPrintable(exitCodeName(ExitAlreadyRunning, commandLine.checkOnly)));
            return ExitAlreadyRunning;
        }
        seams::dialogs().message(
            seams::DialogIcon::Warning, seams::translate("main", "NV_Panelup is already running!"),
            seams::translate("main", "Only one instance can be run at a time!"));
        return 1;
    }
    if (commandLine.mode == CommandLine::Mode::Silent)
        guardUnattendedRun(commandLine.logFile.isEmpty()
                               ? QString()
                               : QFileInfo(commandLine.logFile).absoluteFilePath());
    const std::unique_ptr<SilentRun> silent = startSilentRun(commandLine);

    initTrace();
    qAddPostRoutine(closeLogFile);
    qDebug("this is a debug message");
    if (!language.isEmpty())
        qDebug("Window language: %s", qPrintable(language));
    if (instance == platform::InstanceState::Unavailable)
        qDebug("The single-instance marker could not be made; starting as if alone.");

    // A copy in a folder the user may change (unzipped into Downloads)
    // cannot keep its downloads, settings or DLLs from the user's programs.
    const QString unprotected =
        catalogue::whyProgramFolderUnprotected(QCoreApplication::applicationDirPath());
    if (!unprotected.isEmpty())
        qWarning() << "Program folder not protected:" << unprotected
                   << "- Panelup should be installed with the MSI";

    registerResources();
    platform::setCurrent(&platform);
    // Destroyed before the application object, so the window goes while Qt
    // is still there.
    const std::unique_ptr<Panelup> window = std::make_unique<Panelup>();
    mainWindow = window.get();
    mainWindow->configPath = QCoreApplication::applicationDirPath() + QStringLiteral("/Config.ini");
    if (!options.siteBaseUrl.isEmpty())
        mainWindow->siteBaseUrl = options.siteBaseUrl;
    if (!options.testSiteBaseUrl.isEmpty())
        mainWindow->testSiteBaseUrl = options.testSiteBaseUrl;
    if (!unprotected.isEmpty() && !silent)
        mainWindow->setInfo(seams::translate("main",
                                             "Other programs may change this copy's folder: "
                                             "install Panelup with the MSI."));
    int result = 0;
    if (silent) {
        try {
            result = silent->run(*mainWindow);
        } catch (const std::exception& error) {
            silent->logLine(QStringLiteral("reason: unexpected error: ") +
                            QString::fromLocal8Bit(error.what()));
            result = silent->finish(ExitFailed);
        } catch (...) {
            silent->logLine(QStringLiteral("reason: unexpected error"));
            result = silent->finish(ExitFailed);
        }
    } else {
        mainWindow->show();
        result = app.exec();
    }
    mainWindow = nullptr;
    return result;
}

} // namespace app
