// What the window does when it is first shown: takes stock of the monitors
// and hubs, reads the settings, identifies the model, checks the stored
// firmware and offers downloads, then leaves the Update button as the
// firmware status decides, or refuses and ends the program.
#include "app/Panelup.h"

#include "app/StoredFirmwareCheck.h"
#include "seams/Deployment.h"
#include "seams/Dialogs.h"
#include "seams/ProcessExit.h"
#include "seams/WindowText.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopWidget>
#include <QSettings>
#include <QShowEvent>

namespace app {

namespace {

using seams::DialogIcon;

// Output technology of an HDMI connection, in Windows' numbering.
constexpr int32_t hdmiOutput = 5;

using seams::translate;
using seams::UiText;

UiText supportSoftwareLink() {
    return UiText::verbatim(
        QStringLiteral("<a href=\"%1\">%1</a>").arg(seams::deployment::supportSoftwareUrl()));
}

class StartupSequence {
public:
    explicit StartupSequence(Panelup& window) : w_(window) {}

    StartupOutcome run() {
        body();
        o_.siteReachable = w_.siteReachable;
        o_.catalogueFetched = w_.catalogueFetched;
        o_.storeProblem = w_.storeProblem;
        o_.updateOffered = w_.ui.btnUpdate->isEnabled();
        o_.downgradeOffered = !w_.ui.chkOverride->isHidden();
        return o_;
    }

private:
    void body() {
        w_.ui.chkOverride->hide();
        w_.ui.bar1->setValue(0);

        adaptToDpi();

        qDebug() << "Start-up: monitor inventory";
        w_.inventory.refreshInventory();
        o_.hubs = static_cast<int>(w_.inventory.hubs.size());
        o_.monitors = static_cast<int>(w_.inventory.monitors.size());
        o_.paired = w_.inventory.pairedCount;

        readOthers();
        if (w_.useTestSite)
            w_.siteBaseUrl = w_.testSiteBaseUrl;
        w_.siteReachable = w_.checkUpdateSite();
        qDebug() << "Start-up: site" << w_.siteBaseUrl << "reachable" << w_.siteReachable;

        qDebug() << "Start-up: hubs" << w_.inventory.hubs.size() << "paired monitors"
                 << w_.inventory.pairedCount;
        // Several hubs are refused even with MultiMonitor: the update would
        // not know which monitor it writes.
        if (w_.inventory.hubs.size() > 1)
            return refuseMultipleMonitors(StartupEnd::SeveralHubs);
        if (w_.inventory.pairedCount <= 0) {
            qDebug() << "Start-up: no monitor paired with a hub";
            o_.end = StartupEnd::NoHubPaired;
            w_.showHubNotDetected();
            return;
        }
        if (w_.inventory.pairedCount > 1 && !w_.multiMonitor)
            return refuseMultipleMonitors(StartupEnd::SeveralMonitors);

        if (!identifyModel())
            return refuse(
                StartupEnd::UnknownModel, DialogIcon::Critical,
                translate("Panelup", "Can't update FW on this monitor"),
                translate("Panelup",
                          "The firmware update is not supported currently on this monitor."));
        w_.ui.lblModelName->setText(w_.modelName);

        w_.readFirmwareRecord();
        logRecord();
        offerFirstDownload();
        if (!storedFirmwareMatchesRecord())
            return;

        qDebug() << "Start-up: firmware status";
        readStatus();

        if (w_.siteReachable && !offerNewerFirmware())
            return;
        nameStoreProblem();

        warnAboutConnection();
        qDebug() << "Start-up: done";
    }

private:
    void adaptToDpi() {
        // The desktop's whole-number DPI, not the screen's fractional one:
        // the form's factors must come out as on the systems it was laid
        // out for (a 120.5 DPI screen scales by 1.25).
        const QDesktopWidget* desktop = QApplication::desktop();
        if (!desktop)
            return;
        const double sx = desktop->logicalDpiX() / 96.0;
        const double sy = desktop->logicalDpiY() / 96.0;
        qDebug() << "Start-up: DPI factors" << sx << sy;
        if (sx != 1.0 || sy != 1.0)
            w_.scaleToDpi(sx, sy);
    }

