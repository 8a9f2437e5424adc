#include "app/Panelup.h"

#include "platform/Platform.h"
#include "update/UpdateFlow.h"

namespace app {

void Panelup::updateFW() {
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
    context.showFirmwareStatus = [this] { showFirmwareStatus(); };
    context.resetScalarSettings = [this] { return queries_.resetScalarSettings(); };
    context.wrote = [this](const QString& written) { monitorWrites << written; };
    update::runUpdateFlow(context);
}

} // namespace app
