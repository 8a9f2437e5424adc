// A plugin that Qt finds under the key "panelupmarker" and loads, leaving its
// marker; it creates nothing.
#include <QObject>

class MarkerStylePlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QStyleFactoryInterface" FILE "MarkerPlugin.json")
};

#include "MarkerStylePlugin.moc"
