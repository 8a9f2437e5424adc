#pragma once

#include "catalogue/FirmwareStatus.h"
#include "update/UpdateFlow.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace app {

// The firmware status and the update on the window's widgets.
class StatusWidgets : public catalogue::FirmwareStatusView, public update::UpdateView {
public:
    struct Widgets {
        QLabel* modelName = nullptr;
        QLabel* currentFirmware = nullptr;
        QLabel* newFirmware = nullptr;
        QLabel* checksum = nullptr;
        QLabel* info = nullptr;
        QPushButton* update = nullptr;
        QPushButton* exit = nullptr;
        QCheckBox* override = nullptr;
        QProgressBar* progress = nullptr;
    };

    explicit StatusWidgets(const Widgets& widgets) : w_(widgets) {}

    void setModelName(const QString& text) override;
    void setCurrentFirmware(const QString& text) override;
    void setNewFirmware(const QString& text) override;
    void setChecksum(const QString& text) override;
    void setInfo(const seams::UiText& text) override;
    void setUpdateEnabled(bool enabled) override;
    void setOverrideChecked(bool checked) override;
    void setOverrideShown(bool shown) override;
    void setOverrideEnabled(bool enabled) override;
    void fillProgress() override;
    bool overrideChecked() const override;
    void setExitEnabled(bool enabled) override;
    void setProgress(int percent) override;

private:
    Widgets w_;
};

} // namespace app
