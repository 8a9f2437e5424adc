#pragma once

#include "scalar/HubConnection.h"

#include <QString>
#include <QStringList>

namespace app {

// Where the start-up sequence stopped.
enum class StartupEnd {
    Ready,             // ran to its end; the Update button as the status left it
    SeveralHubs,       // refused: more than one hub
    SeveralMonitors,   // refused: more than one paired monitor
    NoHubPaired,       // the hub-detection notice
    UnknownModel,      // refused: no paired monitor is a supported model
    StoredFirmwareBad, // refused: a stored file does not match its record
};

// What the start-up sequence found and decided, for whoever drives it: the
// window has shown its boxes and notices already, an unattended run turns
// this into its exit code.
struct StartupOutcome {
    StartupEnd end = StartupEnd::Ready;
    int hubs = 0;
    int monitors = 0;
    int paired = 0;
    bool siteReachable = false;
    bool catalogueFetched = false; // the last catalogue refresh reached the site
    QStringList failedDownloads;
    QString storeProblem; // why firmware could not be stored or recorded
    // The firmware status could read the monitor; when not, why.
    bool statusRead = false;
    scalar::HubConnection::Failure hubFailure = scalar::HubConnection::Failure::None;
    bool updateOffered = false;    // the Update button enabled
    bool downgradeOffered = false; // the override check box shown
    // The one model connected other than by HDMI (the connection warning).
    bool connectionUnsupported = false;
};

} // namespace app
