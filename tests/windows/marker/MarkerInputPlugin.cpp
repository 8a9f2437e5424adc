// A plugin that Qt finds under the key "panelupmarker" and loads, leaving its
// marker; it creates nothing.
#include <QObject>

class MarkerInputPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPlatformInputContextFactoryInterface.5.1" FILE
                          "MarkerPlugin.json")
};

#include "MarkerInputPlugin.moc"
