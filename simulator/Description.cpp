#include "Description.h"

#include "EdidImage.h"
#include "HexText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <stdexcept>

namespace simulator {
namespace {

using nlohmann::json;

// Thrown inside the parser only; parseDescription turns it into its result.
struct DescriptionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw DescriptionError(where + ": " + what);
}

// Keys starting with "_" are comments; anything else unknown is a typo we
// would rather report than ignore.
void checkKeys(const json& object, const std::string& where,
               std::initializer_list<const char*> known) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        if (!key.empty() && key[0] == '_')
            continue;
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return key == k; }))
            fail(where, "unknown key \"" + key + "\"");
    }
}

const json& requireObject(const json& value, const std::string& where) {
    if (!value.is_object())
        fail(where, "expected an object");
    return value;
}

int64_t readInteger(const json& object, const char* key, const std::string& where, int64_t minimum,
                    int64_t maximum, int64_t fallback) {
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    if (!value.is_number_integer())
        fail(where + "." + key, "expected an integer");
    const int64_t number = value.is_number_unsigned()
                               ? static_cast<int64_t>(std::min<uint64_t>(
                                     value.get<uint64_t>(), static_cast<uint64_t>(INT64_MAX)))
                               : value.get<int64_t>();
    if (number < minimum || number > maximum)
        fail(where + "." + key, "value " + std::to_string(number) + " out of range " +
                                    std::to_string(minimum) + ".." + std::to_string(maximum));
    return number;
}

bool readBool(const json& object, const char* key, const std::string& where, bool fallback) {
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    if (!value.is_boolean())
        fail(where + "." + key, "expected true or false");
    return value.get<bool>();
}

std::string readString(const json& object, const char* key, const std::string& where,
                       size_t maximumLength, const std::string& fallback) {
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    if (!value.is_string())
        fail(where + "." + key, "expected a string");
    const std::string text = value.get<std::string>();
    if (text.size() > maximumLength)
        fail(where + "." + key, "longer than " + std::to_string(maximumLength) + " characters");
    return text;
}

std::string readPrintable(const json& object, const char* key, const std::string& where,
                          size_t maximumLength, const std::string& fallback) {
    const std::string text = readString(object, key, where, maximumLength, fallback);
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7E)
            fail(where + "." + key, "holds a character that is not printable ASCII");
    }
    return text;
}

std::vector<uint8_t> readHex(const json& value, const std::string& where) {
    if (!value.is_string())
        fail(where, "expected a string of hex digits");
    std::vector<uint8_t> bytes;
    if (!parseHexText(value.get<std::string>(), bytes))
        fail(where, "not a string of hex digit pairs");
    return bytes;
}

Hub readHubIdentity(const json& object, const std::string& where) {
    Hub hub;
    hub.vendorId = static_cast<uint16_t>(readInteger(object, "vendorId", where, 0, 0xFFFF, 0));
    hub.productIdSuperSpeed =
        static_cast<uint16_t>(readInteger(object, "productIdSuperSpeed", where, 0, 0xFFFF, 0));
    hub.productIdUsb2 =
        static_cast<uint16_t>(readInteger(object, "productIdUsb2", where, 0, 0xFFFF, 0));
    hub.firmware = static_cast<uint16_t>(readInteger(object, "firmware", where, 0, 0xFFFF, 0));
    hub.port = static_cast<uint32_t>(readInteger(object, "port", where, 0, INT32_MAX, 0));
    hub.parent = static_cast<uint32_t>(readInteger(object, "parent", where, 0, INT32_MAX, 0));
    return hub;
}

Hub readHub(const json& value, const std::string& where) {
    const json& object = requireObject(value, where);
    checkKeys(object, where,
              {"vendorId", "productIdSuperSpeed", "productIdUsb2", "firmware", "port", "parent",
               "superSpeed", "usb2", "usb2Speed"});
    Hub hub = readHubIdentity(object, where);
    hub.superSpeed = readBool(object, "superSpeed", where, true);
    hub.usb2 = readBool(object, "usb2", where, true);
    hub.usb2Speed = static_cast<uint32_t>(readInteger(object, "usb2Speed", where, 1, 2, 2));
    return hub;
}

struct MemoryEntry {
    size_t address;
    std::vector<uint8_t> bytes;
};

