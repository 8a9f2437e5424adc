#include "update/UpdateFlow.h"

namespace update {

void runUpdateFlow(UpdateFlowContext&) {}

int32_t reportUpdateProgress(void*) {
    return 0;
}

void setProgressBar(QProgressBar*) {}

} // namespace update
