// A plugin that Qt finds under the key "panelupmarker" and loads, leaving its
// marker; it creates nothing.
#include <QObject>

class MarkerThemePlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformThemeFactoryInterface.5.1" FILE
                          "MarkerPlugin.json")
};

#include "MarkerThemePlugin.moc"
