#pragma once

#include "seams/WindowText.h"
#include "update/UpdateOutcome.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace platform {
class KeepAwake;
}

namespace update {

// Where the update shows itself: the window's Update and Exit buttons,
// override check box, information label and progress bar.
class UpdateView {
public:
    virtual ~UpdateView() = default;
    virtual bool overrideChecked() const = 0;
    virtual void setOverrideShown(bool shown) = 0;
    virtual void setUpdateEnabled(bool enabled) = 0;
    virtual void setExitEnabled(bool enabled) = 0;
    virtual void setInfo(const seams::UiText& text) = 0;
    // 0 to 100; painted before the next event is handled.
    virtual void setProgress(int percent) = 0;
};

// What the update needs of the window; the window fills it field by field
// per click.
struct UpdateFlowContext {
    UpdateView* view = nullptr;
    // Read again after the hub phase: the status refresh recomputes them.
    const bool* hubUpdateNeeded = nullptr;
    const bool* scalarUpdateNeeded = nullptr;
    QString hubBinFile;
    QString scalarBinFile;
    QString hubBinCheckSum;
    QString scalarBinCheckSum;
    // From the signed catalogue; checked only with site keys built in.
    QString hubBinSha256;
    QString scalarBinSha256;
    QString modelName;
    QString programFolder;
    platform::KeepAwake* keepAwake = nullptr;
    std::function<bool()> repairMonitorEdids;
    // False when the hub did not answer.
    std::function<bool()> showFirmwareStatus;
    std::function<bool()> resetScalarSettings;
    // Told of every firmware write made to the monitor and how it ended
    // (may be empty).
    std::function<void(const QString&)> wrote;
    // Asked after a hub write when the refreshed status wants the scalar
    // written: false leaves it out. Empty: the status decides alone.
    std::function<bool()> scalarAfterHub;
};

// The Update button: confirmation, EDID repair, hub then scalar write with
// progress, status refresh and the OSD reset offer.
UpdateOutcome runUpdateFlow(UpdateFlowContext& context);

// The firmware writers' progress callback: done x 100 / total into the view
// set with setProgressView, then pending events are processed.
int32_t reportUpdateProgress(void* record);
void setProgressView(UpdateView* view);

} // namespace update
