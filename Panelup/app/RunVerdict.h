#pragma once

#include "app/StartupOutcome.h"
#include "update/UpdateOutcome.h"

#include <QString>

#include <optional>

namespace app {

// The firmware versions the monitor reports after the writes, beside those
// of the stored files written (major x 256 + minor).
struct ReadBack {
    bool hubAnswered = false;
    int hub = 0;
    bool scalarAnswered = false;
    int scalar = 0;
    int storedHub = 0;
    int storedScalar = 0;
};

// Everything an unattended run learnt, as values.
struct RunFacts {
    StartupOutcome startup;
    bool checkOnly = false;
    // Newer firmware applies (or an older scalar with /f).
    bool updateApplies = false;
    std::optional<update::UpdateOutcome> update;
    ReadBack readBack;
};

struct Verdict {
    int code = 1;
    QString reason; // for the result log; empty when there is nothing to add
};

// The exit code of an unattended run. Without an update outcome, 0 means an
// update applies; with one, 0 only when the monitor reports every firmware
// written.
Verdict verdictOf(const RunFacts& facts);

} // namespace app
