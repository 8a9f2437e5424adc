#include "FakeBridge.h"

#include "Hubbridge.h"

#include <algorithm>

namespace fakebridge {
namespace {

ByteReader* source = nullptr;
Counts tally;
std::vector<std::vector<uint8_t>> frames;

void fixDdcCheck(uint8_t* reply, std::size_t length) {
    if (length < 3)
        return;
    uint8_t check = 0x3E;
    for (std::size_t i = 1; i + 1 < length; ++i)
        check ^= reply[i];
    reply[length - 1] = check;
}

void fixVendorCheck(uint8_t* reply, std::size_t length) {
    if (length < 3)
        return;
    uint8_t check = 0x01;
    for (std::size_t i = 1; i + 1 < length; ++i)
        check ^= reply[i];
    reply[length - 1] = check;
}

} // namespace

void reset(ByteReader& data) {
    source = &data;
    tally = {};
    frames.clear();
}

const Counts& counts() {
    return tally;
}

const std::vector<std::vector<uint8_t>>& written() {
    return frames;
}

} // namespace fakebridge

using namespace fakebridge;

extern "C" {

int32_t GetLastErrorCode(void) {
    return 0;
}

int32_t OpenDevice(int32_t) {
    ++tally.opens;
    return 1;
}

int32_t CloseDevice(void) {
    ++tally.closes;
    return 1;
}

int32_t SetBusSpeed(int32_t, int32_t, int32_t) {
    return source->flag() ? 0 : 1;
}

int32_t GetfwVersion(void) {
    return source->word();
}

int32_t WriteI2C(uint32_t, const uint8_t* buffer, int32_t length) {
    ++tally.writes;
    frames.emplace_back(buffer, buffer + std::max<int32_t>(length, 0));
    return 1;
}

int32_t ReadI2C(uint32_t, uint8_t* buffer, int32_t length) {
    ++tally.reads;
    if (source->remaining() == 0)
        return 0;
    const uint8_t control = source->byte();
    if (control & 1)
        return 0;
    const std::size_t size = static_cast<std::size_t>(std::max<int32_t>(length, 0));
    const std::vector<uint8_t> bytes = source->bytes(size);
    std::fill_n(buffer, size, 0);
    std::copy(bytes.begin(), bytes.end(), buffer);
    if ((control & 8) && size > 4 && !frames.empty() && frames.back().size() >= 4 &&
        frames.back()[1] == 0xF3) {
        buffer[3] = frames.back()[2];
        buffer[4] = frames.back()[3];
    }
    if (control & 2)
        fixDdcCheck(buffer, size);
    if (control & 4)
        fixVendorCheck(buffer, size);
    return 1;
}

} // extern "C"
