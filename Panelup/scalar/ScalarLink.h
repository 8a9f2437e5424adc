#pragma once

#include "scalar/Frames.h"

#include <cstddef>
#include <cstdint>

namespace scalar {

// A reply as read; transferred is false when the bridge refused the read,
// and the bytes are then zeros, never left over from an earlier reply.
struct Reply {
    bool transferred = false;
    Frame bytes;
};

// One request and its reply over the bridge's open hub, with the protocol's
// fixed waits. The bridge's write result is not examined: a lost request
// shows up as a reply that fails its check.
class ScalarLink {
public:
    explicit ScalarLink(uint32_t registerAddress) : registerAddress_(registerAddress) {}

    // Sends a request that has no reply, then waits waitMs (0: no wait).
    void send(const Frame& request, unsigned long waitMs = 0);
    // Sends a request, waits waitMs and reads replyLength bytes.
    Reply ask(const Frame& request, std::size_t replyLength, unsigned long waitMs = kReadWaitMs);

private:
    uint32_t registerAddress_;
};

} // namespace scalar
