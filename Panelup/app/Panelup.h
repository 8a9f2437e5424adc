#pragma once

#include "ui_Panelup.h"

#include "app/StartupOutcome.h"
#include "app/StatusWidgets.h"
#include "discovery/MonitorInventory.h"
#include "discovery/MonitorRecord.h"
#include "models/ModelFactory.h"
#include "scalar/ScalarQueries.h"
#include "update/UpdateOutcome.h"

#include <QByteArray>
#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class QCloseEvent;
class QKeyEvent;
class QMouseEvent;
class QShowEvent;

namespace catalogue {
struct FirmwareRecord;
}

namespace app {

// The one window of the program and its central record: the other
// subsystems read and fill these fields, so they are public.
class Panelup : public QDialog, public scalar::ConnectionReporter {
    Q_OBJECT

public:
    Panelup();
    ~Panelup() override;

    // Scales the geometry of the main widgets by the screen's DPI factors and
    // centres the window on the default screen.
    void scaleToDpi(double sx, double sy);

    // The exchanges with the monitor, each in its own hub connection.
    scalar::ScalarQueries& queries() { return queries_; }
    // The hub-not-detected notice: shown in lblInfo, Update disabled.
    void showHubNotDetected() override;

    // The update site and the firmware store.
    bool downloadFile(const QString& url, const QString& path, bool save);
    bool checkUpdateSite();
    // A download-mode refresh leaves the firmware record it wrote in the
    // four texts.
    bool refreshCatalogue(const std::string& model, bool checkOnly);
    // False when the hub did not answer.
    bool showFirmwareStatus();
    // The status line's text, announced to assistive technology.
    void setInfo(const seams::UiText& text);

    // What the window's first show runs: inventory, settings, model, stored
    // firmware, downloads and status. The unattended run calls it without
    // showing the window.
    StartupOutcome runStartupSequence();
    // What the Update button runs; its outcome is kept in lastUpdate too.
    update::UpdateOutcome runUpdate();

    // Blank EDID areas of the paired monitors rebuilt before an update.
    bool repairMonitorEdids();

    // Reads the model's firmware record from Config.ini into the four texts.
    void readFirmwareRecord();
    void takeFirmwareRecord(const catalogue::FirmwareRecord& record);

    QString configPath;
    QString hubBinFile;
    QString scalarBinFile;
    QString hubBinCheckSum;
    QString scalarBinCheckSum;
    QString hubBinSha256;
    QString scalarBinSha256;
    QString modelName;
    // What the last download-mode refreshCatalogue failed to store.
    QStringList failedDownloads;
    // Whether the last refreshCatalogue fetched the catalogue from the site.
    bool catalogueFetched = false;
    // What this run wrote to the monitor (EDID areas, firmware), one text
    // each, with how each write ended.
    QStringList monitorWrites;
    std::shared_ptr<models::ILCDModel> currentModel;
    discovery::MonitorRecord currentMonitor;
    QPoint dragPos;
    bool dragging = false;
    Ui::PanelupClass ui;
    discovery::MonitorInventory inventory;
    models::ModelList modelList;
    int hubVersionMinor = 0;
    int hubVersionMajor = 0;
    int scalarVersionMajor = 0;
    int scalarVersionMinor = 0;
    int hubIndex = -1;
    bool scalarUpdateNeeded = false;
    bool hubUpdateNeeded = false;
    bool allowDowngrade = false;
    bool siteReachable = false;
    bool useTestSite = false;
    bool multiMonitor = false;
    // Older firmware allowed for this run whatever Config.ini says (the
    // unattended run's /f).
    bool allowOlderFirmware = false;
    // Asked after a hub write whether the scalar is still written (the
    // unattended run's rule); empty: the refreshed status decides.
    std::function<bool()> scalarAfterHub;
    // Why firmware could not be stored or recorded, when it could not.
    QString storeProblem;
    update::UpdateOutcome lastUpdate;
    QByteArray siteBaseUrl;
    QByteArray testSiteBaseUrl;
    QByteArray siteCheckPage;
    int scalarI2cAddress = 0x51;

    // The folder of the firmware store and of the files the firmware record
    // names: the program's own folder; tests point it elsewhere.
    QString programFolder;

public slots:
    void updateFW();
    void allowUpdateOldVersion();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void describeForAssistiveTechnology();
    void setUpKeyboardRoad();
    // The status and update views' widgets.
    StatusWidgets::Widgets statusWidgets();
    void noteReadBack(const update::UpdateOutcome& outcome) const;

    scalar::ScalarQueries queries_{hubIndex, scalarI2cAddress, *this};
    bool updating_ = false;
};

// The one window; set by runPanelup once the window exists.
extern Panelup* mainWindow;

} // namespace app
