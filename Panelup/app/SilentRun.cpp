#include "app/SilentRun.h"

#include "app/Panelup.h"
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

// What a box the window shows means for an unattended run. Matched in
// order on the title and, where given, the text, as the program's own
// translations show them.
struct Meaning {
    const char* context;
    const char* title;
    const char* text; // any text when null
    int code;
};

const char* const driverMissing = "Cannot found the Tarvex USB Hub driver installed!";

const Meaning meanings[] = {
    {"main", "NV_Panelup is already running!", nullptr, ExitAlreadyRunning},
    {"Panelup", "Can't update FW on multiple monitors", nullptr, ExitNothingSupported},
    {"Panelup", "Can't update FW on this monitor", nullptr, ExitNothingSupported},
    {"Panelup", "File checksum is not correct", nullptr, ExitStoredFirmwareBad},
    {"Panelup", "Firmware download failed", nullptr, ExitSiteFailed},
    // The catalogue copy could not be opened ("open error!").
    {"Panelup", "title", nullptr, ExitSiteFailed},
    {"HubConnection", "Fatal Error", driverMissing, ExitNothingSupported},
    {"Panelup", "Fatal Error", driverMissing, ExitNothingSupported},
    // The I2C bus configuration refused, the model's write parameters unknown.
    {"HubConnection", "Fatal Error", nullptr, ExitFailed},
    {"Panelup", "Fatal Error", nullptr, ExitFailed},
    {"Panelup", "Update Hub FW Failed", nullptr, ExitFailed},
    {"Panelup", "Update Scalar FW Failed", nullptr, ExitFailed},
    // A stored file found missing or altered when it was to be written.
    {"Panelup", "Update Firmware Failed", nullptr, ExitStoredFirmwareBad},
};

int codeOf(const SilentPolicy::Shown& box) {
    for (const Meaning& m : meanings) {
        if (box.title != QCoreApplication::translate(m.context, m.title))
            continue;
        if (m.text && !box.text.startsWith(QCoreApplication::translate(m.context, m.text)))
            continue;
        return m.code;
    }
    return -1;
}

bool isUpdateSuccess(const SilentPolicy::Shown& box) {
    return box.title == QCoreApplication::translate("Panelup", "Update Firmware");
}

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

} // namespace

void SilentPolicy::tell(const Shown& box) {
    shown.append(box);
    const QString line = QStringLiteral("box \"%1\": %2").arg(box.title.trimmed(), plain(box.text));
    qDebug().noquote() << "Silent run:" << line << box.answer;
    if (log)
        log(box.answer.isEmpty() ? line : line + QStringLiteral(" -> ") + box.answer);
}

void SilentPolicy::message(seams::DialogIcon, const QString& title, const QString& text) {
    tell({title, text, QString()});
}

// The download offers and the update confirmation: what the administrator
// started the run for.
bool SilentPolicy::question(const QString& title, const QString& text) {
    tell({title, text, QStringLiteral("Yes")});
    return true;
}

// The one choice is the OSD reset offer after a successful update: an
// unattended run leaves the user's monitor settings as they are.
bool SilentPolicy::choice(const QString& title, const QString& text, const QString&,
                          const QString& noLabel) {
    tell({title, text, noLabel});
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
            qWarning() << "Silent run: a window appeared and was closed:" << widget->windowTitle();
            logLine(QStringLiteral("window shown and closed: %1").arg(widget->windowTitle()));
            QMetaObject::invokeMethod(widget, qobject_cast<QDialog*>(widget) ? "reject" : "close",
                                      Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

int SilentRun::run(Panelup& window) {
    window.allowOlderFirmware = commandLine_.allowOlder;
    window.runStartupSequence();
    int code = afterStartup(window);
    if (code < 0 && commandLine_.checkOnly) {
        code = ExitUpdated;
    } else if (code < 0) {
        const int boxesBefore = policy_.shown.size();
        window.ui.btnUpdate->click();
        for (const QString& written : window.monitorWrites)
            logLine(QStringLiteral("wrote: ") + written);
        logMonitor(window, QStringLiteral("monitor now"));
        code = windowsShown_ ? ExitFailed : failureOf(boxesBefore, !window.monitorWrites.isEmpty());
        if (code < 0) {
            const bool succeeded = std::any_of(policy_.shown.begin() + boxesBefore,
                                               policy_.shown.end(), isUpdateSuccess);
            code = succeeded ? ExitUpdated : ExitFailed;
        }
    }
    return finish(code);
}

int SilentRun::finish(int code) {
    const QString result =
        QStringLiteral("result=%1 %2").arg(code).arg(exitCodeName(code, commandLine_.checkOnly));
    qDebug().noquote() << "Silent run:" << result;
    logLine(result);
    log_.close();
    return code;
}

int SilentRun::afterStartup(Panelup& window) {
    const discovery::MonitorInventory& inventory = window.inventory;
    if (!exit_.requested)
        logLine(QStringLiteral("window: ") + plain(window.ui.lblInfo->text()));
    if (!window.modelName.isEmpty())
        logMonitor(window, QStringLiteral("monitor"));
    else
        logLine(QStringLiteral("monitor: none supported (hubs %1, monitors %2, paired %3)")
                    .arg(inventory.hubs.size())
                    .arg(inventory.monitors.size())
                    .arg(inventory.pairedCount));
    if (windowsShown_)
        return ExitFailed;
    if (exit_.requested) {
        // The refusal is the last box told.
        for (auto box = policy_.shown.crbegin(); box != policy_.shown.crend(); ++box)
            if (codeOf(*box) >= 0)
                return codeOf(*box);
        return ExitFailed;
    }
    const int failure = failureOf(0, false);
    if (failure >= 0)
        return failure;
    if (inventory.pairedCount <= 0)
        return ExitNothingSupported;
    if (!window.siteReachable || !window.catalogueFetched) {
        logLine(window.siteReachable ? QStringLiteral("update site: the catalogue was not fetched")
                                     : QStringLiteral("update site: not reachable"));
        return ExitSiteFailed;
    }
    if (window.ui.btnUpdate->isEnabled() && (window.hubUpdateNeeded || window.scalarUpdateNeeded))
        return -1;
    return takeOverride(window) ? -1 : ExitNothingToDo;
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

// The first box from `from` on that tells a failure; a reason that would say
// nothing was changed becomes a plain failure once something was.
int SilentRun::failureOf(int from, bool changed) const {
    for (int i = from; i < policy_.shown.size(); ++i) {
        const int code = codeOf(policy_.shown.at(i));
        if (code >= 0)
            return changed ? ExitFailed : code;
    }
    return -1;
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
    if (commandLine.silent) {
        SilentRun run(commandLine);
        if (!help)
            run.logLine(QStringLiteral("usage error: ") + commandLine.error);
        return run.finish(code);
    }
#ifdef _WIN32
    // A GUI program has no console to write to.
    seams::dialogs().message(help ? seams::DialogIcon::Information : seams::DialogIcon::Warning,
                             program, text);
#endif
    return code;
}

void SilentRun::logLine(const QString& line) {
    if (!log_.isOpen())
        return;
    log_.write(line.toUtf8() + '\n');
    log_.flush();
}

} // namespace app
