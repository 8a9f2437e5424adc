// The scalar's replies as the fuzzer makes them up: the DDC/CI and vendor
// checks, the EDID area transfer and the serial and hub-version reads. Every
// exchange ends within its retries, a write always puts the scalar back in
// normal mode, and nothing is taken from a reply that was refused.
#include "FakeBridge.h"
#include "FuzzSupport.h"
#include "QuietQt.h"

#include "scalar/EdidAreaTransfer.h"
#include "scalar/Frames.h"
#include "scalar/HubExchanges.h"
#include "seams/Sleeper.h"

#include <cstddef>
#include <cstdint>

using namespace scalar;

namespace {

class NoSleep : public seams::Sleeper {
public:
    void sleepMs(unsigned long) override {}
};

constexpr int chunksOf(std::size_t size, std::size_t chunk) {
    return static_cast<int>((size + chunk - 1) / chunk);
}

void checkFrames(const Frame& frame) {
    if (firmwareLevelReplyAccepted(frame)) {
        FUZZ_REQUIRE(frame.size() == kFirmwareLevelReplyLength);
        FUZZ_REQUIRE(frame[4] == kVcpFirmwareLevel);
        FUZZ_REQUIRE(ddcCheckHolds(frame));
    }
    if (memoryWriteAccepted(frame))
        FUZZ_REQUIRE(frame.size() >= 5);
    if (frame.size() < 3) {
        FUZZ_REQUIRE(!ddcCheckHolds(frame));
        FUZZ_REQUIRE(!vendorCheckHolds(frame));
    }
}

void readArea(ByteReader& input) {
    const uint16_t address = input.word();
    std::vector<uint8_t> area(input.word() % 301, 0x5A);
    fakebridge::reset(input);
    ScalarLink link(kRegisterAddress);
    const bool complete = readMemoryArea(link, address, area);
    FUZZ_REQUIRE(area.size() == kEdidAreaSize);
    FUZZ_REQUIRE(fakebridge::counts().reads <= chunksOf(kEdidAreaSize, kMemoryReadChunk) * 5);
    if (complete)
        FUZZ_REQUIRE(fakebridge::counts().reads >= chunksOf(kEdidAreaSize, kMemoryReadChunk));
    // Every chunk asked for lies in the area.
    for (const Frame& request : fakebridge::written()) {
        FUZZ_REQUIRE(request.size() == 7 && request[1] == 0xC0 && request[2] == 0x09);
        const int offset = static_cast<uint16_t>(((request[4] << 8) | request[5]) - address);
        FUZZ_REQUIRE(offset + request[3] <= static_cast<int>(kEdidAreaSize));
    }
}

void writeArea(ByteReader& input) {
    const uint16_t address = input.word();
    const std::vector<uint8_t> data = input.bytes(input.word() % 301);
    fakebridge::reset(input);
    ScalarLink link(kRegisterAddress);
    writeMemoryArea(link, address, data);
    const auto& frames = fakebridge::written();
    FUZZ_REQUIRE(fakebridge::counts().reads <= chunksOf(data.size(), kMemoryWriteChunk) * 5);
    FUZZ_REQUIRE(frames.size() >= 2);
    FUZZ_REQUIRE(frames.front() == modeRequest(kModeWrite));
    FUZZ_REQUIRE(frames.back() == modeRequest(kModeNormal));
    for (std::size_t i = 1; i + 1 < frames.size(); ++i)
        FUZZ_REQUIRE(vendorCheckHolds(frames[i]));
}

void readSerial(ByteReader& input) {
    HubRecord hub;
    hub.replyHeaderA = input.inRange(-8, 24);
    hub.replyHeaderB = input.inRange(-8, 24);
    hub.replyTrailerLength = input.inRange(-8, 24);
    hub.serialText = "left over";
    fakebridge::reset(input);
    const bool read = readSerialText(hub);
    FUZZ_REQUIRE(fakebridge::counts().closes == 1);
    FUZZ_REQUIRE(hub.serialText.size() <= kSerialReplyLength);
    if (!read)
        FUZZ_REQUIRE(hub.serialText.empty());
}

void readVersion(ByteReader& input) {
    HubRecord hub;
    hub.hubFirmware = 0x1234;
    fakebridge::reset(input);
    const bool read = readHubFirmware(hub);
    FUZZ_REQUIRE(fakebridge::counts().closes == 1);
    FUZZ_REQUIRE(read || hub.hubFirmware == 0);
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
    switch (input.byte() % 5) {
    case 0:
        checkFrames(input.rest());
        break;
    case 1:
        readArea(input);
        break;
    case 2:
        writeArea(input);
        break;
    case 3:
        readSerial(input);
        break;
    case 4:
        readVersion(input);
        break;
    }
    return 0;
}
