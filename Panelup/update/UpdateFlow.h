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

// What the update needs of the window; the window builds it per click.
struct UpdateFlowContext {
    QPushButton* btnUpdate;
    QPushButton* btnExit;
    QCheckBox* chkOverride;
    QProgressBar* bar1;
    QLabel* lblInfo;
    // Read again after the hub phase: the status refresh recomputes them.
    const bool& hubUpdateNeeded;
    const bool& scalarUpdateNeeded;
    const QString& hubBinFile;
    const QString& scalarBinFile;
    const QString& hubBinCheckSum;
    const QString& scalarBinCheckSum;
    const QString& modelName;
    QString programFolder;
    platform::KeepAwake& keepAwake;
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
