#pragma once

#include "ui_Panelup.h"

#include <QByteArray>
#include <QDialog>
#include <QPoint>
#include <QString>

class QCloseEvent;
class QMouseEvent;
class QShowEvent;

// The one window of the program and its central record: the other
// subsystems read and fill these fields, so they are public.
class Panelup : public QDialog {
    Q_OBJECT

public:
    Panelup();
    ~Panelup() override;

    // Scales the geometry of the main widgets by the screen's DPI factors and
    // centres the window on the default screen.
    void scaleToDpi(double sx, double sy);

    QString configPath;
    QString hubBinFile;
    QString scalarBinFile;
    QString hubBinCheckSum;
    QString scalarBinCheckSum;
    QString modelName;
    QPoint dragPos;
    bool dragging = false;
    Ui::PanelupClass ui;
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
    QByteArray siteBaseUrl;
    QByteArray testSiteBaseUrl;
    QByteArray siteCheckPage;
    int scalarI2cAddress = 0x51;

public slots:
    void updateFW();
    void allowUpdateOldVersion();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

// The one window; set by runPanelup once the window exists.
extern Panelup* mainWindow;
