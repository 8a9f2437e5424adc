#pragma once

#include "scalar/HubRecord.h"

namespace scalar {

// The inventory's exchanges: each opens and closes the record's hub itself,
// shows nothing, and leaves the record's defaults in place on failure.
bool readHubFirmware(HubRecord& hub);
bool readModelText(HubRecord& hub);
bool readSerialText(HubRecord& hub);

} // namespace scalar
