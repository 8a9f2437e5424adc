#include "RecordingSleeper.h"

#include <numeric>

RecordingSleeper::RecordingSleeper() {
    seams::setSleeper(this);
}

RecordingSleeper::~RecordingSleeper() {
    seams::setSleeper(nullptr);
}

void RecordingSleeper::sleepMs(unsigned long ms) {
    waits.push_back(ms);
}

unsigned long RecordingSleeper::total() const {
    return std::accumulate(waits.begin(), waits.end(), 0UL);
}
