#pragma once

#include <QCoreApplication>
#include <QString>

namespace seams {

// A text the window shows, translated in the window's context, for code
// that works for the window from outside the class.
inline QString tr(const char* text) {
    return QCoreApplication::translate("Panelup", text);
}

} // namespace seams
