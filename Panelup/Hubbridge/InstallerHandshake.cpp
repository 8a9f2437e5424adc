#include "InstallerHandshake.h"

#include "BridgeOs.h"
#include "CMpFlow.h"

namespace {
constexpr unsigned kInstallerWaitMs = 1500;
}

bool signalDriverInstaller(const CMpFlow& log) {
    if (!bridgeos::driverInstallerExists()) {
        log.DebugLog("No TvxUpx driver installer on this system, installer handshake skipped.\n");
        return true;
    }

    bridgeos::EventHandle request = bridgeos::createGlobalEvent("Global\\TvxUpxEvent");
    if (!request) {
        log.DebugLog("Create Event for Global\\TvxUpxEvent failed, error=0x%lx.\n",
                     bridgeos::lastErrorCode());
        return false;
    }
    // Both handles stay open for the life of the process: the installer may
    // still be looking at them.
    bridgeos::EventHandle completion = bridgeos::createGlobalEvent("Global\\CompleteEvent");
    if (!completion) {
        log.DebugLog("Create Event for Global\\CompleteEvent failed, error=0x%lx.\n",
                     bridgeos::lastErrorCode());
        return false;
    }

    bridgeos::setEvent(request);
    const bridgeos::WaitResult first = bridgeos::waitForEvent(completion, kInstallerWaitMs);
    if (first == bridgeos::WaitResult::Signalled) {
        return true;
    }
    if (first != bridgeos::WaitResult::TimedOut) {
        return false;
    }
    log.DebugLog("Wait for TvxUpx install complete failed.\n");
    return bridgeos::waitForEvent(completion, kInstallerWaitMs) == bridgeos::WaitResult::Signalled;
}
