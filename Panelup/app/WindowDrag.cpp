#include "app/Panelup.h"

#include <QMouseEvent>

namespace app {

// Without a title bar the window is moved by dragging it. The corner follows
// the pointer itself, with no offset kept.

void Panelup::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging = true;
}

void Panelup::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging)
        return;
    dragPos = event->globalPos();
    move(dragPos);
}

void Panelup::mouseReleaseEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    dragging = false;
}

} // namespace app
