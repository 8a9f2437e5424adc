// Panelup against the virtual monitor and an update site on loopback: the
// same program, linked with the simulated platform layer.
#include "DemoSiteKey.h"

#include "app/Application.h"
#include "catalogue/SiteKeys.h"
#include "platform/Platform.h"

#include <memory>

int main(int argc, char** argv) {
    // The demo site is signed as the maker's should be.
    catalogue::setSiteKeys({PANELUP_DEMO_SITE_KEY});
    const std::unique_ptr<platform::Platform> simulated = platform::makeSimulatedPlatform();
    app::RunOptions options;
    options.siteBaseUrl = QByteArrayLiteral(PANELUP_DEMO_SITE "/dept-pmsd/FW2/");
    options.testSiteBaseUrl = QByteArrayLiteral(PANELUP_DEMO_SITE "/dept-pmsd/FW2_Test/");
    return app::runPanelup(argc, argv, *simulated, options);
}
