// The model-name search in the capabilities string, fed by replies the
// fuzzer makes up: the reading ends within its bounds whatever the monitor
// sends, and a model name is only ever a name the text really holds.
#include "FakeBridge.h"
#include "FuzzSupport.h"
#include "QuietQt.h"

#include "scalar/CapabilitiesReader.h"
#include "scalar/HubExchanges.h"
#include "seams/Sleeper.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace scalar;

namespace {

class NoSleep : public seams::Sleeper {
public:
    void sleepMs(unsigned long) override {}
};

void checkModelName(const std::string& text, const std::string& name) {
    if (name.empty())
        return;
    FUZZ_REQUIRE(name.find(')') == std::string::npos);
    FUZZ_REQUIRE(text.find("model(" + name + ")") != std::string::npos);
}

void checkResult(const CapabilitiesReader::Result& result) {
    FUZZ_REQUIRE(result.reads >= 1 && result.reads <= 48);
    FUZZ_REQUIRE(result.text.size() < 1024 + 26);
    FUZZ_REQUIRE((result.end == CapabilitiesReader::End::ModelFound) == !result.modelName.empty());
    FUZZ_REQUIRE(result.modelName == extractModelName(result.text));
    checkModelName(result.text, result.modelName);
    FUZZ_REQUIRE(fakebridge::counts().reads == result.reads);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceQtMessages();
    static NoSleep noSleep;
    seams::setSleeper(&noSleep);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const uint8_t mode = input.byte();

    switch (mode % 4) {
    case 0: {
        // The text alone.
        const auto bytes = input.rest();
        const std::string text(bytes.begin(), bytes.end());
        checkModelName(text, extractModelName(text));
        break;
    }
    case 1:
    case 2: {
        // The window's reading (opcode checked, waits) and the inventory's.
        CapabilitiesReader::Options options;
        options.checkOpcode = mode % 4 == 1;
        options.waitBeforeRetry = mode % 4 == 1;
        fakebridge::reset(input);
        ScalarLink link(0x51);
        checkResult(CapabilitiesReader(options).read(link));
        break;
    }
    case 3: {
        // The inventory's reading with a reply layout from the hub record,
        // including layouts that make no sense.
        HubRecord hub;
        hub.replyHeaderA = input.inRange(-8, 40);
        hub.replyHeaderB = input.inRange(-8, 40);
        hub.replyTrailerLength = input.inRange(-8, 40);
        fakebridge::reset(input);
        readModelText(hub);
        FUZZ_REQUIRE(fakebridge::counts().reads <= 48);
        FUZZ_REQUIRE(fakebridge::counts().opens == 1 && fakebridge::counts().closes == 1);
        if (!hub.modelText.empty())
            FUZZ_REQUIRE(hub.modelText.find(')') == std::string::npos);
        break;
    }
    }
    return 0;
}
