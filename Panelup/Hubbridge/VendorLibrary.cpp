#include "CMpFlow.h"

#include "BridgeOs.h"

#include <cstdio>

namespace hubbridge {

bool CMpFlow::LoadTvxHubLib() {
    UnloadHubLib();
    const os::LibraryLoad load = os::loadLibraryBesideExecutable(os::vendorLibraryFileName());
    if (load.handle) {
        std::printf("LoadTvxHubLib Success, error=%s \n", load.error.c_str());
    } else {
        std::printf("LoadTvxHubLib Fail, strPath=%s,error=%s \n", load.path.c_str(),
                    load.error.c_str());
    }
    std::fflush(stdout);
    library = load.handle;
    return library != nullptr;
}

void CMpFlow::BindHubFunctions() {
    // A missing name leaves its entry empty; the exports that need it fail.
#define HUBBRIDGE_BIND(name, type)                                                                 \
    functions.name = reinterpret_cast<type>(os::findSymbol(library, #name));                       \
    if (!functions.name) {                                                                         \
        DebugLog(" TxHubLib has no " #name ".\n");                                                 \
    }
    TXHUB_FUNCTIONS(HUBBRIDGE_BIND)
#undef HUBBRIDGE_BIND
}

void CMpFlow::UnloadHubLib() {
    os::freeLibrary(library);
    library = nullptr;
    functions = TxHubFunctions{};
    device = nullptr;
    deviceOpen = false;
}

} // namespace hubbridge