    // Any text but an empty one, "0" and "false" (in any case) is true.
    static bool flag(const QSettings& settings, const QString& key) {
        return settings.value(key, QString()).toBool();
    }

    void readOthers() {
        const QSettings settings(w_.configPath, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError)
            qWarning() << "Config.ini could not be read, every setting takes its default:"
                       << w_.configPath;
        w_.allowDowngrade =
            flag(settings, QStringLiteral("Others/AllowDowngrade")) || w_.allowOlderFirmware;
        w_.useTestSite = flag(settings, QStringLiteral("Others/Site"));
        w_.multiMonitor = flag(settings, QStringLiteral("Others/MultiMonitor"));
        qDebug() << "Start-up: AllowDowngrade" << w_.allowDowngrade << "Site" << w_.useTestSite
                 << "MultiMonitor" << w_.multiMonitor;
    }

    // Every paired monitor is tried; with several, the last one identified
    // is the one worked on.
    bool identifyModel() {
        for (const discovery::MonitorRecord& monitor : w_.inventory.monitors) {
            if (monitor.hubPaired != 1)
                continue;
            std::shared_ptr<models::ILCDModel> found;
            if (!models::findModel(w_.modelList, monitor.edid.displayName,
                                   monitor.edid.serialNumber, found))
                continue;
            w_.currentModel = found;
            w_.modelName = QString::fromUtf8(found->name().c_str());
            w_.currentMonitor = monitor;
        }
        qDebug() << "Start-up: model" << w_.modelName;
        return !w_.modelName.isEmpty();
    }

    void logRecord() const {
        qDebug() << "Start-up: record" << w_.scalarBinFile << w_.scalarBinCheckSum << w_.hubBinFile
                 << w_.hubBinCheckSum;
    }

    std::string model() const { return w_.modelName.toUtf8().toStdString(); }

    void offerFirstDownload() {
        if (!w_.scalarBinFile.isEmpty() || !w_.hubBinFile.isEmpty() || !w_.siteReachable)
            return;
        if (!seams::dialogs().question(
                translate("Panelup", "Confirm to download new version "),
                translate("Panelup", "A new version is available.<br>Do you want to download the "
                                     "lastest firmware?")))
            return;
        qDebug() << "Start-up: first download";
        w_.refreshCatalogue(model(), false);
        tellFailedDownloads();
        logRecord();
    }

    // A stored file that is missing or does not match its record never
    // reaches the Update button: the user is sent to the support page.
    bool storedFirmwareMatchesRecord() {
        const StoredFirmwareFault fault =
            checkStoredFirmware(w_.programFolder, w_.scalarBinFile, w_.scalarBinCheckSum,
                                w_.hubBinFile, w_.hubBinCheckSum);
        if (fault == StoredFirmwareFault::None)
            return true;
        const UiText which =
            fault == StoredFirmwareFault::Scalar
                ? translate("Panelup", "The scalar firmware file is either not found or "
                                       "corrupted,<br/> please download correct file from<br/> ")
                : translate("Panelup", "The Hub firmware file is either not found or "
                                       "corrupted,<br/> please download correct file from<br/> ");
        refuse(StartupEnd::StoredFirmwareBad, DialogIcon::Information,
               translate("Panelup", "File checksum is not correct"),
               which + supportSoftwareLink() + UiText::verbatim(QStringLiteral(".")));
        return false;
    }

