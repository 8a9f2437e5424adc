#include "BridgeState.h"

#include "InstallerHandshake.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace hubbridge {

namespace {
// Constant-initialized and trivially destructible, so it is ready before the
// attach runs and still there after the detach.
CMpFlow bridgeState;
} // namespace

CMpFlow& theBridge() {
    return bridgeState;
}

void attachBridge() {
    CMpFlow& flow = theBridge();
    flow = CMpFlow{};
    if (!signalDriverInstaller(flow)) {
        flow.DebugLog("Install TvxUpx for USB2I2C failed.\n");
    }
    if (flow.LoadTvxHubLib()) {
        flow.DebugLog("Load TvxHubLib.dll success.\n");
        flow.BindHubFunctions();
        flow.loaded = true;
        flow.DebugLog("Load TvxHub Fun from HubLib.dll success.\n");
    } else {
        flow.lastError = HUBBRIDGE_ERROR_LIBRARY_MISSING;
    }
}

void detachBridge() {
    CMpFlow& flow = theBridge();
    if (flow.loaded) {
        flow.UnloadHubLib();
        flow.loaded = false;
    }
}

} // namespace hubbridge

#if defined(_WIN32)

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        hubbridge::attachBridge();
    } else if (reason == DLL_PROCESS_DETACH) {
        hubbridge::detachBridge();
    }
    // Hubbridge attaches even without the vendor library; callers learn of
    // it from CloseDevice.
    return TRUE;
}

#else

__attribute__((constructor)) static void onLibraryLoad() {
    hubbridge::attachBridge();
}

__attribute__((destructor)) static void onLibraryUnload() {
    hubbridge::detachBridge();
}

#endif
