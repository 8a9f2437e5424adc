#include "platform/linux/DrmConnectors.h"

#include "edid/DisplayRecords.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

// The N of "cardN-..." or "i2c-N"; -1 when name is not of that form.
int numberAfter(const std::string& name, const std::string& prefix, char end) {
    if (name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    size_t i = prefix.size();
    int number = 0;
    bool digits = false;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) &&
           number < 100000) {
        number = number * 10 + (name[i] - '0');
        digits = true;
        ++i;
    }
    if (!digits)
        return -1;
    if (end == '\0' ? i != name.size() : (i >= name.size() || name[i] != end))
        return -1;
    return number;
}

std::string readSmallText(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

// sysfs reports no size for the EDID attribute: read to the end.
std::vector<uint8_t> readBinary(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

void readPreferredMode(const fs::path& directory, int& width, int& height) {
    const std::string mode = readSmallText(directory / "modes");
    const auto x = mode.find('x');
    if (x == std::string::npos)
        return;
    try {
        width = std::stoi(mode.substr(0, x));
        height = std::stoi(mode.substr(x + 1));
    } catch (const std::exception&) {
        width = height = 0;
    }
}

// The I2C bus the connector's DDC lines are on: the "ddc" link, or an
// "i2c-N" child as DisplayPort connectors have for their AUX channel.
int ddcBusOf(const fs::path& directory) {
    std::error_code error;
    const fs::path link = directory / "ddc";
    if (fs::is_symlink(link, error)) {
        const int bus =
            numberAfter(fs::read_symlink(link, error).filename().string(), "i2c-", '\0');
        if (bus >= 0)
            return bus;
    }
    int found = -1;
    for (fs::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const int bus = numberAfter(it->path().filename().string(), "i2c-", '\0');
        if (bus >= 0 && (found < 0 || bus < found))
            found = bus;
    }
    return found;
}

} // namespace

int32_t outputTechnologyOfConnector(const std::string& name) {
    const auto dash = name.find('-');
    std::string kind = dash == std::string::npos ? name : name.substr(dash + 1);
    // Drop the connector's own number: HDMI-A-1 -> HDMI-A.
    const auto last = kind.rfind('-');
    if (last != std::string::npos && last + 1 < kind.size() &&
        std::all_of(kind.begin() + static_cast<std::ptrdiff_t>(last + 1), kind.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        kind.erase(last);

    if (kind == "HDMI-A" || kind == "HDMI-B")
        return edid::outputtechnology::Hdmi;
    if (kind == "DP")
        return edid::outputtechnology::DisplayPort;
    if (kind == "eDP")
        return edid::outputtechnology::EmbeddedDisplayPort;
    if (kind == "DVI-D" || kind == "DVI-I" || kind == "DVI-A")
        return edid::outputtechnology::Dvi;
    if (kind == "VGA")
        return edid::outputtechnology::Vga;
    return edid::outputtechnology::Other;
}

bool readConnector(const fs::path& sysfsRoot, const std::string& name, DrmConnector& connector) {
    if (numberAfter(name, "card", '-') < 0 || name.find('/') != std::string::npos)
        return false;
    const fs::path directory = sysfsRoot / "class" / "drm" / name;
    if (readSmallText(directory / "status") != "connected")
        return false;
    connector = DrmConnector{};
    connector.name = name;
    connector.directory = directory;
    connector.outputTechnology = outputTechnologyOfConnector(name);
    connector.edid = readBinary(directory / "edid");
    readPreferredMode(directory, connector.width, connector.height);
    connector.ddcBus = ddcBusOf(directory);
    return true;
}

std::vector<DrmConnector> connectedConnectors(const fs::path& sysfsRoot) {
    std::vector<DrmConnector> connectors;
    std::error_code error;
    const fs::path drm = sysfsRoot / "class" / "drm";
    for (fs::directory_iterator it(drm, error), end; !error && it != end; it.increment(error)) {
        DrmConnector connector;
        if (readConnector(sysfsRoot, it->path().filename().string(), connector))
            connectors.push_back(std::move(connector));
    }
    std::sort(connectors.begin(), connectors.end(), [](const auto& a, const auto& b) {
        const int cardA = numberAfter(a.name, "card", '-');
        const int cardB = numberAfter(b.name, "card", '-');
        return cardA != cardB ? cardA < cardB : a.name < b.name;
    });
    return connectors;
}

} // namespace platform
