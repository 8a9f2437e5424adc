#include "InstallerHandshake.h"

#include "BridgeOs.h"
#include "CMpFlow.h"

namespace hubbridge {

namespace {
constexpr unsigned kInstallerWaitMs = 1500;
}

bool signalDriverInstaller(const CMpFlow& log) {
    if (!os::driverInstallerExists()) {
        log.DebugLog("No TvxUpx driver installer on this system, installer handshake skipped.\n");
        return true;
    }

    os::EventHandle request = os::createGlobalEvent("Global\\TvxUpxEvent");
    if (!request) {
        log.DebugLog("Create Event for Global\\TvxUpxEvent failed, error=0x%lx.\n",
                     os::lastErrorCode());
        return false;
    }
    // Both handles stay open for the life of the process: the installer may
    // still be looking at them.
    os::EventHandle completion = os::createGlobalEvent("Global\\CompleteEvent");
    if (!completion) {
        log.DebugLog("Create Event for Global\\CompleteEvent failed, error=0x%lx.\n",
                     os::lastErrorCode());
        return false;
    }

    os::setEvent(request);
    const os::WaitResult first = os::waitForEvent(completion, kInstallerWaitMs);
    if (first == os::WaitResult::Signalled) {
        return true;
    }
    if (first != os::WaitResult::TimedOut) {
        return false;
    }
    log.DebugLog("Wait for TvxUpx install complete failed.\n");
    return os::waitForEvent(completion, kInstallerWaitMs) == os::WaitResult::Signalled;
}

} // namespace hubbridge
