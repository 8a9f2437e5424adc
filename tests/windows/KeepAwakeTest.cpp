// The keep-awake request of the firmware update, as the system records it.
#include "platform/Platform.h"
#include "support/TestReport.h"

#include <windows.h>

#include <sstream>

namespace {

// Reads the thread's execution state without changing it: a request
// without ES_CONTINUOUS only resets the idle timer once and leaves the
// continuous state as it is.
EXECUTION_STATE currentState() {
    return SetThreadExecutionState(ES_SYSTEM_REQUIRED);
}

std::string hex(EXECUTION_STATE state) {
    std::ostringstream text;
    text << "0x" << std::hex << static_cast<unsigned long>(state);
    return text.str();
}

} // namespace

int main() {
    TestReport report("Windows keep-awake");
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    platform::KeepAwake& keepAwake = native->keepAwake();

    keepAwake.begin();
    report.equal(hex(currentState()), hex(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED),
                 "begin asks for system and display, continuously (0x80000003)");
    keepAwake.end();
    report.equal(hex(currentState()), hex(ES_CONTINUOUS), "end leaves ES_CONTINUOUS alone");
    keepAwake.begin();
    keepAwake.end();
    report.equal(hex(currentState()), hex(ES_CONTINUOUS), "a second update ends the same way");
    return report.finish();
}
