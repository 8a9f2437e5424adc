#include "seams/Sleeper.h"

#include <QThread>

namespace seams {

void ThreadSleeper::sleepMs(unsigned long ms) {
    QThread::msleep(ms);
}

namespace {
ThreadSleeper threadSleeper;
Sleeper* current = &threadSleeper;
} // namespace

Sleeper& sleeper() {
    return *current;
}

void setSleeper(Sleeper* replacement) {
    current = replacement ? replacement : &threadSleeper;
}

} // namespace seams
