#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
namespace platform {
class KeepAwake;
}

namespace update {

// What the update needs of the window; the window fills it field by field
// per click.
struct UpdateFlowContext {
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnExit = nullptr;
    QCheckBox* chkOverride = nullptr;
    QProgressBar* bar1 = nullptr;
    QLabel* lblInfo = nullptr;
    // Read again after the hub phase: the status refresh recomputes them.
    const bool* hubUpdateNeeded = nullptr;
    const bool* scalarUpdateNeeded = nullptr;
    QString hubBinFile;
    QString scalarBinFile;
    QString hubBinCheckSum;
    QString scalarBinCheckSum;
    QString modelName;
    QString programFolder;
    platform::KeepAwake* keepAwake = nullptr;
    std::function<bool()> repairMonitorEdids;
    std::function<void()> showFirmwareStatus;
    std::function<bool()> resetScalarSettings;
};

// The Update button: confirmation, EDID repair, hub then scalar write with
// progress, status refresh and the OSD reset offer.
void runUpdateFlow(UpdateFlowContext& context);

// The firmware writers' progress callback: done x 100 / total into the bar
// set with setProgressBar, then pending events are processed.
int32_t reportUpdateProgress(void* record);
void setProgressBar(QProgressBar* bar);

} // namespace update
