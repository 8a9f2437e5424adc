#include "app/SilentRun.h"

#include "app/Panelup.h"
#include "app/ParentConsole.h"
#include "app/RunVerdict.h"
#include "catalogue/FirmwareChecks.h"
#include "catalogue/FirmwareStatus.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace app {

namespace {

// A box's or label's text as the user reads it, on one line.
QString plain(const QString& text) {
    QString result =
        Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    // An image (the window's cross and question marks) leaves a placeholder.
    result.remove(QChar(QChar::ObjectReplacementCharacter));
    for (const QChar c : {QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator),
                          QChar(QChar::Nbsp), QChar('\n'), QChar('\r'), QChar('\t')})
        result.replace(c, QLatin1Char(' '));
    return result.simplified();
}

QString hubVersionText(int major, int minor) {
    return QStringLiteral("%1.%2").arg(major).arg(minor, 2, 16, QLatin1Char('0'));
}

QString scalarVersionText(int major, int minor) {
    return QStringLiteral("M%1 REV %2").arg(major, 3, 16, QLatin1Char('0')).arg(minor);
}

QString scalarVersionText(int packed) {
    return scalarVersionText(packed >> 8, packed & 0xFF);
}

} // namespace

void SilentPolicy::tell(const Shown& box) {
    shown.append(box);
    const QString line = QStringLiteral("box \"%1\": %2").arg(box.title.trimmed(), plain(box.text));
    qDebug().noquote() << "Silent run:" << line << box.answer;
    if (log)
        log(box.answer.isEmpty() ? line : line + QStringLiteral(" -> ") + box.answer);
}

void SilentPolicy::message(seams::DialogIcon, const seams::UiText& title,
                           const seams::UiText& text) {
    tell({title.english(), text.english(), QString()});
}

// The download offers and the update confirmation: what the administrator
// started the run for.
bool SilentPolicy::question(const seams::UiText& title, const seams::UiText& text) {
    tell({title.english(), text.english(), QStringLiteral("Yes")});
    return true;
}

// The one choice is the OSD reset offer after a successful update: an
// unattended run leaves the user's monitor settings as they are.
bool SilentPolicy::choice(const seams::UiText& title, const seams::UiText& text,
                          const seams::UiText&, const seams::UiText& noLabel) {
    tell({title.english(), text.english(), noLabel.english()});
    return false;
}

void SilentExit::exit(int code) {
    qDebug() << "Silent run: the window would end the program with" << code;
    requested = true;
}

SilentRun::SilentRun(const CommandLine& commandLine) : commandLine_(commandLine) {
    policy_.log = [this](const QString& line) { logLine(line); };
    seams::setDialogs(&policy_);
    seams::setProcessExit(&exit_);
    qApp->installEventFilter(this);
    if (!commandLine_.logFile.isEmpty()) {
        log_.setFileName(QFileInfo(commandLine_.logFile).absoluteFilePath());
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            qWarning() << "Silent run: the result log cannot be written:" << log_.fileName()
                       << log_.errorString();
    }
    logLine(QStringLiteral("%1 %2: %3")
                .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                     QDateTime::currentDateTime().toString(Qt::ISODate),
                     commandLine_.arguments.join(QLatin1Char(' '))));
}

SilentRun::~SilentRun() {
    qApp->removeEventFilter(this);
    seams::setProcessExit(nullptr);
    seams::setDialogs(nullptr);
}

