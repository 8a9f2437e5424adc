#include "app/Application.h"
#include "platform/Platform.h"

#include <memory>

int main(int argc, char** argv) {
    const std::unique_ptr<platform::Platform> native = platform::makeNativePlatform();
    return app::runPanelup(argc, argv, *native);
}
