// A plugin that Qt finds under the key "panelupmarker" and loads, leaving its
// marker; it creates nothing.
#include <QObject>

class MarkerGenericPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QGenericPluginFactoryInterface" FILE
                          "MarkerPlugin.json")
};

#include "MarkerGenericPlugin.moc"
