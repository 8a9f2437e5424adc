#include "update/UpdateFlow.h"

#include <QCoreApplication>

#include <cstring>

namespace update {

namespace {

// The view of the update that is running; the writers' callback has no
// other way to reach it.
UpdateView* progressView = nullptr;

// Offsets in the record the vendor library fills.
constexpr std::size_t kTotalOffset = 8;
constexpr std::size_t kDoneOffset = 12;

} // namespace

void setProgressView(UpdateView* view) {
    progressView = view;
}

int32_t reportUpdateProgress(void* record) {
    if (record) {
        int32_t total = 0;
        int32_t done = 0;
        std::memcpy(&total, static_cast<const char*>(record) + kTotalOffset, sizeof total);
        std::memcpy(&done, static_cast<const char*>(record) + kDoneOffset, sizeof done);
        if (total != 0 && progressView) {
            // Wide enough that done x 100 of a large image cannot overflow.
            const int64_t percent = int64_t{done} * 100 / total;
            progressView->setProgress(static_cast<int>(percent));
        }
    }
    QCoreApplication::processEvents();
    return 0;
}

} // namespace update
