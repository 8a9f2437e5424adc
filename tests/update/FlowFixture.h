#pragma once

// The widgets, fields and hooks the update flow works on, as the window
// would hand them over, with the keep-awake requests and the hooks' calls
// recorded.
#include "ScriptedDialogs.h"

#include "app/StatusWidgets.h"
#include "platform/Platform.h"
#include "update/UpdateFlow.h"

#include <QByteArray>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>

class RecordingKeepAwake : public platform::KeepAwake {
public:
    void begin() override { calls << QStringLiteral("begin"); }
    void end() override { calls << QStringLiteral("end"); }
    QStringList calls;
};

struct FlowFixture {
    FlowFixture() {
        window = std::make_unique<QWidget>();
        btnUpdate = new QPushButton(QStringLiteral("Update"), window.get());
        btnExit = new QPushButton(QStringLiteral("EXIT (&X)"), window.get());
        chkOverride = new QCheckBox(window.get());
        bar1 = new QProgressBar(window.get());
        lblInfo = new QLabel(QStringLiteral("Please click \"update\" to update your firmware."),
                             window.get());
        bar1->setValue(100);
        window->show();
        app::StatusWidgets::Widgets widgets;
        widgets.update = btnUpdate;
        widgets.exit = btnExit;
        widgets.override = chkOverride;
        widgets.progress = bar1;
        widgets.info = lblInfo;
        view = std::make_unique<app::StatusWidgets>(widgets);
    }

    bool store(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(program.path()).absoluteFilePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    void run() {
        update::UpdateFlowContext context;
        context.view = view.get();
        context.hubUpdateNeeded = &hubUpdateNeeded;
        context.scalarUpdateNeeded = &scalarUpdateNeeded;
        context.hubBinFile = hubBinFile;
        context.scalarBinFile = scalarBinFile;
        context.hubBinCheckSum = hubBinCheckSum;
        context.scalarBinCheckSum = scalarBinCheckSum;
        context.hubBinSha256 = hubBinSha256;
        context.scalarBinSha256 = scalarBinSha256;
        context.modelName = modelName;
        context.programFolder = program.path();
        context.keepAwake = &keepAwake;
        context.repairMonitorEdids = [this] {
            calls << QStringLiteral("repair");
            return true;
        };
        context.showFirmwareStatus = [this] {
            calls << QStringLiteral("status");
            if (onStatus)
                onStatus();
            return statusAnswers;
        };
        context.resetScalarSettings = [this] {
            calls << QStringLiteral("reset");
            return true;
        };
        context.scalarAfterHub = scalarAfterHub;
        outcome = update::runUpdateFlow(context);
    }

    ScriptedDialogs dialogs;
    RecordingKeepAwake keepAwake;
    QTemporaryDir program;
    std::unique_ptr<QWidget> window;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnExit = nullptr;
    QCheckBox* chkOverride = nullptr;
    QProgressBar* bar1 = nullptr;
    QLabel* lblInfo = nullptr;
    std::unique_ptr<app::StatusWidgets> view;
    bool hubUpdateNeeded = false;
    bool scalarUpdateNeeded = false;
    bool statusAnswers = true;
    std::function<bool()> scalarAfterHub;
    update::UpdateOutcome outcome;
    QString hubBinFile = QStringLiteral("Hub//hub.bin");
    QString scalarBinFile = QStringLiteral("Scalar//scalar.bin");
    QString hubBinCheckSum;
    QString scalarBinCheckSum;
    QString hubBinSha256;
    QString scalarBinSha256;
    QString modelName = QStringLiteral("LM0420");
    // What the status refresh does to the flags.
    std::function<void()> onStatus;
    QStringList calls;
};

inline const QString kBusyText = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/question_mark\"> The update process may take "
    "several minutes. Please do not remove the USB cable connection or turn off the monitor's "
    "power while updating.");
inline const QString kCrossMarkText = QStringLiteral(
    "<img width=20 height=20 src=\":/Panelup/cross_mark\">The detection of USB Hub is not "
    "configured correctly, please close the application and retry again, then unplug & replug "
    "the USB cable to try again.");
