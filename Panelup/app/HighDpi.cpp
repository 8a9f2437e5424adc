#include "app/HighDpi.h"

#include <QGuiApplication>

namespace app {

void prepareHighDpi() {
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    // The window scales itself by the desktop's DPI. Qt's default rounding
    // would make 150 % and 175 % a device pixel ratio of 2 and report
    // 96 DPI, so the window would be drawn at 200 % and never adjusted.
    // Rounding down leaves 125-175 % to the window's own adjustment (Qt
    // reports 120, 144, 168 DPI) and takes 200 % as a ratio of 2.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
}

} // namespace app