// The EDID areas and raw memory entries come back separately: the caller
// lays the entries over the areas once the EDID is known.
void readScalar(const json& value, const std::string& where, Scalar& scalar,
                std::vector<size_t>& edidAreas, std::vector<MemoryEntry>& memoryEntries) {
    const json& object = requireObject(value, where);
    checkKeys(object, where,
              {"model", "capabilities", "serial", "firmware", "edidAreas", "memory"});
    if (!object.contains("model"))
        fail(where, "missing \"model\"");
    scalar.model = readPrintable(object, "model", where, 64, "");
    if (scalar.model.empty())
        fail(where + ".model", "must not be empty");
    scalar.capabilities = readString(object, "capabilities", where, Scalar::memorySize,
                                     defaultCapabilities(scalar.model));
    scalar.serial = readString(object, "serial", where, 12, "");

    if (object.contains("firmware")) {
        const json& firmware = object.at("firmware");
        if (!firmware.is_array() || firmware.size() != 2)
            fail(where + ".firmware", "expected [major, minor]");
        const json pair = {{"major", firmware[0]}, {"minor", firmware[1]}};
        scalar.firmwareMajor =
            static_cast<uint8_t>(readInteger(pair, "major", where + ".firmware", 0, 255, 0));
        scalar.firmwareMinor =
            static_cast<uint8_t>(readInteger(pair, "minor", where + ".firmware", 0, 255, 0));
    }

    if (object.contains("edidAreas")) {
        const json& areas = object.at("edidAreas");
        if (!areas.is_array())
            fail(where + ".edidAreas", "expected an array of addresses");
        for (size_t i = 0; i < areas.size(); ++i) {
            const json entry = {{"address", areas[i]}};
            edidAreas.push_back(static_cast<size_t>(
                readInteger(entry, "address", where + ".edidAreas[" + std::to_string(i) + "]", 0,
                            static_cast<int64_t>(Scalar::memorySize - 256), 0)));
        }
    }

    if (object.contains("memory")) {
        const json& memory = object.at("memory");
        if (!memory.is_array())
            fail(where + ".memory", "expected an array of {address, hex}");
        for (size_t i = 0; i < memory.size(); ++i) {
            const std::string at = where + ".memory[" + std::to_string(i) + "]";
            const json& entry = requireObject(memory[i], at);
            checkKeys(entry, at, {"address", "hex"});
            if (!entry.contains("address") || !entry.contains("hex"))
                fail(at, "needs \"address\" and \"hex\"");
            const size_t address = static_cast<size_t>(
                readInteger(entry, "address", at, 0, Scalar::memorySize - 1, 0));
            std::vector<uint8_t> bytes = readHex(entry.at("hex"), at + ".hex");
            if (address + bytes.size() > Scalar::memorySize)
                fail(at, "runs past the end of the 64 KiB memory");
            memoryEntries.push_back({address, std::move(bytes)});
        }
    }
}

std::vector<uint8_t> readEdid(const json& monitor, const std::string& where, const Scalar& scalar) {
    EdidIdentity identity{scalar.model.substr(0, 13), scalar.serial, "NVL", 0};
    if (!monitor.contains("edid"))
        return buildEdid(identity);
    const json& value = monitor.at("edid");
    const std::string at = where + ".edid";
    if (value.is_string()) {
        std::vector<uint8_t> edid = readHex(value, at);
        if (edid.size() != 128 && edid.size() != 256)
            fail(at, "an EDID image has 128 or 256 bytes, this one " + std::to_string(edid.size()));
        return edid;
    }
    const json& object = requireObject(value, at);
    checkKeys(object, at, {"displayName", "serial", "manufacturer", "productCode"});
    identity.displayName = readPrintable(object, "displayName", at, 13, identity.displayName);
    identity.serial = readPrintable(object, "serial", at, 13, identity.serial);
    identity.manufacturer = readString(object, "manufacturer", at, 3, identity.manufacturer);
    if (identity.manufacturer.size() != 3 ||
        !std::all_of(identity.manufacturer.begin(), identity.manufacturer.end(),
                     [](char c) { return c >= 'A' && c <= 'Z'; }))
        fail(at + ".manufacturer", "expected three capital letters");
    identity.productCode =
        static_cast<uint16_t>(readInteger(object, "productCode", at, 0, 0xFFFF, 0));
    return buildEdid(identity);
}

Monitor readMonitor(const json& value, const std::string& where) {
    const json& object = requireObject(value, where);
    checkKeys(object, where, {"edid", "outputTechnology", "ddc", "scalar", "hub"});
    Monitor monitor;
    if (!object.contains("scalar"))
        fail(where, "missing \"scalar\"");
    std::vector<size_t> edidAreas;
    std::vector<MemoryEntry> memoryEntries;
    readScalar(object.at("scalar"), where + ".scalar", monitor.scalar, edidAreas, memoryEntries);

    monitor.edid = readEdid(object, where, monitor.scalar);
    monitor.outputTechnology = static_cast<int32_t>(
        readInteger(object, "outputTechnology", where, INT32_MIN, INT32_MAX, 5));
    monitor.ddc = readBool(object, "ddc", where, true);
    if (object.contains("hub"))
        monitor.hub = readHub(object.at("hub"), where + ".hub");

    for (size_t address : edidAreas)
        std::copy(monitor.edid.begin(), monitor.edid.end(),
                  monitor.scalar.memory.begin() + static_cast<std::ptrdiff_t>(address));
    for (const MemoryEntry& entry : memoryEntries)
        std::copy(entry.bytes.begin(), entry.bytes.end(),
                  monitor.scalar.memory.begin() + static_cast<std::ptrdiff_t>(entry.address));
    return monitor;
}

Device monitorSide(const World& world, int32_t index, Side side) {
    Device device;
    device.monitor = index;
    device.side = side;
    const Hub& hub = *world.monitors[static_cast<size_t>(index)].hub;
    device.speed = side == Side::SuperSpeed ? 3 : hub.usb2Speed;
    return device;
}

