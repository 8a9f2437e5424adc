#include "app/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initPanelupResources() {
    Q_INIT_RESOURCE(panelup);
}

namespace app {

void registerResources() {
    static const bool registered = (initPanelupResources(), true);
    Q_UNUSED(registered);
}

} // namespace app
