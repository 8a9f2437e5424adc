#pragma once

#include "VirtualMonitorControl.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QtTest>

// Monitors of the virtual monitor, each with a hub, whose scalars answer
// with these serial numbers.
struct VirtualHub {
    QString serial;
    QString model = "LM0420";
    int firmware = 0x0120;
};

inline QJsonObject virtualMonitor(const VirtualHub& hub) {
    return QJsonObject{
        {"edid", QJsonObject{{"displayName", hub.model}, {"serial", hub.serial}}},
        {"scalar", QJsonObject{{"model", hub.model},
                               {"capabilities", "(prot(monitor)type(LCD)model(" + hub.model +
                                                    ")cmds(01 02 03 0C E3 F3)mccs_ver(2.2))"},
                               {"serial", hub.serial},
                               {"firmware", QJsonArray{18, 3}}}},
        {"hub", QJsonObject{{"vendorId", 8457},
                            {"productIdSuperSpeed", 2065},
                            {"productIdUsb2", 2066},
                            {"firmware", hub.firmware},
                            {"port", 3},
                            {"parent", 1},
                            {"superSpeed", true},
                            {"usb2", true}}}};
}

inline bool loadWorld(const QJsonArray& monitors) {
    const QByteArray json = QJsonDocument(QJsonObject{{"monitors", monitors}}).toJson();
    if (VM_LoadDescription(json.constData()) != 1) {
        qWarning() << "description refused:" << VM_LastError();
        return false;
    }
    return true;
}

inline bool loadHubs(const QList<VirtualHub>& hubs) {
    QJsonArray monitors;
    for (const auto& hub : hubs)
        monitors.append(virtualMonitor(hub));
    return loadWorld(monitors);
}
