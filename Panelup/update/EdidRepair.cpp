#include "update/EdidRepair.h"

namespace update {

bool repairMonitorEdids(EdidRepairContext&) {
    return false;
}

} // namespace update
