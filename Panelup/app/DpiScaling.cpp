#include "app/Panelup.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {

namespace {

int scaled(int value, double factor) {
    // Cut toward zero, as the form was laid out for 96 DPI.
    return static_cast<int>(value * factor);
}

void scaleGeometry(QWidget* widget, double sx, double sy) {
    const QRect g = widget->geometry();
    widget->setGeometry(scaled(g.x(), sx), scaled(g.y(), sy), scaled(g.width(), sx),
                        scaled(g.height(), sy));
}

} // namespace

void Panelup::scaleToDpi(double sx, double sy) {
    // The logo and the widgets inside the two layouts keep their size; fonts
    // follow the DPI by themselves.
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(ui.lblTitle),
                            static_cast<QWidget*>(ui.bar1), static_cast<QWidget*>(ui.btnUpdate),
                            static_cast<QWidget*>(ui.btnExit), static_cast<QWidget*>(ui.lblInfo),
                            static_cast<QWidget*>(ui.line), ui.verticalLayoutWidget,
                            ui.verticalLayoutWidget_2, static_cast<QWidget*>(ui.chkOverride)})
        scaleGeometry(widget, sx, sy);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace app