    // False when the program was ended.
    bool offerNewerFirmware() {
        w_.ui.bar1->setValue(0);
        if (!w_.refreshCatalogue(model(), true)) {
            // A catalogue refused for its signature is told as a failed
            // download; otherwise failedDownloads is empty here.
            tellFailedDownloads();
            return true;
        }
        if (!seams::dialogs().question(
                translate("Panelup", "Confirm to download new version "),
                translate("Panelup", "The new firmware version is found.<br>Do you want to "
                                     "download the lastest firmware?")))
            return true;
        qDebug() << "Start-up: newer firmware download";
        w_.refreshCatalogue(model(), false);
        tellFailedDownloads();
        logRecord();
        // The files just stored are checked like those of an earlier run.
        if (!storedFirmwareMatchesRecord())
            return false;
        readStatus();
        return true;
    }

    // A download that did not arrive whole and right changed nothing; the
    // user hears of it once, and the program goes on with what it has.
    void tellFailedDownloads() {
        for (const QString& file : w_.failedDownloads)
            if (!o_.failedDownloads.contains(file))
                o_.failedDownloads << file;
        if (w_.failedDownloads.isEmpty() || failureTold_)
            return;
        failureTold_ = true;
        qDebug() << "Start-up: downloads failed" << w_.failedDownloads;
        seams::dialogs().message(
            DialogIcon::Information, translate("Panelup", "Firmware download failed"),
            translate(
                "Panelup",
                "The download of %1 failed.<br>The firmware already in place was kept. Please try "
                "again later.")
                .arg(w_.failedDownloads.join(QStringLiteral(", ")).toHtmlEscaped()));
    }

    void warnAboutConnection() {
        if (w_.currentModel->name() != "LM0530" || w_.currentMonitor.outputTechnology == hdmiOutput)
            return;
        qDebug() << "Start-up: LM0530 output technology" << w_.currentMonitor.outputTechnology;
        o_.connectionUnsupported = true;
        seams::dialogs().message(
            DialogIcon::Information, translate("Panelup", "Update firmware warning"),
            translate(
                "Panelup",
                "WARNING!<br>DOES NOT support firmware updates via USB Type-C port. Suggest to "
                "connect to HDMI / DP port or USB Type-B port for updates."));
    }

    void refuseMultipleMonitors(StartupEnd end) {
        refuse(end, DialogIcon::Critical,
               translate("Panelup", "Can't update FW on multiple monitors"),
               translate(
                   "Panelup",
                   "The firmware update on multiple monitors is not supported currently.<br>Please "
                   "disconnect other USB cables from the monitor before updating firmware."));
    }

    void refuse(StartupEnd end, DialogIcon icon, const UiText& title, const UiText& text) {
        qDebug() << "Start-up: refused:" << title.english();
        o_.end = end;
        seams::dialogs().message(icon, title, text);
        seams::processExit().exit(0);
    }

    void readStatus() {
        o_.statusRead = w_.showFirmwareStatus();
        o_.hubFailure = w_.queries().lastConnectionFailure();
        if (!o_.statusRead)
            qDebug() << "Start-up: the hub did not answer the status query";
    }

    // Firmware that could not be stored leaves nothing to update; the
    // notice says why rather than only that no file was found.
    void nameStoreProblem() {
        if (w_.storeProblem.isEmpty() || w_.ui.btnUpdate->isEnabled())
            return;
        qDebug() << "Start-up: firmware not stored:" << w_.storeProblem;
        w_.setInfo(UiText::verbatim(
                       QStringLiteral("<img width=20 height=20 src=\":/Panelup/cross_mark\"> ")) +
                   translate("Panelup", "The firmware could not be stored: %1.")
                       .arg(w_.storeProblem.toHtmlEscaped()));
    }

    Panelup& w_;
    bool failureTold_ = false;
    StartupOutcome o_;
};

} // namespace

void Panelup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A spontaneous show event comes from the window system, for instance
    // when the minimised window is restored: the program has started already.
    if (event->spontaneous())
        return;
    runStartupSequence();
}

StartupOutcome Panelup::runStartupSequence() {
    return StartupSequence(*this).run();
}

} // namespace app
