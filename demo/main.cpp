// Panelup against the virtual monitor and an update site on loopback: the
// same program, linked with the simulated platform layer.
#include "app/Application.h"
#include "platform/Platform.h"

#include <memory>

int main(int argc, char** argv) {
    const std::unique_ptr<platform::Platform> simulated = platform::makeSimulatedPlatform();
    app::RunOptions options;
    options.siteBaseUrl = QByteArrayLiteral(PANELUP_DEMO_SITE "/dept-pmsd/FW2/");
    options.testSiteBaseUrl = QByteArrayLiteral(PANELUP_DEMO_SITE "/dept-pmsd/FW2_Test/");
    return app::runPanelup(argc, argv, *simulated, options);
}
