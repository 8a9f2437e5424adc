#include "app/Panelup.h"

#include "app/FileVersionText.h"
#include "app/Resources.h"
#include "seams/Deployment.h"
#include "seams/ProcessExit.h"
#include "seams/WindowText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>

namespace app {

Panelup* mainWindow = nullptr;

Panelup::Panelup()
    : QDialog(nullptr), modelList(models::buildModelList()),
      siteBaseUrl(seams::deployment::updateSiteUrl().toUtf8()),
      testSiteBaseUrl(seams::deployment::testUpdateSiteUrl().toUtf8()), siteCheckPage("Check.htm"),
      programFolder(QCoreApplication::applicationDirPath()) {
    // The form's logo comes from the resources; they must be registered
    // before setupUi looks for it.
    registerResources();
    ui.setupUi(this);

    const seams::UiText title =
        seams::translate("Panelup", "LM Series USB Firmware Update Tool v") +
        seams::UiText::verbatim(fileVersionText(QCoreApplication::applicationFilePath(), 2));
    seams::setWindowTitle(this, title);
    seams::setText(ui.lblTitle, title);
    describeForAssistiveTechnology();
    setUpKeyboardRoad();

    // No title bar: the window moves by dragging anywhere on it.
    setWindowFlags(Qt::FramelessWindowHint);
}

Panelup::~Panelup() = default;

void Panelup::allowUpdateOldVersion() {
    ui.btnUpdate->setEnabled(ui.chkOverride->isChecked());
}

void Panelup::closeEvent(QCloseEvent* event) {
    // Ending while firmware is written could leave the monitor without
    // working firmware: EXIT is off then, and Alt+F4 or the window manager
    // wait likewise.
    if (updating_ && !ui.btnExit->isEnabled()) {
        qDebug() << "Close: refused while firmware is written";
        event->ignore();
        return;
    }
    ui.btnExit->setEnabled(false);
    QCoreApplication::processEvents();
    QCoreApplication::quit();
    seams::processExit().exit(0);
}

} // namespace app
