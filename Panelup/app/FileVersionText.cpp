#include "app/FileVersionText.h"

#include "platform/Platform.h"

namespace app {

QString fileVersionText(const QString& path, int parts) {
    const std::optional<platform::FileVersion> version =
        platform::current().fileVersion(path.toStdString());
    QString text;
    if (!version)
        return text;
    if (parts > 0)
        text += QString::number(version->major);
    if (parts > 1)
        text += QStringLiteral(".%1").arg(version->minor, 2, 10, QLatin1Char('0'));
    if (parts > 2)
        text += QStringLiteral(".%1").arg(version->build);
    if (parts > 3)
        text += QStringLiteral(".%1").arg(version->revision);
    return text;
}

} // namespace app
