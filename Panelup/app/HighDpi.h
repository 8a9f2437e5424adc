#pragma once

namespace app {

// Qt's high-DPI scaling as the window's own DPI adjustment expects it; called
// before the application object exists.
void prepareHighDpi();

} // namespace app
