#include "scalar/EdidAreaTransfer.h"

#include <QDebug>

#include <algorithm>

namespace scalar {

namespace {

bool memoryReplyUsable(const Reply& reply, std::size_t count) {
    return reply.transferred && reply.bytes.size() == memoryReadReplyLength(count) &&
           reply.bytes[1] == 0x80 + count + 2 && vendorCheckHolds(reply.bytes);
}

} // namespace

bool memoryRangeUsable(int address, std::size_t size) {
    return address >= 0 && static_cast<std::size_t>(address) + size <= 0x10000;
}

bool readMemoryArea(ScalarLink& link, uint16_t address, std::vector<uint8_t>& area) {
    area.assign(kEdidAreaSize, 0);
    std::size_t position = 0;
    while (position < kEdidAreaSize) {
        const std::size_t count = std::min(kMemoryReadChunk, kEdidAreaSize - position);
        const uint16_t chunkAddress = static_cast<uint16_t>(address + position);
        const Frame request = memoryReadRequest(static_cast<uint8_t>(count), chunkAddress);
        bool read = false;
        for (int attempt = 1; attempt <= kEdidChunkAttempts && !read; ++attempt) {
            const Reply reply = link.ask(request, memoryReadReplyLength(count));
            read = memoryReplyUsable(reply, count);
            if (read)
                std::copy_n(reply.bytes.begin() + 4, count, area.begin() + position);
            else
                qDebug() << "EDID read at" << chunkAddress << ": bad reply, attempt" << attempt;
        }
        if (!read)
            return false;
        position += count;
    }
    return true;
}

bool writeMemoryArea(ScalarLink& link, uint16_t address, const std::vector<uint8_t>& data) {
    link.send(modeRequest(kModeWrite), kModeEnterWaitMs);
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < data.size()) {
        const std::size_t count = std::min(kMemoryWriteChunk, data.size() - written);
        const uint16_t chunkAddress = static_cast<uint16_t>(address + written);
        const Frame request =
            memoryWriteRequest(chunkAddress, data.data() + written, static_cast<uint8_t>(count));
        bool accepted = false;
        for (int attempt = 1; attempt <= kEdidChunkAttempts && !accepted; ++attempt) {
            const Reply reply = link.ask(request, kMemoryWriteReplyLength, kMemoryWriteWaitMs);
            accepted = reply.transferred && memoryWriteAccepted(reply.bytes);
            if (!accepted)
                qDebug() << "EDID write at" << chunkAddress << ": not accepted, attempt" << attempt;
        }
        ok = accepted;
        if (ok)
            written += count;
    }
    link.send(modeRequest(kModeNormal));
    return ok;
}

} // namespace scalar
