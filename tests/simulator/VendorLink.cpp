#include "VendorLink.h"

#include <QtTest>

uint8_t ddcCheckOf(const QByteArray& frame) {
    uint8_t check = 0x3E;
    for (int i = 1; i < frame.size() - 1; ++i)
        check ^= static_cast<uint8_t>(frame[i]);
    return check;
}

uint8_t vendorCheckOf(const QByteArray& frame) {
    uint8_t check = 0x01;
    for (int i = 1; i < frame.size() - 1; ++i)
        check ^= static_cast<uint8_t>(frame[i]);
    return check;
}

QByteArray lm0420World(const QJsonObject& settings) {
    world::Monitor m;
    m.manufacturer = QStringLiteral("NVL");
    m.productCode = 1056;
    m.superSpeedPid = 2065;
    m.usb2Pid = 2066;
    m.edidAreas = {0x0500};
    return world::description({m}, {}, settings);
}

VendorLink::VendorLink(uint32_t index) {
    handle_ = TvHub_Open(&index);
}

VendorLink::~VendorLink() {
    if (handle_ != nullptr)
        TvHub_Close(handle_);
}

int32_t VendorLink::configure(int slaveAddress, int memoryAddressLength, int speed) {
    const uint8_t setup[8] = {0x40,
                              0xF6,
                              static_cast<uint8_t>(memoryAddressLength),
                              static_cast<uint8_t>(slaveAddress),
                              static_cast<uint8_t>(0x80 | (speed & 7)),
                              0x80,
                              0,
                              0};
    return TvHub_CtlPipeNoDataOut(handle_, setup);
}

int32_t VendorLink::write(const QByteArray& frame, uint32_t address) {
    const uint8_t setup[8] = {
        static_cast<uint8_t>(0x40),          static_cast<uint8_t>(0xC6),
        static_cast<uint8_t>(address),       static_cast<uint8_t>(address >> 8),
        static_cast<uint8_t>(address >> 16), static_cast<uint8_t>(address >> 24),
        static_cast<uint8_t>(frame.size()),  static_cast<uint8_t>(frame.size() >> 8)};
    return TvHub_CtlPipeOut(handle_, setup, reinterpret_cast<const uint8_t*>(frame.constData()),
                            frame.size());
}

QByteArray VendorLink::read(int length, int32_t* result, uint32_t address) {
    const uint8_t setup[8] = {
        static_cast<uint8_t>(0xC0),          static_cast<uint8_t>(0xD6),
        static_cast<uint8_t>(address),       static_cast<uint8_t>(address >> 8),
        static_cast<uint8_t>(address >> 16), static_cast<uint8_t>(address >> 24),
        static_cast<uint8_t>(length),        static_cast<uint8_t>(length >> 8)};
    // Filled with a marker so bytes the library leaves alone stand out.
    QByteArray buffer(length, '\x5A');
    const int32_t status =
        TvHub_CtlPipeIn(handle_, setup, reinterpret_cast<uint8_t*>(buffer.data()), length);
    if (result != nullptr)
        *result = status;
    return buffer;
}

QByteArray VendorLink::exchange(const QByteArray& request, int replyLength) {
    if (write(request) != 0)
        return QByteArray();
    return read(replyLength);
}

QByteArray memoryReadRequest(int count, int address) {
    return bytes({0x85, 0xC0, 0x09, count, address >> 8 & 0xFF, address & 0xFF, 0xFF});
}

QByteArray memoryWriteRequest(int address, const QByteArray& data) {
    QByteArray frame =
        bytes({0x84 + data.size(), 0xC0, 0x02, data.size(), address >> 8 & 0xFF, address & 0xFF});
    frame.append(data);
    frame.append('\0');
    frame[frame.size() - 1] = static_cast<char>(vendorCheckOf(frame));
    return frame;
}

QByteArray modeRequest(int mode) {
    return bytes({0x83, 0xC0, 0x11, mode, 0xFF});
}
