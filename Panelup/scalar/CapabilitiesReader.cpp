#include "scalar/CapabilitiesReader.h"

#include "seams/Sleeper.h"

#include <QDebug>

namespace scalar {

std::string extractModelName(const std::string& capabilities) {
    static const std::string key = "model(";
    const auto start = capabilities.find(key);
    if (start == std::string::npos)
        return {};
    const auto nameStart = start + key.size();
    const auto close = capabilities.find(')', nameStart);
    if (close == std::string::npos)
        return {};
    return capabilities.substr(nameStart, close - nameStart);
}

bool CapabilitiesReader::layoutUsable() const {
    return options_.textStart >= 5 && options_.textStart < options_.textEnd &&
           options_.textEnd <= kCapabilitiesReplyLength;
}

CapabilitiesReader::Result CapabilitiesReader::read(ScalarLink& link) const {
    Result result;
    if (!layoutUsable()) {
        qDebug() << "Capabilities: unusable reply layout" << options_.textStart << options_.textEnd;
        return result;
    }
    const std::size_t step = options_.textEnd - options_.textStart;
    uint16_t offset = 0;
    for (;;) {
        const Reply reply = link.ask(capabilitiesRequest(offset), kCapabilitiesReplyLength);
        ++result.reads;
        result.lastReadTransferred = reply.transferred;
        const Frame& bytes = reply.bytes;
        const bool matches = reply.transferred && ((bytes[3] << 8) | bytes[4]) == offset &&
                             (!options_.checkOpcode || bytes[2] == kCapabilitiesReplyOpcode);
        if (!matches) {
            if (result.reads > kCapabilitiesMismatchLimit) {
                qDebug() << "Capabilities: no fragment for offset" << offset << "after"
                         << result.reads << "reads";
                result.end = End::GaveUp;
                return result;
            }
            if (options_.waitBeforeRetry)
                seams::sleeper().sleepMs(kReadWaitMs);
            continue;
        }
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(options_.textStart);
        // Each fragment is taken whole, the last one with its padding: the
        // padding follows the end of the string, past any model name.
        result.text.append(first, first + static_cast<std::ptrdiff_t>(step));
        offset = static_cast<uint16_t>(offset + step);

        result.modelName = extractModelName(result.text);
        if (!result.modelName.empty()) {
            result.end = End::ModelFound;
            return result;
        }
        if (bytes[1] != kFullCapabilitiesLength) {
            result.end = End::NoModelName;
            return result;
        }
        if (result.reads >= kCapabilitiesReadBound ||
            result.text.size() >= kCapabilitiesTextBound) {
            qDebug() << "Capabilities: no end after" << result.reads << "reads,"
                     << result.text.size() << "characters";
            result.end = End::GaveUp;
            return result;
        }
    }
}

} // namespace scalar
