#include "app/StatusWidgets.h"

#include "app/AccessibleLabels.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace app {

void StatusWidgets::setModelName(const QString& text) {
    w_.modelName->setText(text);
}

void StatusWidgets::setCurrentFirmware(const QString& text) {
    w_.currentFirmware->setText(text);
}

void StatusWidgets::setNewFirmware(const QString& text) {
    w_.newFirmware->setText(text);
}

void StatusWidgets::setChecksum(const QString& text) {
    w_.checksum->setText(text);
}

void StatusWidgets::setInfo(const seams::UiText& text) {
    const QString before = w_.info->text();
    seams::setText(w_.info, text);
    announceNewWords(w_.info, before);
}

void StatusWidgets::setUpdateEnabled(bool enabled) {
    w_.update->setEnabled(enabled);
}

void StatusWidgets::setOverrideChecked(bool checked) {
    w_.override->setChecked(checked);
}

void StatusWidgets::setOverrideShown(bool shown) {
    w_.override->setVisible(shown);
}

void StatusWidgets::setOverrideEnabled(bool enabled) {
    w_.override->setEnabled(enabled);
}

void StatusWidgets::fillProgress() {
    w_.progress->setValue(w_.progress->maximum());
    QCoreApplication::processEvents();
}

bool StatusWidgets::overrideChecked() const {
    return w_.override->isChecked();
}

void StatusWidgets::setExitEnabled(bool enabled) {
    w_.exit->setEnabled(enabled);
}

void StatusWidgets::setProgress(int percent) {
    w_.progress->setValue(percent);
}

} // namespace app
