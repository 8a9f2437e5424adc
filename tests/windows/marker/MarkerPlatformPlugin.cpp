// A plugin that Qt finds under the key "panelupmarker" and loads, leaving its
// marker; it creates nothing.
#include <QObject>

class MarkerPlatformPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3" FILE
                          "MarkerPlugin.json")
};

#include "MarkerPlatformPlugin.moc"
