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

bool replyIsValid(const uint8_t (&reply)[11], uint8_t code) {
    uint8_t check = ReplyCheckSeed;
    for (int i = 0; i < 10; ++i)
        check ^= reply[i];
    return reply[0] == DisplayAddress && reply[1] == 0x88 && reply[2] == 0x02 && reply[3] == 0x00 &&
           reply[4] == code && check == reply[10];
}

} // namespace

VcpReading queryVcpFeature(const std::string& busDevice, uint8_t code) {
    BusDevice bus(busDevice);
    if (bus.fd() < 0 || ::ioctl(bus.fd(), I2C_SLAVE, DdcCiAddress) < 0)
        return {};
    // Not every adapter supports a time-out of its own; the default is then kept.
    ::ioctl(bus.fd(), I2C_TIMEOUT, KernelTimeout);

    uint8_t request[5] = {HostAddress, 0x82, 0x01, code, 0};
    request[4] = static_cast<uint8_t>(DisplayAddress ^ request[0] ^ request[1] ^ request[2] ^ code);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (::write(bus.fd(), request, sizeof request) != static_cast<ssize_t>(sizeof request))
            return {};
        seams::sleeper().sleepMs(ReplyDelayMs);
        uint8_t reply[11] = {};
        if (::read(bus.fd(), reply, sizeof reply) != static_cast<ssize_t>(sizeof reply))
            continue;
        if (replyIsValid(reply, code)) {
            return {true, static_cast<uint16_t>((reply[8] << 8) | reply[9]),
                    static_cast<uint16_t>((reply[6] << 8) | reply[7])};
        }
    }
    return {};
}

} // namespace platform
