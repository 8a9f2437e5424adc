#include "StateFile.h"

#include "HexText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace simulator {
namespace {

using nlohmann::json;

// Memory is saved in chunks, skipping blank ones: a monitor's memory is
// mostly blank and the file is rewritten after every change.
constexpr size_t chunkSize = 256;

json memoryChunks(const std::vector<uint8_t>& memory) {
    json chunks = json::array();
    for (size_t start = 0; start < memory.size(); start += chunkSize) {
        const uint8_t* chunk = memory.data() + start;
        const size_t size = std::min(chunkSize, memory.size() - start);
        if (std::all_of(chunk, chunk + size, [](uint8_t b) { return b == 0xFF; }))
            continue;
        chunks.push_back({{"address", start}, {"hex", toHexCompact(chunk, size)}});
    }
    return chunks;
}

struct SavedMonitor {
    uint8_t scalarMajor = 0;
    uint8_t scalarMinor = 0;
    int32_t hubFirmware = -1;
    std::vector<uint8_t> memory;
};

bool readSavedMonitor(const json& entry, SavedMonitor& saved) {
    if (!entry.is_object() || !entry.contains("scalarFirmware") || !entry.contains("memory"))
        return false;
    const json& firmware = entry.at("scalarFirmware");
    if (!firmware.is_array() || firmware.size() != 2 || !firmware[0].is_number_unsigned() ||
        !firmware[1].is_number_unsigned() || firmware[0].get<uint64_t>() > 255 ||
        firmware[1].get<uint64_t>() > 255)
        return false;
    saved.scalarMajor = firmware[0].get<uint8_t>();
    saved.scalarMinor = firmware[1].get<uint8_t>();
    if (entry.contains("hubFirmware")) {
        const json& hub = entry.at("hubFirmware");
        if (!hub.is_number_unsigned() || hub.get<uint64_t>() > 0xFFFF)
            return false;
        saved.hubFirmware = hub.get<int32_t>();
    }
    saved.memory.assign(Scalar::memorySize, 0xFF);
    const json& chunks = entry.at("memory");
    if (!chunks.is_array())
        return false;
    for (const json& chunk : chunks) {
        if (!chunk.is_object() || !chunk.contains("address") || !chunk.contains("hex") ||
            !chunk.at("address").is_number_unsigned() || !chunk.at("hex").is_string())
            return false;
        const uint64_t address = chunk.at("address").get<uint64_t>();
        std::vector<uint8_t> bytes;
        if (!parseHexText(chunk.at("hex").get<std::string>(), bytes) ||
            address + bytes.size() > Scalar::memorySize)
            return false;
        std::copy(bytes.begin(), bytes.end(),
                  saved.memory.begin() + static_cast<std::ptrdiff_t>(address));
    }
    return true;
}

} // namespace

bool saveState(const World& world, const std::string& path, std::string& error) {
    json monitors = json::array();
    for (const Monitor& monitor : world.monitors) {
        json entry = {
            {"scalarFirmware", {monitor.scalar.firmwareMajor, monitor.scalar.firmwareMinor}},
            {"memory", memoryChunks(monitor.scalar.memory)}};
        if (monitor.hub)
            entry["hubFirmware"] = monitor.hub->firmware;
        monitors.push_back(std::move(entry));
    }
    const json root = {{"monitors", std::move(monitors)}};

    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << root.dump(1) << '\n';
        out.close();
        if (!out) {
            error = "cannot write " + temporary;
            return false;
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, path, failure);
    if (failure) {
        error = "cannot replace " + path + ": " + failure.message();
        return false;
    }
    return true;
}

bool applyState(World& world, const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    std::stringstream text;
    text << in.rdbuf();

    const json root = json::parse(text.str(), nullptr, false);
    if (root.is_discarded() || !root.is_object() || !root.contains("monitors") ||
        !root.at("monitors").is_array()) {
        error = "state file " + path + " is not a virtual monitor state";
        return false;
    }
    const json& monitors = root.at("monitors");
    if (monitors.size() != world.monitors.size()) {
        error = "state file " + path + " holds " + std::to_string(monitors.size()) +
                " monitors, the description " + std::to_string(world.monitors.size());
        return false;
    }
    std::vector<SavedMonitor> saved(monitors.size());
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (!readSavedMonitor(monitors[i], saved[i])) {
            error = "state file " + path + ": monitor " + std::to_string(i) + " is malformed";
            return false;
        }
        if ((saved[i].hubFirmware >= 0) != world.monitors[i].hub.has_value()) {
            error = "state file " + path + ": monitor " + std::to_string(i) +
                    " does not match the description's hub";
            return false;
        }
    }
    for (size_t i = 0; i < saved.size(); ++i) {
        Monitor& monitor = world.monitors[i];
        monitor.scalar.firmwareMajor = saved[i].scalarMajor;
        monitor.scalar.firmwareMinor = saved[i].scalarMinor;
        monitor.scalar.memory = std::move(saved[i].memory);
        if (monitor.hub)
            monitor.hub->firmware = static_cast<uint16_t>(saved[i].hubFirmware);
    }
    return true;
}

} // namespace simulator
