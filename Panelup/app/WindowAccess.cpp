// The window for people who use a screen reader or the keyboard alone.
#include "app/Panelup.h"

#include "app/AccessibleLabels.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace app {

void Panelup::describeForAssistiveTechnology() {
    ui.label_5->setAccessibleName(QCoreApplication::translate("Panelup", "LM Series logo"));
    ui.bar1->setAccessibleName(QCoreApplication::translate("Panelup", "Update progress"));
    ui.bar1->setAccessibleDescription(
        QCoreApplication::translate("Panelup", "Progress of the firmware update"));
    // No fixed name: the status line is named by its text, so that each new
    // text is announced.
    ui.lblInfo->setAccessibleDescription(QCoreApplication::translate("Panelup", "Status"));
    readAsWords(ui.lblInfo);
    ui.chkOverride->setAccessibleDescription(QCoreApplication::translate(
        "Panelup", "Allows the update to write firmware older than the monitor's"));
    ui.btnUpdate->setAccessibleDescription(
        QCoreApplication::translate("Panelup", "Writes the new firmware to the monitor"));
    ui.btnExit->setAccessibleDescription(
        QCoreApplication::translate("Panelup", "Closes the program"));

    readWithCaption(ui.lblModelName, ui.label);
    readWithCaption(ui.lblCurrentFW, ui.label_2);
    readWithCaption(ui.lblNewFW, ui.label_3);
    readWithCaption(ui.lblCheckSum, ui.label_4);
}

void Panelup::setUpKeyboardRoad() {
    // In reading order; the labels and the logo take no focus.
    setTabOrder(ui.chkOverride, ui.btnUpdate);
    setTabOrder(ui.btnUpdate, ui.btnExit);
    // Enter presses Update wherever the focus is not on another button; a
    // disabled default button takes no Enter.
    ui.btnUpdate->setDefault(true);
}

// Escape is EXIT's key, and does nothing while EXIT is off: QDialog would
// hide the window instead, which ends the program even while firmware is
// being written.
void Panelup::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::Cancel)) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (ui.btnExit->isEnabled())
        ui.btnExit->click();
}

} // namespace app
