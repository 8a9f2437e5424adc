#include "update/UpdateFlow.h"

#include "catalogue/SiteKeys.h"

#include "Hubbridge.h"
#include "platform/Platform.h"
#include "seams/Dialogs.h"
#include "seams/Sleeper.h"
#include "seams/WindowText.h"
#include "update/FirmwareImage.h"
#include "update/ScalarWriteParameters.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

namespace update {

namespace {

// Before the monitor is asked again: the hub and the scalar restart after a
// write, the scalar also after a factory reset.
constexpr unsigned long kAfterHubWriteMs = 1300;
constexpr unsigned long kAfterScalarWriteMs = 8000;
constexpr unsigned long kAfterOsdResetMs = 3000;

using seams::translate;
using seams::UiText;

UiText busyText() {
    return UiText::verbatim(
               QStringLiteral("<img width=20 height=20 src=\":/Panelup/question_mark\"> ")) +
           translate(
               "Panelup",
               "The update process may take several minutes. Please do not remove the USB cable "
               "connection or turn off the monitor's power while updating.");
}

UiText writeFailedText() {
    return UiText::verbatim(
               QStringLiteral("<img width=20 height=20 src=\":/Panelup/cross_mark\">")) +
           translate(
               "Panelup",
               "The detection of USB Hub is not configured correctly, please close the "
               "application and retry again, then unplug & replug the USB cable to try again.");
}

UiText fileRefusedText() {
    return UiText::verbatim(
               QStringLiteral("<img width=20 height=20 src=\":/Panelup/cross_mark\"> ")) +
           translate("Panelup",
                     "The firmware file is missing or damaged. Please close and restart the "
                     "application so that it can download it again.");
}

void warn(const UiText& title, const UiText& text) {
    seams::dialogs().message(seams::DialogIcon::Warning, title, text);
}

// Keeps the computer awake and the progress view reachable for exactly as
// long as the update runs, whichever way it ends.
class UpdateScope {
public:
    UpdateScope(platform::KeepAwake& keepAwake, UpdateView& view) : keepAwake_(keepAwake) {
        keepAwake_.begin();
        setProgressView(&view);
    }
    ~UpdateScope() {
        setProgressView(nullptr);
        keepAwake_.end();
    }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    platform::KeepAwake& keepAwake_;
};

class UpdateFlow {
public:
    explicit UpdateFlow(UpdateFlowContext& context) : c_(context) {}

    UpdateOutcome run() {
        if (!confirmed()) {
            qDebug() << "Update: not confirmed";
            return outcome_;
        }
        if (!*c_.hubUpdateNeeded && !*c_.scalarUpdateNeeded) {
            qDebug() << "Update: nothing to write";
            outcome_.end = UpdateEnd::NothingToWrite;
            return outcome_;
        }
        UpdateScope scope(*c_.keepAwake, view());
        showBusy();
        c_.repairMonitorEdids();
        if (*c_.hubUpdateNeeded && !writeHub())
            return outcome_;
        // The status refresh after the hub write has decided this anew.
        if (*c_.scalarUpdateNeeded && !scalarHeldBack() && !writeScalar())
            return outcome_;
        outcome_.end = UpdateEnd::Completed;
        view().setExitEnabled(true);
        offerOsdReset();
        return outcome_;
    }

private:
    UpdateView& view() const { return *c_.view; }

    bool scalarHeldBack() {
        if (!outcome_.hubWritten || !c_.scalarAfterHub || c_.scalarAfterHub())
            return false;
        qDebug() << "Update: the scalar firmware is left as it is after the hub write";
        outcome_.scalarHeldBack = true;
        return true;
    }

    bool confirmed() const {
        const UiText text =
            view().overrideChecked()
                ? translate("Panelup",
                            "Are you sure you want to downgrade your firmware to the old version?")
                : translate("Panelup",
                            "Are you sure you want to update your firmware to the latest version?");
        return seams::dialogs().question(translate("Panelup", "Confirm to update firmware"), text);
    }

    void showBusy() {
        view().setUpdateEnabled(false);
        view().setExitEnabled(false);
        view().setInfo(busyText());
        QCoreApplication::processEvents();
    }

    // Without the hub library CloseDevice answers 0; the buttons stay off.
    bool driverPresent() {
        if (CloseDevice() != 0)
            return true;
        qDebug() << "Update: the hub library is missing";
        outcome_.end = UpdateEnd::HubLibraryMissing;
        warn(translate("Panelup", "Fatal Error"),
             translate("Panelup", "Cannot found the Tarvex USB Hub driver installed!"));
        return false;
    }

    // A missing, empty or altered file is never handed to a writer: it
    // could leave the monitor without working firmware.
    // With site keys built in, a file is written only as the signed
    // catalogue described it; without, the site's own checksum is all
    // there is, as before signing.
    static std::optional<QString> signedSha256(const QString& recorded) {
        if (catalogue::siteKeys().empty())
            return std::nullopt;
        return recorded;
    }

