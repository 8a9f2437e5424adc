#include "app/Panelup.h"

#include "catalogue/FirmwareChecks.h"
#include "catalogue/FirmwareStatus.h"
#include "platform/Platform.h"
#include "update/UpdateFlow.h"

#include <QDebug>
#include <QScopedValueRollback>

namespace app {

void Panelup::updateFW() {
    lastUpdate = runUpdate();
}

update::UpdateOutcome Panelup::runUpdate() {
    StatusWidgets view(statusWidgets());
    update::UpdateFlowContext context;
    context.view = &view;
    context.hubUpdateNeeded = &hubUpdateNeeded;
    context.scalarUpdateNeeded = &scalarUpdateNeeded;
    context.hubBinFile = hubBinFile;
    context.scalarBinFile = scalarBinFile;
    context.hubBinCheckSum = hubBinCheckSum;
    context.scalarBinCheckSum = scalarBinCheckSum;
    context.hubBinSha256 = hubBinSha256;
    context.scalarBinSha256 = scalarBinSha256;
    context.modelName = modelName;
    context.programFolder = programFolder;
    context.keepAwake = &platform::current().keepAwake();
    context.repairMonitorEdids = [this] { return repairMonitorEdids(); };
    context.showFirmwareStatus = [this] { return showFirmwareStatus(); };
    context.resetScalarSettings = [this] { return queries_.resetScalarSettings(); };
    context.wrote = [this](const QString& written) { monitorWrites << written; };
    context.scalarAfterHub = scalarAfterHub;
    update::UpdateOutcome outcome;
    {
        const QScopedValueRollback<bool> updating(updating_, true);
        outcome = update::runUpdateFlow(context);
    }
    noteReadBack(outcome);
    return outcome;
}

// The window keeps its success box; the trace log says when the monitor,
// as the last status refresh read it, reports other versions than written.
void Panelup::noteReadBack(const update::UpdateOutcome& outcome) const {
    if (outcome.end != update::UpdateEnd::Completed)
        return;
    const int hub = catalogue::packedVersion(hubVersionMajor, hubVersionMinor);
    const int scalar = catalogue::packedVersion(scalarVersionMajor, scalarVersionMinor);
    const int storedHub = catalogue::storedHubVersion(programFolder, hubBinFile, modelName);
    const int storedScalar = catalogue::storedScalarVersion(programFolder, scalarBinFile);
    if ((outcome.hubWritten && hub != storedHub) ||
        (outcome.scalarWritten && scalar != storedScalar))
        qDebug().noquote() << QStringLiteral(
                                  "Update: the monitor reports hub %1, scalar %2 after the "
                                  "update; the stored files hold hub %3, scalar %4")
                                  .arg(hub, 4, 16, QLatin1Char('0'))
                                  .arg(scalar, 4, 16, QLatin1Char('0'))
                                  .arg(storedHub, 4, 16, QLatin1Char('0'))
                                  .arg(storedScalar, 4, 16, QLatin1Char('0'));
}

} // namespace app
