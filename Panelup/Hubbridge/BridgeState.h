#pragma once

#include "CMpFlow.h"

namespace hubbridge {

// The one bridge state of the process.
CMpFlow& theBridge();

// What the library does when the process loads and unloads it.
void attachBridge();
void detachBridge();

} // namespace hubbridge
