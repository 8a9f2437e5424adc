#include "DemoSite.h"

#include <QProcess>

bool makeDemoSite(const QString& folder, QString& error) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("python3"),
                 {QStringLiteral(PANELUP_SOURCE_DIR "/demo/make-site.py"), folder});
    if (!script.waitForFinished(60000)) {
        error = QStringLiteral("make-site.py: ") + script.errorString();
        script.kill();
        script.waitForFinished(5000);
        return false;
    }
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        error = QStringLiteral("make-site.py: ") + QString::fromUtf8(script.readAll()).trimmed();
        return false;
    }
    return true;
}
