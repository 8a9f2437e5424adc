#include "Faults.h"

#include <cstddef>
#include <cstdint>

namespace simulator {

Faults::Faults() : generator_(defaultSeed) {}

void Faults::clear() {
    *this = Faults();
}

bool Faults::set(const std::string& name, int32_t value, std::string& error) {
    if (name == "seed") {
        generator_.seed(static_cast<uint32_t>(value));
        return true;
    }
    struct Entry {
        const char* name;
        int32_t* field;
        int32_t maximum;
    };
    const Entry entries[] = {
        {"corruptReplyPercent", &corruptReplyPercent_, 100},
        {"dropReplyPercent", &dropReplyPercent_, 100},
        {"corruptReplies", &corruptReplies_, INT32_MAX},
        {"dropReplies", &dropReplies_, INT32_MAX},
        {"wrongOffsetFragments", &wrongOffsetFragments_, INT32_MAX},
        {"refuseMemoryWrites", &refuseMemoryWrites_, INT32_MAX},
        {"failStatus", &failStatus_, 1},
        {"failSpeed", &failSpeed_, 1},
        {"failLocation", &failLocation_, 1},
        {"failSpeedAtIndex", &failSpeedAtIndex_, INT32_MAX},
        {"failLocationAtIndex", &failLocationAtIndex_, INT32_MAX},
        {"hubGone", &hubGone_, 1},
        {"hubGoneAfterTransfers", &hubGoneAfterTransfers_, INT32_MAX},
        {"hubGoneAfterHubWrite", &hubGoneAfterHubWrite_, 1},
        {"firmwareFailAtPercent", &firmwareFailAtPercent_, 100},
        {"firmwareVersionStays", &firmwareVersionStays_, 1},
        {"refuseBusConfig", &refuseBusConfig_, 1},
    };
    for (const Entry& entry : entries) {
        if (name != entry.name)
            continue;
        if (value < 0 || value > entry.maximum) {
            error = "fault " + name + ": value " + std::to_string(value) + " out of range 0.." +
                    std::to_string(entry.maximum);
            return false;
        }
        *entry.field = value;
        return true;
    }
    error = "unknown fault \"" + name + "\"";
    return false;
}

bool Faults::drawPercent(int32_t percent) {
    // Plain modulo of the raw output, so the sequence is the same with every
    // standard library (the distributions are not).
    return percent > 0 && static_cast<int32_t>(generator_() % 100) < percent;
}

bool Faults::passReply(std::vector<uint8_t>& reply) {
    if (dropReplies_ > 0) {
        --dropReplies_;
        return false;
    }
    if (drawPercent(dropReplyPercent_))
        return false;
    bool corrupt = false;
    if (corruptReplies_ > 0) {
        --corruptReplies_;
        corrupt = true;
    } else {
        corrupt = drawPercent(corruptReplyPercent_);
    }
    if (corrupt && !reply.empty()) {
        // The last data byte: covered by either check byte, and the length
        // byte stays plausible, so the reader sees a bad check, not a short
        // reply.
        const size_t at = reply.size() >= 3 ? reply.size() - 2 : reply.size() - 1;
        reply[at] = static_cast<uint8_t>(~reply[at]);
    }
    return true;
}

bool Faults::takeWrongOffsetFragment() {
    if (wrongOffsetFragments_ <= 0)
        return false;
    --wrongOffsetFragments_;
    return true;
}

bool Faults::takeRefusedMemoryWrite() {
    if (refuseMemoryWrites_ <= 0)
        return false;
    --refuseMemoryWrites_;
    return true;
}

bool Faults::speedFails(uint32_t deviceIndex) const {
    return failSpeed_ != 0 ||
           (failSpeedAtIndex_ > 0 && deviceIndex == static_cast<uint32_t>(failSpeedAtIndex_ - 1));
}

bool Faults::locationFails(uint32_t deviceIndex) const {
    return failLocation_ != 0 || (failLocationAtIndex_ > 0 &&
                                  deviceIndex == static_cast<uint32_t>(failLocationAtIndex_ - 1));
}

void Faults::hubFirmwareWritten() {
    if (hubGoneAfterHubWrite_ != 0)
        hubGone_ = 1;
}

void Faults::countTransfer() {
    if (hubGoneAfterTransfers_ <= 0)
        return;
    if (--hubGoneAfterTransfers_ == 0)
        hubGone_ = 1;
}

} // namespace simulator
