#pragma once

#include "seams/ProcessExit.h"

#include <vector>

// Records exit requests instead of ending the test. Installs itself for its
// lifetime.
class RecordingExit : public seams::ProcessExit {
public:
    RecordingExit();
    ~RecordingExit() override;
    void exit(int code) override;

    std::vector<int> codes;
    bool exited() const { return !codes.empty(); }
};
