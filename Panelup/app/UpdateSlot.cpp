#include "app/Panelup.h"

// The Update button. The update flow itself is not wired in yet.
void Panelup::updateFW() {}