    bool usable(const FirmwareImage& image) {
        if (image.ready())
            return true;
        const QString file = QDir::toNativeSeparators(image.path);
        UiText problem;
        switch (image.state) {
        case FirmwareImage::State::Missing:
            problem = translate("Panelup", "The firmware file %1 was not found.").arg(file);
            break;
        case FirmwareImage::State::Empty:
            problem = translate("Panelup", "The firmware file %1 is empty.").arg(file);
            break;
        case FirmwareImage::State::ChecksumMismatch:
        case FirmwareImage::State::Ready:
            problem =
                translate("Panelup", "The firmware file %1 does not match its recorded checksum.")
                    .arg(file);
            break;
        }
        warn(translate("Panelup", "Update Firmware Failed"),
             problem + UiText::verbatim(QStringLiteral("\n")) +
                 translate("Panelup",
                           "Nothing was written to your monitor. Please close and restart the "
                           "application so that it can download a correct copy."));
        view().setExitEnabled(true);
        view().setInfo(fileRefusedText());
        return false;
    }

    void tellWritten(const QString& what, const QString& file, int32_t result) const {
        if (!c_.wrote)
            return;
        c_.wrote(what + QLatin1Char(' ') + file +
                 (result == 0 ? QStringLiteral(" written")
                              : QStringLiteral(" write failed (result %1)").arg(result)));
    }

    void writeFailed(const UiText& title, const UiText& text) {
        warn(title, text);
        view().setExitEnabled(true);
        view().setInfo(writeFailedText());
    }

    bool writeHub() {
        showBusy();
        if (!driverPresent())
            return false;
        const FirmwareImage image = readFirmwareImage(
            c_.programFolder, c_.hubBinFile, c_.hubBinCheckSum, signedSha256(c_.hubBinSha256));
        if (!usable(image)) {
            outcome_.end = UpdateEnd::HubFileUnusable;
            return false;
        }
        view().setProgress(0);
        const int32_t result =
            UpdateHubFW(reinterpret_cast<const uint8_t*>(image.bytes.constData()),
                        image.bytes.size(), reportUpdateProgress, nullptr);
        CloseDevice();
        qDebug() << "Update: hub firmware write result" << result;
        tellWritten(QStringLiteral("hub firmware"), c_.hubBinFile, result);
        if (result != 0) {
            outcome_.end = UpdateEnd::HubWriteFailed;
            writeFailed(
                translate("Panelup", "Update Hub FW Failed"),
                translate("Panelup",
                          "Monitor Hub Firmware update failed , please close the application "
                          "and retry again !"));
            return false;
        }
        outcome_.hubWritten = true;
        seams::sleeper().sleepMs(kAfterHubWriteMs);
        if (!c_.showFirmwareStatus()) {
            qDebug() << "Update: the hub did not answer after its firmware was written";
            outcome_.hubSilentAfterWrite = true;
        }
        view().setOverrideShown(false);
        return true;
    }

    bool writeScalar() {
        showBusy();
        if (!driverPresent())
            return false;
        const FirmwareImage image =
            readFirmwareImage(c_.programFolder, c_.scalarBinFile, c_.scalarBinCheckSum,
                              signedSha256(c_.scalarBinSha256));
        if (!usable(image)) {
            outcome_.end = UpdateEnd::ScalarFileUnusable;
            return false;
        }
        const auto parameters = scalarWriteParameters(c_.modelName);
        if (!parameters) {
            qDebug() << "Update: no scalar write parameters for" << c_.modelName;
            outcome_.end = UpdateEnd::ModelUnknown;
            warn(translate("Panelup", "Fatal Error"),
                 translate("Panelup", "Update Failed ! Model infomation is not correct !"));
            view().setExitEnabled(true);
            return false;
        }
        view().setProgress(0);
        const ScalarWriteParameters& p = *parameters;
        const int32_t result = UpdateScalar(
            reinterpret_cast<const uint8_t*>(image.bytes.constData()), image.bytes.size(), p.p1,
            p.p2, p.p3, p.p4, p.p5, reportUpdateProgress, nullptr);
        CloseDevice();
        qDebug() << "Update: scalar firmware write result" << result;
        tellWritten(QStringLiteral("scalar firmware"), c_.scalarBinFile, result);
        if (result != 0) {
            outcome_.end = UpdateEnd::ScalarWriteFailed;
            writeFailed(
                translate("Panelup", "Update Scalar FW Failed"),
                translate("Panelup",
                          "Monitor Scalar Firmware update failed, please close the application "
                          "and retry again !"));
            return false;
        }
        outcome_.scalarWritten = true;
        seams::sleeper().sleepMs(kAfterScalarWriteMs);
        c_.showFirmwareStatus();
        return true;
    }

    void offerOsdReset() {
        if (!seams::dialogs().choice(
                translate("Panelup", "Update Firmware"),
                translate("Panelup", "Your monitor firmware was updated successfully.\nSuggest "
                                     "to reset OSD setting to default."),
                translate("Panelup", "Reset OSD Setting"), translate("Panelup", "Exit")))
            return;
        // The box below says the reset was done whatever the monitor answered.
        const bool reset = c_.resetScalarSettings();
        qDebug() << "Update: OSD reset sent" << reset;
        seams::sleeper().sleepMs(kAfterOsdResetMs);
        c_.showFirmwareStatus();
        seams::dialogs().message(
            seams::DialogIcon::Information, translate("Panelup", "OSD Settings Reset"),
            translate("Panelup", "Your monitor OSD Settings has been reset successfully."));
    }

    UpdateFlowContext& c_;
    UpdateOutcome outcome_;
};

} // namespace

UpdateOutcome runUpdateFlow(UpdateFlowContext& context) {
    return UpdateFlow(context).run();
}

} // namespace update
