#pragma once

#include "catalogue/FirmwareStatus.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace app {

// The firmware status on the window's widgets.
class StatusWidgets : public catalogue::FirmwareStatusView {
public:
    struct Widgets {
        QLabel* modelName = nullptr;
        QLabel* currentFirmware = nullptr;
        QLabel* newFirmware = nullptr;
        QLabel* checksum = nullptr;
        QLabel* info = nullptr;
        QPushButton* update = nullptr;
        QCheckBox* override = nullptr;
        QProgressBar* progress = nullptr;
    };

    explicit StatusWidgets(const Widgets& widgets) : w_(widgets) {}

    void setModelName(const QString& text) override;
    void setCurrentFirmware(const QString& text) override;
    void setNewFirmware(const QString& text) override;
    void setChecksum(const QString& text) override;
    void setInfo(const QString& text) override;
    void setUpdateEnabled(bool enabled) override;
    void setOverrideChecked(bool checked) override;
    void setOverrideShown(bool shown) override;
    void setOverrideEnabled(bool enabled) override;
    void fillProgress() override;

private:
    Widgets w_;
};

} // namespace app
