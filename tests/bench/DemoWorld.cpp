#include "DemoWorld.h"

#include "VirtualMonitorControl.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

bool loadDemoWorld(int firmwareWriteMs, int progressSteps, QString& error) {
    QFile file(QStringLiteral(PANELUP_SOURCE_DIR "/demo/virtual-monitor.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QJsonObject world = QJsonDocument::fromJson(file.readAll()).object();
    world[QStringLiteral("firmwareWriteMs")] = firmwareWriteMs;
    world[QStringLiteral("progressSteps")] = progressSteps;
    if (VM_LoadDescription(QJsonDocument(world).toJson().constData()) != 1) {
        error = QString::fromUtf8(VM_LastError());
        return false;
    }
    return true;
}
