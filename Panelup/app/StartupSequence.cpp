#include "app/Panelup.h"

#include <QShowEvent>

void Panelup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);

    ui.chkOverride->hide();
    ui.bar1->setValue(0);
}