void readDevices(const json& list, World& world) {
    if (!list.is_array())
        fail("devices", "expected an array");
    std::set<std::pair<int32_t, Side>> seen;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = "devices[" + std::to_string(i) + "]";
        const json& entry = requireObject(list[i], at);
        if (entry.contains("monitor")) {
            checkKeys(entry, at, {"monitor", "side"});
            if (world.monitors.empty())
                fail(at, "names a monitor, but the description has none");
            const auto index = static_cast<int32_t>(readInteger(
                entry, "monitor", at, 0, static_cast<int64_t>(world.monitors.size()) - 1, 0));
            const std::string sideName = readString(entry, "side", at, 16, "");
            Side side = Side::SuperSpeed;
            if (sideName == "superSpeed")
                side = Side::SuperSpeed;
            else if (sideName == "usb2")
                side = Side::Usb2;
            else
                fail(at + ".side", "expected \"superSpeed\" or \"usb2\"");
            const std::optional<Hub>& hub = world.monitors[static_cast<size_t>(index)].hub;
            if (!hub)
                fail(at, "monitor " + std::to_string(index) + " has no hub");
            if ((side == Side::SuperSpeed && !hub->superSpeed) ||
                (side == Side::Usb2 && !hub->usb2))
                fail(at, "the hub of monitor " + std::to_string(index) + " has no " + sideName +
                             " side");
            if (!seen.insert({index, side}).second)
                fail(at, "lists the " + sideName + " side of monitor " + std::to_string(index) +
                             " a second time");
            world.devices.push_back(monitorSide(world, index, side));
        } else {
            checkKeys(entry, at,
                      {"speed", "vendorId", "productIdSuperSpeed", "productIdUsb2", "firmware",
                       "port", "parent"});
            if (!entry.contains("speed"))
                fail(at, "needs \"monitor\" (a monitor's hub side) or \"speed\" (another device)");
            Device device;
            device.speed = static_cast<uint32_t>(readInteger(entry, "speed", at, 1, 3, 2));
            device.foreign = readHubIdentity(entry, at);
            world.devices.push_back(device);
        }
    }
}

} // namespace

std::string defaultCapabilities(const std::string& model) {
    return "(prot(monitor)type(LCD)model(" + model +
           ")cmds(01 02 03 0C E3 F3)vcp(02 04 05 08 10 12 14(05 08 0B) 16 18 1A 60(0F 11 12) C8 "
           "C9 DF)mccs_ver(2.2))";
}

bool parseDescription(const std::string& text, World& world, std::string& error) {
    try {
        const json root = json::parse(text);
        requireObject(root, "description");
        checkKeys(root, "description",
                  {"persistState", "monitors", "devices", "firmwareWriteMs", "progressSteps",
                   "faults", "requestLogFile"});
        World parsed;
        parsed.persistState = readBool(root, "persistState", "description", false);
        parsed.firmwareWriteMs =
            static_cast<int32_t>(readInteger(root, "firmwareWriteMs", "description", 0, 600000, 0));
        parsed.progressSteps =
            static_cast<int32_t>(readInteger(root, "progressSteps", "description", 0, 1 << 24, 0));
        if (root.contains("faults")) {
            const json& faults = requireObject(root.at("faults"), "faults");
            for (auto it = faults.begin(); it != faults.end(); ++it) {
                if (!it.value().is_number_integer())
                    fail("faults." + it.key(), "expected an integer");
                parsed.faults.emplace_back(it.key(), it.value().get<int32_t>());
            }
        }
        if (root.contains("requestLogFile")) {
            const json& file = root.at("requestLogFile");
            if (!file.is_string() || file.get<std::string>().empty())
                fail("requestLogFile", "expected a file name");
            parsed.requestLogFile = file.get<std::string>();
        }
        if (root.contains("monitors")) {
            const json& monitors = root.at("monitors");
            if (!monitors.is_array())
                fail("monitors", "expected an array");
            for (size_t i = 0; i < monitors.size(); ++i)
                parsed.monitors.push_back(
                    readMonitor(monitors[i], "monitors[" + std::to_string(i) + "]"));
        }
        if (root.contains("devices")) {
            readDevices(root.at("devices"), parsed);
        } else {
            for (size_t i = 0; i < parsed.monitors.size(); ++i) {
                const std::optional<Hub>& hub = parsed.monitors[i].hub;
                if (!hub)
                    continue;
                if (hub->superSpeed)
                    parsed.devices.push_back(
                        monitorSide(parsed, static_cast<int32_t>(i), Side::SuperSpeed));
                if (hub->usb2)
                    parsed.devices.push_back(
                        monitorSide(parsed, static_cast<int32_t>(i), Side::Usb2));
            }
        }
        world = std::move(parsed);
        return true;
    } catch (const json::exception& e) {
        error = std::string("virtual monitor description: ") + e.what();
    } catch (const DescriptionError& e) {
        error = std::string("virtual monitor description: ") + e.what();
    }
    return false;
}

} // namespace simulator
