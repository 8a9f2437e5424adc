#include "app/Panelup.h"

#include "platform/Platform.h"
#include "update/UpdateFlow.h"

void Panelup::updateFW() {
    update::UpdateFlowContext context{ui.btnUpdate,
                                      ui.btnExit,
                                      ui.chkOverride,
                                      ui.bar1,
                                      ui.lblInfo,
                                      hubUpdateNeeded,
                                      scalarUpdateNeeded,
                                      hubBinFile,
                                      scalarBinFile,
                                      hubBinCheckSum,
                                      scalarBinCheckSum,
                                      modelName,
                                      programFolder,
                                      platform::current().keepAwake(),
                                      [this] { return repairMonitorEdids(); },
                                      [this] { showFirmwareStatus(); },
                                      [this] { return queries_.resetScalarSettings(); }};
    update::runUpdateFlow(context);
}
