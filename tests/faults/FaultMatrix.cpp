#include "FaultMatrix.h"

#include "E2eFixture.h"
#include "VirtualMonitorControl.h"

#include "app/Panelup.h"
#include "scalar/ScalarQueries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {

const QString kCrossMarkText = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/cross_mark\">The detection of USB Hub is not "
    "configured correctly, please close the application and retry again, then unplug & replug "
    "the USB cable to try again.");

} // namespace

Outcome outcomeOf(e2e::Fixture& fixture) {
    if (fixture.exited())
        return Outcome::Exited;
    const Ui::PanelupClass& ui = fixture.window().ui;
    if (ui.lblInfo->text() == scalar::hubNotDetectedText().shown() && !ui.btnUpdate->isEnabled())
        return Outcome::HubNotDetected;
    if (ui.lblInfo->text() == kCrossMarkText && !ui.btnUpdate->isEnabled() &&
        ui.btnExit->isEnabled())
        return Outcome::UpdateFailed;
    return Outcome::StatusShown;
}

QString describe(Outcome outcome) {
    switch (outcome) {
    case Outcome::StatusShown:
        return QStringLiteral("status shown");
    case Outcome::HubNotDetected:
        return QStringLiteral("hub not detected");
    case Outcome::UpdateFailed:
        return QStringLiteral("update failed");
    case Outcome::Exited:
        return QStringLiteral("exited");
    }
    return {};
}

FolderSnapshot::FolderSnapshot(const QString& folder) {
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files_.insert(root.relativeFilePath(path),
                      file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
}

QStringList FolderSnapshot::differences(const FolderSnapshot& earlier) const {
    QStringList changed;
    for (auto it = files_.cbegin(); it != files_.cend(); ++it) {
        if (!earlier.files_.contains(it.key()))
            changed << it.key() + QStringLiteral(" (added)");
        else if (earlier.files_.value(it.key()) != it.value())
            changed << it.key() + QStringLiteral(" (changed)");
    }
    for (auto it = earlier.files_.cbegin(); it != earlier.files_.cend(); ++it) {
        if (!files_.contains(it.key()))
            changed << it.key() + QStringLiteral(" (removed)");
    }
    return changed;
}

UnplugDuringWrite::UnplugDuringWrite(app::Panelup& window, Phase phase) {
    if (phase == Off)
        return;
    // Each write starts by setting the bar to 0; from a full bar that is
    // always a change.
    QProgressBar* bar = window.ui.bar1;
    bar->setValue(bar->maximum());
    connect(bar, &QProgressBar::valueChanged, this, [this, phase](int value) {
        if (value == 0)
            ++writesStarted_;
        else if (value >= 50 && writesStarted_ == (phase == HubPhase ? 1 : 2))
            VM_SetFault("hubGone", 1);
    });
}
