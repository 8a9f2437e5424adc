#pragma once

#include "seams/Sleeper.h"

#include <vector>

// Records the waits asked for instead of spending them. Installs itself for
// its lifetime.
class RecordingSleeper : public seams::Sleeper {
public:
    RecordingSleeper();
    ~RecordingSleeper() override;
    void sleepMs(unsigned long ms) override;

    std::vector<unsigned long> waits;
    unsigned long total() const;
    void clear() { waits.clear(); }
};
