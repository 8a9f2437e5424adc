#pragma once

#include <QByteArray>

namespace platform {
class Platform;
}

namespace app {

// What a program other than the shipped Panelup (the demo) sets differently.
// Empty fields keep the deployment's values.
struct RunOptions {
    QByteArray siteBaseUrl;
    QByteArray testSiteBaseUrl;
};

// The program: refuses a second instance, starts the trace log, shows the
// window and runs the event loop. Returns the process exit code.
int runPanelup(int argc, char** argv, platform::Platform& platform,
               const RunOptions& options = RunOptions());

} // namespace app
