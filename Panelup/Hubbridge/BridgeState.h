#pragma once

#include "CMpFlow.h"

// The one bridge state of the process.
CMpFlow& theBridge();

// What the library does when the process loads and unloads it.
void attachBridge();
void detachBridge();
