#include "scalar/ScalarLink.h"

#include "Hubbridge.h"
#include "seams/Sleeper.h"

namespace scalar {

void ScalarLink::send(const Frame& request, unsigned long waitMs) {
    WriteI2C(registerAddress_, request.data(), static_cast<int32_t>(request.size()));
    if (waitMs > 0)
        seams::sleeper().sleepMs(waitMs);
}

Reply ScalarLink::ask(const Frame& request, std::size_t replyLength, unsigned long waitMs) {
    send(request, waitMs);
    Reply reply;
    reply.bytes.assign(replyLength, 0);
    reply.transferred =
        ReadI2C(registerAddress_, reply.bytes.data(), static_cast<int32_t>(replyLength)) != 0;
    if (!reply.transferred)
        reply.bytes.assign(replyLength, 0);
    return reply;
}

} // namespace scalar
