#pragma once

namespace app {

// Registers the compiled-in images under ":/Panelup". Safe to call more than
// once; calling it also keeps the linker from dropping them from the static
// library.
void registerResources();

} // namespace app
