#pragma once

#include <QString>

namespace app {

// The version of a program file as text, with the first `parts` numbers:
// "1", "1.07", "1.07.0", "1.07.0.5". Empty when the file has no version.
QString fileVersionText(const QString& path, int parts);

} // namespace app
