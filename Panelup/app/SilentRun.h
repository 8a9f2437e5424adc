#pragma once

#include "app/CommandLine.h"
#include "app/RunVerdict.h"
#include "seams/Dialogs.h"
#include "seams/ProcessExit.h"

#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace app {

class Panelup;

// The answers an administrator means, given to the window's message boxes
// without showing them: download offers and the update confirmation Yes,
// the closing OSD reset offer No, every other box its one button.
class SilentPolicy : public seams::Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
        QString answer; // empty for a box with one button
    };

    void message(seams::DialogIcon icon, const seams::UiText& title,
                 const seams::UiText& text) override;
    bool question(const seams::UiText& title, const seams::UiText& text) override;
    bool choice(const seams::UiText& title, const seams::UiText& text,
                const seams::UiText& yesLabel, const seams::UiText& noLabel) override;

    // In English, whatever the user's language.
    QList<Shown> shown;
    // Where each box is told, as an English-reading user would have read it.
    std::function<void(const QString&)> log;

private:
    void tell(const Shown& box);
};

// Instead of ending the process after a start-up refusal: noted, so the run
// can end with its own exit code.
class SilentExit : public seams::ProcessExit {
public:
    void exit(int code) override;
    bool requested = false;
};

// The unattended run: the window's start-up sequence and update flow with
// the boxes answered by the policy and the window never shown, ending in an
// exit code and, with /l, a result log. Made once the application object
// exists; from then on it answers every box of the process.
class SilentRun : public QObject {
public:
    explicit SilentRun(const CommandLine& commandLine);
    ~SilentRun() override;
    SilentRun(const SilentRun&) = delete;
    SilentRun& operator=(const SilentRun&) = delete;

    // Start-up, then the update when one applies (not with /c). Returns the
    // exit code.
    int run(Panelup& window);
    // Ends a run that did not get as far as the window; returns code.
    int finish(int code);
    // One line of the result log.
    void logLine(const QString& line);

protected:
    // Any window that appears is noted and closed at once: an unattended run
    // must never wait for a person.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void logStartup(Panelup& window, const StartupOutcome& startup);
    bool takeOverride(Panelup& window);
    bool scalarAfterHub(const Panelup& window);
    ReadBack readBack(Panelup& window);
    void logMonitor(const Panelup& window, const QString& label);

    CommandLine commandLine_;
    SilentPolicy policy_;
    SilentExit exit_;
    QFile log_;
    int windowsShown_ = 0;
};

// /? and wrong switches: the usage text, in a box on Windows (never in a run
// meant to be silent, which must not wait for a person) and on the console
// elsewhere. Returns 0 for /?, ExitUsage otherwise.
int tellUsage(const CommandLine& commandLine);

// False (and why on the console) when the /l file cannot be opened for
// appending; nothing is written to it.
bool resultLogUsable(const CommandLine& commandLine);

} // namespace app
