#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace simulator {

// The fault switches of the virtual monitor. Everything is deterministic:
// counted faults are used up one by one, percentages are drawn from a
// generator with a fixed (or given) seed.
class Faults {
public:
    static constexpr uint32_t defaultSeed = 20160101;

    Faults();

    // false (and why in error) for an unknown name or a value out of range.
    bool set(const std::string& name, int32_t value, std::string& error);
    void clear();

    // Applied to every reply the scalar prepares: false when it is to be
    // dropped; otherwise the reply may come back corrupted.
    bool passReply(std::vector<uint8_t>& reply);

    bool takeWrongOffsetFragment();
    bool takeRefusedMemoryWrite();

    bool statusFails() const { return failStatus_ != 0; }
    bool speedFails(uint32_t deviceIndex) const;
    bool locationFails(uint32_t deviceIndex) const;
    bool busConfigRefused() const { return refuseBusConfig_ != 0; }
    bool hubGone() const { return hubGone_ != 0; }
    int32_t firmwareFailAtPercent() const { return firmwareFailAtPercent_; }
    // A firmware write ends well and the monitor keeps its old version: a
    // monitor that does not take (or falls back from) the new firmware.
    bool firmwareVersionStays() const { return firmwareVersionStays_ != 0; }

    // Every I2C transfer that reached a device; may make the hubs disappear.
    void countTransfer();
    // A hub firmware written whole; may make the hubs disappear, as a hub
    // that does not come back after its restart.
    void hubFirmwareWritten();

private:
    bool drawPercent(int32_t percent);

    int32_t corruptReplyPercent_ = 0;
    int32_t dropReplyPercent_ = 0;
    int32_t corruptReplies_ = 0;
    int32_t dropReplies_ = 0;
    int32_t wrongOffsetFragments_ = 0;
    int32_t refuseMemoryWrites_ = 0;
    int32_t failStatus_ = 0;
    int32_t failSpeed_ = 0;
    int32_t failLocation_ = 0;
    int32_t failSpeedAtIndex_ = 0;
    int32_t failLocationAtIndex_ = 0;
    int32_t hubGone_ = 0;
    int32_t hubGoneAfterTransfers_ = 0;
    int32_t hubGoneAfterHubWrite_ = 0;
    int32_t firmwareFailAtPercent_ = 0;
    int32_t firmwareVersionStays_ = 0;
    int32_t refuseBusConfig_ = 0;
    std::mt19937 generator_;
};

} // namespace simulator
