#include "platform/linux/DdcCiProbe.h"

#include "seams/Sleeper.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int DdcCiAddress = 0x37;         // 7-bit bus address of the monitor's DDC/CI
constexpr uint8_t DisplayAddress = 0x6E;   // the same, in its 8-bit write form
constexpr uint8_t HostAddress = 0x51;      // source address of a host request
constexpr uint8_t ReplyCheckSeed = 0x50;   // a reply's check covers the host's read address
constexpr unsigned long ReplyDelayMs = 50; // DDC/CI: at least 40 ms before the reply
constexpr int Attempts = 2;
constexpr unsigned long KernelTimeout = 10; // in units of 10 ms

class BusDevice {
public:
    explicit BusDevice(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {}
    ~BusDevice() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    BusDevice(const BusDevice&) = delete;
    BusDevice& operator=(const BusDevice&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::array<uint8_t, 5> getVcpRequest(uint8_t code) {
    std::array<uint8_t, 5> request = {HostAddress, 0x82, 0x01, code, 0};
    request[4] = static_cast<uint8_t>(DisplayAddress ^ request[0] ^ request[1] ^ request[2] ^ code);
    return request;
}

VcpReading parseVcpReply(const uint8_t* reply, size_t length, uint8_t code) {
    constexpr size_t ReplyLength = 11;
    if (length < ReplyLength)
        return {};
    uint8_t check = ReplyCheckSeed;
    for (size_t i = 0; i < ReplyLength - 1; ++i)
        check ^= reply[i];
    const bool valid = reply[0] == DisplayAddress && reply[1] == 0x88 && reply[2] == 0x02 &&
                       reply[3] == 0x00 && reply[4] == code && check == reply[10];
    if (!valid)
        return {};
    return {true, static_cast<uint16_t>((reply[8] << 8) | reply[9]),
            static_cast<uint16_t>((reply[6] << 8) | reply[7])};
}

VcpReading queryVcpFeature(const std::string& busDevice, uint8_t code) {
    BusDevice bus(busDevice);
    if (bus.fd() < 0 || ::ioctl(bus.fd(), I2C_SLAVE, DdcCiAddress) < 0)
        return {};
    // Not every adapter supports a time-out of its own; the default is then kept.
    ::ioctl(bus.fd(), I2C_TIMEOUT, KernelTimeout);

    const auto request = getVcpRequest(code);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (::write(bus.fd(), request.data(), request.size()) !=
            static_cast<ssize_t>(request.size()))
            return {};
        seams::sleeper().sleepMs(ReplyDelayMs);
        uint8_t reply[11] = {};
        const ssize_t got = ::read(bus.fd(), reply, sizeof reply);
        const auto reading = parseVcpReply(reply, got > 0 ? static_cast<size_t>(got) : 0, code);
        if (reading.ok)
            return reading;
    }
    return {};
}

} // namespace platform
