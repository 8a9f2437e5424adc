// The window's links to the subsystems that work on it: each builds what the
// subsystem needs from the window's fields and widgets.
#include "app/Panelup.h"

#include "app/StatusWidgets.h"

#include "catalogue/FirmwareRecord.h"
#include "catalogue/FirmwareStatus.h"
#include "catalogue/ReleaseCatalogue.h"
#include "catalogue/UpdateSite.h"
#include "update/EdidRepair.h"

#include <QStandardPaths>

namespace app {

void Panelup::showHubNotDetected() {
    setInfo(scalar::hubNotDetectedText());
    ui.btnUpdate->setEnabled(false);
}

bool Panelup::downloadFile(const QString& url, const QString& path, bool save) {
    return catalogue::downloadFile(url, path, save);
}

bool Panelup::checkUpdateSite() {
    return catalogue::UpdateSite(QString::fromUtf8(siteBaseUrl), QString::fromUtf8(siteCheckPage))
        .checkUpdateSite();
}

bool Panelup::refreshCatalogue(const std::string& model, bool checkOnly) {
    catalogue::CatalogueContext context;
    context.siteBaseUrl = QString::fromUtf8(siteBaseUrl);
    context.configPath = configPath;
    context.programFolder = programFolder;
    context.downloadFolder = catalogue::defaultDownloadFolder();
    context.scalarVersionMajor = scalarVersionMajor;
    context.scalarVersionMinor = scalarVersionMinor;
    context.hubVersionMajor = hubVersionMajor;
    context.hubVersionMinor = hubVersionMinor;
    context.scalarBinFile = scalarBinFile;
    context.hubBinFile = hubBinFile;
    catalogue::ReleaseCatalogue catalogue(context);
    const bool result = catalogue.refreshCatalogue(model, checkOnly);
    failedDownloads = catalogue.failedDownloads();
    catalogueFetched = catalogue.catalogueFetched();
    if (!catalogue.storeProblem().isEmpty())
        storeProblem = catalogue.storeProblem();
    if (!checkOnly)
        takeFirmwareRecord(catalogue.record());
    return result;
}

StatusWidgets::Widgets Panelup::statusWidgets() {
    StatusWidgets::Widgets widgets;
    widgets.modelName = ui.lblModelName;
    widgets.currentFirmware = ui.lblCurrentFW;
    widgets.newFirmware = ui.lblNewFW;
    widgets.checksum = ui.lblCheckSum;
    widgets.info = ui.lblInfo;
    widgets.update = ui.btnUpdate;
    widgets.exit = ui.btnExit;
    widgets.override = ui.chkOverride;
    widgets.progress = ui.bar1;
    return widgets;
}

void Panelup::setInfo(const seams::UiText& text) {
    StatusWidgets(statusWidgets()).setInfo(text);
}

bool Panelup::showFirmwareStatus() {
    StatusWidgets view(statusWidgets());

    catalogue::FirmwareStatusContext context;
    context.queries = &queries_;
    context.view = &view;
    context.hubBinFile = hubBinFile;
    context.scalarBinFile = scalarBinFile;
    context.modelName = modelName;
    context.allowDowngrade = allowDowngrade;
    context.programFolder = programFolder;
    context.state.hubVersionMajor = hubVersionMajor;
    context.state.hubVersionMinor = hubVersionMinor;
    context.state.scalarVersionMajor = scalarVersionMajor;
    context.state.scalarVersionMinor = scalarVersionMinor;
    context.state.hubUpdateNeeded = hubUpdateNeeded;
    context.state.scalarUpdateNeeded = scalarUpdateNeeded;
    const bool answered = catalogue::showFirmwareStatus(context);
    hubVersionMajor = context.state.hubVersionMajor;
    hubVersionMinor = context.state.hubVersionMinor;
    scalarVersionMajor = context.state.scalarVersionMajor;
    scalarVersionMinor = context.state.scalarVersionMinor;
    hubUpdateNeeded = context.state.hubUpdateNeeded;
    scalarUpdateNeeded = context.state.scalarUpdateNeeded;
    return answered;
}

bool Panelup::repairMonitorEdids() {
    update::EdidRepairContext context{
        inventory,
        modelList,
        queries_,
        modelName,
        QStandardPaths::writableLocation(QStandardPaths::TempLocation),
        [this](const QString& written) { monitorWrites << written; }};
    return update::repairMonitorEdids(context);
}

void Panelup::readFirmwareRecord() {
    takeFirmwareRecord(catalogue::FirmwareRecord::read(configPath, modelName));
}

void Panelup::takeFirmwareRecord(const catalogue::FirmwareRecord& record) {
    scalarBinFile = record.scalarBinFile;
    scalarBinCheckSum = record.scalarBinCheckSum;
    hubBinFile = record.hubBinFile;
    hubBinCheckSum = record.hubBinCheckSum;
    scalarBinSha256 = record.scalarBinSha256;
    hubBinSha256 = record.hubBinSha256;
}

} // namespace app
