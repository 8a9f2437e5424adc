#pragma once

#include <QCoreApplication>
#include <QString>

namespace seams {

// The texts the window shows, for code that works for the window from
// outside the class: WindowText::tr translates in the window's own context.
// lupdate reads that context from this declaration; a free tr() would land
// in the caller's namespace, where no translation is ever looked up.
class WindowText {
    Q_DECLARE_TR_FUNCTIONS(app::Panelup)
};

} // namespace seams