bool SilentRun::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            ++windowsShown_;
            const QString title = seams::englishTitle(widget);
            qWarning() << "Silent run: a window appeared and was closed:" << title;
            logLine(QStringLiteral("window shown and closed: %1").arg(title));
            QMetaObject::invokeMethod(widget, qobject_cast<QDialog*>(widget) ? "reject" : "close",
                                      Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

int SilentRun::run(Panelup& window) {
    window.allowOlderFirmware = commandLine_.allowOlder;
    window.scalarAfterHub = [this, &window] { return scalarAfterHub(window); };
    RunFacts facts;
    facts.checkOnly = commandLine_.checkOnly;
    facts.startup = window.runStartupSequence();
    logStartup(window, facts.startup);
    facts.updateApplies =
        facts.startup.updateOffered && (window.hubUpdateNeeded || window.scalarUpdateNeeded);
    Verdict verdict = verdictOf(facts);
    if (verdict.code == ExitNothingToDo && takeOverride(window)) {
        facts.updateApplies = true;
        verdict = verdictOf(facts);
    }
    if (verdict.code == ExitUpdated && !commandLine_.checkOnly) {
        facts.update = window.runUpdate();
        for (const QString& written : window.monitorWrites)
            logLine(QStringLiteral("wrote: ") + written);
        facts.readBack = readBack(window);
        logMonitor(window, QStringLiteral("monitor now"));
        verdict = verdictOf(facts);
    }
    if (windowsShown_)
        verdict = {ExitFailed, QStringLiteral("a window appeared")};
    if (!verdict.reason.isEmpty()) {
        logLine(QStringLiteral("reason: ") + verdict.reason);
        std::fprintf(stderr, "reason: %s\n", verdict.reason.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    return finish(verdict.code);
}

int SilentRun::finish(int code) {
    const QString result =
        QStringLiteral("result=%1 %2").arg(code).arg(exitCodeName(code, commandLine_.checkOnly));
    qDebug().noquote() << "Silent run:" << result;
    logLine(result);
    // The console too (on Windows the parent's, when it was started from
    // one), on a line of its own after the trace log's path.
    std::fprintf(stdout, "\n%s\n", result.toLocal8Bit().constData());
    std::fflush(stdout);
    log_.close();
    return code;
}

void SilentRun::logStartup(Panelup& window, const StartupOutcome& startup) {
    logLine(QStringLiteral("found: monitors %1, hubs %2, paired %3")
                .arg(startup.monitors)
                .arg(startup.hubs)
                .arg(startup.paired));
    if (!exit_.requested)
        logLine(QStringLiteral("window: ") + plain(seams::englishText(window.ui.lblInfo)));
    if (!window.modelName.isEmpty())
        logMonitor(window, QStringLiteral("monitor"));
    else
        logLine(QStringLiteral("monitor: none supported"));
}

// After a hub write: the scalar only when its stored file is newer, or
// older with /f. Config.ini's AllowDowngrade alone never rewrites it here.
bool SilentRun::scalarAfterHub(const Panelup& window) {
    const int installed =
        catalogue::packedVersion(window.scalarVersionMajor, window.scalarVersionMinor);
    const int stored = catalogue::storedScalarVersion(window.programFolder, window.scalarBinFile);
    if (stored > installed || (commandLine_.allowOlder && stored < installed))
        return true;
    logLine(QStringLiteral("scalar firmware left as it is: stored %1, installed %2")
                .arg(scalarVersionText(stored), scalarVersionText(installed)));
    return false;
}

// What the monitor reports now, asked afresh, against the stored files.
ReadBack SilentRun::readBack(Panelup& window) {
    ReadBack result;
    int hub = 0;
    result.hubAnswered = window.queries().queryHubFirmware(hub);
    result.hub = catalogue::comparableHubVersion(hub, window.modelName);
    int major = 0;
    int minor = 0;
    result.scalarAnswered = window.queries().queryScalarFirmware(major, minor, false);
    result.scalar = catalogue::packedVersion(major, minor);
    result.storedHub =
        catalogue::storedHubVersion(window.programFolder, window.hubBinFile, window.modelName);
    result.storedScalar =
        catalogue::storedScalarVersion(window.programFolder, window.scalarBinFile);
    if (result.hubAnswered) {
        window.hubVersionMajor = result.hub >> 8;
        window.hubVersionMinor = result.hub & 0xFF;
    }
    if (result.scalarAnswered) {
        window.scalarVersionMajor = major;
        window.scalarVersionMinor = minor;
    }
    return result;
}

// /f: the override box ticked as a user would, when the window offers it and
// the stored scalar firmware is older than the installed one. An equal one is
// not written again: there is nothing to do.
bool SilentRun::takeOverride(Panelup& window) {
    QCheckBox* box = window.ui.chkOverride;
    if (!commandLine_.allowOlder || box->isHidden() || !box->isEnabled() ||
        !window.scalarUpdateNeeded)
        return false;
    const int installed =
        catalogue::packedVersion(window.scalarVersionMajor, window.scalarVersionMinor);
    const int stored = catalogue::storedScalarVersion(window.programFolder, window.scalarBinFile);
    if (stored >= installed)
        return false;
    logLine(QStringLiteral("older firmware allowed (/f): scalar %1 over %2")
                .arg(scalarVersionText(stored >> 8, stored & 0xFF),
                     scalarVersionText(window.scalarVersionMajor, window.scalarVersionMinor)));
    box->click();
    return window.ui.btnUpdate->isEnabled();
}

void SilentRun::logMonitor(const Panelup& window, const QString& label) {
    logLine(QStringLiteral("%1: %2, serial %3, hub firmware %4, scalar firmware %5")
                .arg(label, window.modelName,
                     QString::fromStdString(window.currentMonitor.edid.serialNumber).trimmed(),
                     hubVersionText(window.hubVersionMajor, window.hubVersionMinor),
                     scalarVersionText(window.scalarVersionMajor, window.scalarVersionMinor)));
}

int tellUsage(const CommandLine& commandLine) {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const bool help = commandLine.mode == CommandLine::Mode::Help;
    QString text = usageText(program);
    if (!help)
        text = program + QStringLiteral(": ") + commandLine.error + QStringLiteral("\n\n") + text;
    std::fputs(text.toLocal8Bit().constData(), help ? stdout : stderr);
    std::fflush(help ? stdout : stderr);
    const int code = help ? 0 : ExitUsage;
    // Help and usage errors name no outcome, and they come before the
    // single-instance lock: a /l log is left alone (a running copy may be
    // writing it). With /s the console says it all, and no box is shown.
    if (commandLine.silent) {
        if (!help) {
            std::fprintf(stderr, "result=%d %s\n", code,
                         qPrintable(exitCodeName(code, commandLine.checkOnly)));
            std::fflush(stderr);
        }
        return code;
    }
#ifdef _WIN32
    // A GUI program started from Explorer or a shortcut has no console to
    // write to; one started from cmd or PowerShell has its parent's.
    if (!parentConsoleAttached())
        seams::dialogs().message(help ? seams::DialogIcon::Information : seams::DialogIcon::Warning,
                                 seams::UiText::verbatim(program), seams::UiText::verbatim(text));
#endif
    return code;
}

bool resultLogUsable(const CommandLine& commandLine) {
    if (commandLine.logFile.isEmpty())
        return true;
    QFile file(QFileInfo(commandLine.logFile).absoluteFilePath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    std::fputs(QStringLiteral("%1: the result log cannot be opened: %2 (%3)\nresult=%4 %5\n")
                   .arg(program, QDir::toNativeSeparators(file.fileName()), file.errorString())
                   .arg(ExitUsage)
                   .arg(exitCodeName(ExitUsage, false))
                   .toLocal8Bit()
                   .constData(),
               stderr);
    std::fflush(stderr);
    return false;
}

void SilentRun::logLine(const QString& line) {
    if (!log_.isOpen())
        return;
    log_.write(line.toUtf8() + '\n');
    log_.flush();
}

} // namespace app
