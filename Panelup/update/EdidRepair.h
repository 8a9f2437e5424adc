#pragma once

#include "models/ModelFactory.h"

#include <QString>

#include <functional>

namespace discovery {
class MonitorInventory;
}
namespace scalar {
class ScalarQueries;
}

namespace update {

// What the EDID repair needs of the window; the window builds it per call.
struct EdidRepairContext {
    const discovery::MonitorInventory& inventory;
    const models::ModelList& modelList;
    scalar::ScalarQueries& queries;
    QString& modelName;   // set to each identified model's name
    QString backupFolder; // holds the backup of every area before it is written
    // Told of every area written to the monitor (may be empty).
    std::function<void(const QString&)> wrote;
};

// Rebuilds blank EDID areas of every paired monitor, as a copy of a valid
// area or from the model's template. An area whose read failed is neither
// written nor used as a source; the old and new bytes of every area written
// go to an EdidBackup first. True when at least one paired monitor was
// identified.
bool repairMonitorEdids(EdidRepairContext& context);

} // namespace update
