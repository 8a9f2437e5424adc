#pragma once

namespace platform {
class Platform;
}

// The program: refuses a second instance, starts the trace log, shows the
// window and runs the event loop. Returns the process exit code.
int runPanelup(int argc, char** argv, platform::Platform& platform);
