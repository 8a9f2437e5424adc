// The hub's I2C bridge and the scalar behind it: the vendor control
// requests and every frame the scalar answers, byte for byte.

#include "VendorLink.h"

#include <QtTest>

namespace {

const QByteArray getFirmwareLevel = bytes({0x82, 0x01, 0xC9, 0xFF});

QByteArray capabilitiesRequest(int offset) {
    return bytes({0x83, 0xF3, offset >> 8 & 0xFF, offset & 0xFF, 0xFF});
}

QByteArray worldWithCapabilities(const QByteArray& capabilities) {
    world::Monitor m;
    m.model = QStringLiteral("LM0520");
    m.capabilities = QString::fromLatin1(capabilities);
    return world::description({m});
}

} // namespace

class BusTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(world::load(lm0420World())); }

    void checkBytesOfTheProtocol() {
        // Known answers for the helpers the other tests build frames with.
        QCOMPARE(vendorCheckOf(bytes({0x83, 0x61, 0x62, 0x63, 0x00})), uint8_t(0x61));
        QCOMPARE(vendorCheckOf(QByteArray(8, '\0')), uint8_t(0x01));
        QCOMPARE(ddcCheckOf(bytes({0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0xFF, 0xFF, 0x12, 0x03, 0})),
                 uint8_t(0x6C));
    }

    void busConfiguration_data() {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<int>("configured");
        QTest::addColumn<bool>("scalarAnswers");
        QTest::newRow("scalar link")
            << bytes({0x40, 0xF6, 0x01, 0x6E, 0x80, 0x80, 0, 0}) << 0 << true;
        QTest::newRow("speed code 5")
            << bytes({0x40, 0xF6, 0x01, 0x6E, 0x85, 0x80, 0, 0}) << 0 << true;
        QTest::newRow("another slave")
            << bytes({0x40, 0xF6, 0x01, 0xA0, 0x80, 0x80, 0, 0}) << 0 << false;
        QTest::newRow("request type in")
            << bytes({0xC0, 0xF6, 0x01, 0x6E, 0x80, 0x80, 0, 0}) << -1 << false;
        QTest::newRow("wrong request")
            << bytes({0x40, 0xF5, 0x01, 0x6E, 0x80, 0x80, 0, 0}) << -1 << false;
        QTest::newRow("speed without 0x80")
            << bytes({0x40, 0xF6, 0x01, 0x6E, 0x00, 0x80, 0, 0}) << -1 << false;
        QTest::newRow("index high byte")
            << bytes({0x40, 0xF6, 0x01, 0x6E, 0x80, 0x00, 0, 0}) << -1 << false;
        QTest::newRow("with a length")
            << bytes({0x40, 0xF6, 0x01, 0x6E, 0x80, 0x80, 1, 0}) << -1 << false;
    }

    void busConfiguration() {
        QFETCH(QByteArray, setup);
        QFETCH(int, configured);
        QFETCH(bool, scalarAnswers);
        VendorLink link;
        QCOMPARE(TvHub_CtlPipeNoDataOut(link.handle(),
                                        reinterpret_cast<const uint8_t*>(setup.constData())),
                 configured);
        const int32_t written = link.write(getFirmwareLevel);
        QCOMPARE(written == 0, scalarAnswers);
        int32_t result = -1;
        const QByteArray reply = link.read(11, &result);
        QCOMPARE(result == 0, scalarAnswers);
        if (scalarAnswers)
            QCOMPARE(uint8_t(reply[4]), uint8_t(0xC9));
    }

    void transfersNeedAConfiguredScalarLink() {
        // Not configured: nothing acknowledges.
        VendorLink link;
        QVERIFY(link.write(getFirmwareLevel) != 0);
        int32_t result = 0;
        link.read(11, &result);
        QVERIFY(result != 0);
        // The other side of the same hub has a bridge of its own.
        QCOMPARE(link.configure(), 0);
        VendorLink otherSide(1);
        QVERIFY(otherSide.write(getFirmwareLevel) != 0);
        QCOMPARE(otherSide.configure(), 0);
        QCOMPARE(otherSide.exchange(getFirmwareLevel, 11).at(4), '\xC9');
    }

    void strangersHaveNoScalar() {
        QVERIFY(world::load(R"({ "devices": [ { "speed": 3 } ] })"));
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QVERIFY(link.write(getFirmwareLevel) != 0);
    }

    void transferSetupIsChecked_data() {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("out");
        QTest::newRow("write length differs")
            << bytes({0x40, 0xC6, 0x51, 0, 0, 0, 5, 0}) << 4 << true;
        QTest::newRow("write as a read") << bytes({0x40, 0xD6, 0x51, 0, 0, 0, 4, 0}) << 4 << true;
        QTest::newRow("read length differs")
            << bytes({0xC0, 0xD6, 0x51, 0, 0, 0, 11, 0}) << 12 << false;
        QTest::newRow("read as a write")
            << bytes({0xC0, 0xC6, 0x51, 0, 0, 0, 11, 0}) << 11 << false;
        QTest::newRow("read with out type")
            << bytes({0x40, 0xD6, 0x51, 0, 0, 0, 11, 0}) << 11 << false;
    }

    void transferSetupIsChecked() {
        QFETCH(QByteArray, setup);
        QFETCH(int, length);
        QFETCH(bool, out);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        const auto* packet = reinterpret_cast<const uint8_t*>(setup.constData());
        QByteArray buffer = getFirmwareLevel.leftJustified(length, '\0');
        if (out)
            QVERIFY(TvHub_CtlPipeOut(link.handle(), packet,
                                     reinterpret_cast<const uint8_t*>(buffer.constData()),
                                     length) != 0);
        else
            QVERIFY(TvHub_CtlPipeIn(link.handle(), packet,
                                    reinterpret_cast<uint8_t*>(buffer.data()), length) != 0);
    }

    void theBusAnswersNullWithoutAReply() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        int32_t result = -1;
        QCOMPARE(link.read(32, &result), QByteArray(32, '\xFF'));
        QCOMPARE(result, 0);
        // A reply is read once.
        QCOMPARE(link.exchange(getFirmwareLevel, 11).at(4), '\xC9');
        QCOMPARE(link.read(11), QByteArray(11, '\xFF'));
        // A request without reply clears the one not read yet.
        link.write(getFirmwareLevel);
        link.write(bytes({0x83, 0xC0, 0x11, 0x00, 0xFF}));
        QCOMPARE(link.read(11), QByteArray(11, '\xFF'));
    }

    void bytesPastTheReplyReadAsZero() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        const QByteArray reply = link.exchange(getFirmwareLevel, 40);
        QCOMPARE(reply.left(11).toHex(' '), QByteArray("6e 88 02 00 c9 00 ff ff 12 03 6c"));
        QCOMPARE(reply.mid(11), QByteArray(29, '\0'));
        // A short read gets the start of the reply.
        QCOMPARE(link.exchange(getFirmwareLevel, 5).toHex(' '), QByteArray("6e 88 02 00 c9"));
    }

    void theRegisterAddressLeadsTheFrame_data() {
        QTest::addColumn<int>("memoryAddressLength");
        QTest::addColumn<uint32_t>("address");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("answered");
        QTest::newRow("0x51 then the frame") << 1 << 0x51u << getFirmwareLevel << true;
        QTest::newRow("upper address bits are not on the bus")
            << 1 << 0x12345651u << getFirmwareLevel << true;
        QTest::newRow("another source") << 1 << 0x50u << getFirmwareLevel << false;
        QTest::newRow("no address byte, frame without source")
            << 0 << 0x51u << getFirmwareLevel << false;
        QTest::newRow("no address byte, source in the data")
            << 0 << 0u << QByteArray("\x51" + getFirmwareLevel) << true;
        QTest::newRow("two address bytes") << 2 << 0x51u << getFirmwareLevel << false;
        QTest::newRow("two address bytes, 0x51 first")
            << 2 << 0x5182u << bytes({0x01, 0xC9, 0xFF}) << true;
    }

    void theRegisterAddressLeadsTheFrame() {
        QFETCH(int, memoryAddressLength);
        QFETCH(uint32_t, address);
        QFETCH(QByteArray, payload);
        QFETCH(bool, answered);
        VendorLink link;
        QCOMPARE(link.configure(0x6E, memoryAddressLength), 0);
        QCOMPARE(link.write(payload, address), 0);
        QCOMPARE(link.read(11).at(4) == '\xC9', answered);
    }

    void capabilitiesFragments_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("short") << 10;
        QTest::newRow("one full fragment") << 26;
        QTest::newRow("two full fragments") << 52;
        QTest::newRow("a partial last fragment") << 61;
        QTest::newRow("offsets above 255") << 300;
    }

    void capabilitiesFragments() {
        QFETCH(int, length);
        QByteArray capabilities;
        for (int i = 0; capabilities.size() < length; ++i)
            capabilities += char('a' + i % 26);
        QVERIFY(world::load(worldWithCapabilities(capabilities)));
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QByteArray gathered;
        for (int offset = 0;; offset += 26) {
            const QByteArray reply = link.exchange(capabilitiesRequest(offset), 32);
            const int count = qBound(0, length - offset, 26);
            QCOMPARE(reply.size(), 32);
            QCOMPARE(uint8_t(reply[0]), uint8_t(0x6E));
            QCOMPARE(uint8_t(reply[1]), uint8_t(0x80 + 3 + count));
            QCOMPARE(uint8_t(reply[2]), uint8_t(0xE3));
            QCOMPARE(uint8_t(reply[3]) << 8 | uint8_t(reply[4]), offset);
            QCOMPARE(reply.mid(5, count), capabilities.mid(offset, count));
            QCOMPARE(reply.mid(5 + count, 26 - count), QByteArray(26 - count, '\0'));
            QCOMPARE(uint8_t(reply[31]), ddcCheckOf(reply));
            gathered += reply.mid(5, count);
            if (count < 26 && count != 0)
                QVERIFY(uint8_t(reply[1]) != 0x9D);
            if (count == 0)
                break;
        }
        QCOMPARE(gathered, capabilities);
    }

    void serialNumber_data() {
        QTest::addColumn<QByteArray>("serial");
        QTest::newRow("twelve characters") << QByteArray("UP2160100001");
        QTest::newRow("short, zero-padded") << QByteArray("V2W17");
        QTest::newRow("none") << QByteArray();
    }

    void serialNumber() {
        QFETCH(QByteArray, serial);
        QVERIFY(world::load(R"({ "monitors": [ { "scalar": { "model": "LM0610", "serial": ")" +
                            serial + R"(" }, "hub": {} } ] })"));
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        const QByteArray reply = link.exchange(bytes({0x82, 0xF1, 0x44, 0xFF}), 18);
        QCOMPARE(reply.size(), 18);
        QCOMPARE(uint8_t(reply[0]), uint8_t(0x6E));
        QCOMPARE(uint8_t(reply[1]), uint8_t(0x8F));
        QCOMPARE(reply.mid(5, 12), serial.leftJustified(12, '\0'));
        QCOMPARE(uint8_t(reply[17]), ddcCheckOf(reply));
    }

    void vcpReplies_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("firmware level")
            << 0xC9 << bytes({0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0xFF, 0xFF, 0x12, 0x03, 0x6C});
        QTest::newRow("controller type keeps its own code")
            << 0xC8 << bytes({0x6E, 0x88, 0x02, 0x00, 0xC8, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x7C});
    }

    void vcpReplies() {
        QFETCH(int, code);
        QFETCH(QByteArray, expected);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.exchange(bytes({0x82, 0x01, code, 0xFF}), 11).toHex(' '),
                 expected.toHex(' '));
    }

    void factoryReset_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("resets");
        QTest::newRow("restore factory defaults")
            << bytes({0x84, 0x03, 0x04, 0x00, 0x01, 0xFF}) << 1;
        QTest::newRow("value 0") << bytes({0x84, 0x03, 0x04, 0x00, 0x00, 0xFF}) << 0;
        QTest::newRow("another control") << bytes({0x84, 0x03, 0x10, 0x00, 0x01, 0xFF}) << 0;
        QTest::newRow("wrong length byte") << bytes({0x85, 0x03, 0x04, 0x00, 0x01, 0xFF}) << 0;
        QTest::newRow("wrong check byte") << bytes({0x84, 0x03, 0x04, 0x00, 0x01, 0xFE}) << 0;
    }

    void factoryReset() {
        QFETCH(QByteArray, request);
        QFETCH(int, resets);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.write(request), 0);
        QCOMPARE(VM_FactoryResetCount(0), resets);
        QCOMPARE(link.read(6), QByteArray(6, '\xFF'));
    }

    void memoryReadReplies_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("address");
        QTest::newRow("27 bytes of the EDID area") << 27 << 0x0500;
        QTest::newRow("the last 13") << 13 << 0x05F3;
        QTest::newRow("blank memory") << 32 << 0x1200;
        QTest::newRow("end of memory") << 1 << 0xFFFF;
    }

    void memoryReadReplies() {
        QFETCH(int, count);
        QFETCH(int, address);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        const QByteArray reply = link.exchange(memoryReadRequest(count, address), count + 5);
        QByteArray memory(count, '\0');
        QCOMPARE(VM_ReadMemory(0, address, reinterpret_cast<uint8_t*>(memory.data()), count), 1);
        QCOMPARE(uint8_t(reply[1]), uint8_t(0x80 + count + 2));
        QCOMPARE(reply.mid(4, count), memory);
        QCOMPARE(uint8_t(reply[count + 4]), vendorCheckOf(reply));
    }

    void memoryReadsOutsideMemoryGetNoReply() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.exchange(memoryReadRequest(2, 0xFFFF), 7), QByteArray(7, '\xFF'));
        QCOMPARE(link.exchange(memoryReadRequest(0, 0x0500), 5), QByteArray(5, '\xFF'));
    }

    void memoryWriteRoundTrip() {
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.write(modeRequest(3)), 0);
        QByteArray data;
        for (int i = 0; i < 32; ++i)
            data += char(0xA0 + i);
        const QByteArray accepted = link.exchange(memoryWriteRequest(0x1200, data), 6);
        QCOMPARE(accepted.mid(1, 4).toHex(' '), QByteArray("83 c1 02 01"));
        QCOMPARE(uint8_t(accepted[5]), vendorCheckOf(accepted));
        QCOMPARE(link.exchange(memoryWriteRequest(0x1220, data.left(8)), 6).mid(1, 4).toHex(' '),
                 QByteArray("83 c1 02 01"));
        link.write(modeRequest(0));

        const QByteArray back = link.exchange(memoryReadRequest(27, 0x1200), 32);
        QCOMPARE(back.mid(4, 27), data.left(27));
        QByteArray memory(42, '\0');
        VM_ReadMemory(0, 0x1200, reinterpret_cast<uint8_t*>(memory.data()), 42);
        QCOMPARE(memory, data + data.left(8) + QByteArray(2, '\xFF'));
    }

    void memoryWriteRefusals_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("checkFlip");
        QTest::addColumn<int>("lengthByteShift");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray refused = bytes({0x83, 0xC1, 0x02, 0x00});
        QTest::newRow("mode 3 not set") << 0 << 0 << 0 << refused;
        QTest::newRow("another mode") << 2 << 0 << 0 << refused;
        QTest::newRow("wrong vendor check") << 3 << 1 << 0 << refused;
        QTest::newRow("length byte 0x85 + count") << 3 << 0 << 1 << QByteArray(4, '\xFF');
    }

    void memoryWriteRefusals() {
        QFETCH(int, mode);
        QFETCH(int, checkFlip);
        QFETCH(int, lengthByteShift);
        QFETCH(QByteArray, reply);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        link.write(modeRequest(mode));
        QByteArray request = memoryWriteRequest(0x1200, QByteArray(16, '\x11'));
        request[0] = char(request[0] + lengthByteShift);
        request[request.size() - 1] = char(request[request.size() - 1] ^ checkFlip);
        QCOMPARE(link.exchange(request, 6).mid(1, 4), reply);
        uint8_t first = 0;
        VM_ReadMemory(0, 0x1200, &first, 1);
        QCOMPARE(first, uint8_t(0xFF));
    }

    void otherRequestsGetNoReply_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("serial with another argument") << bytes({0x82, 0xF1, 0x45, 0xFF});
        QTest::newRow("capabilities with a computed check") << bytes({0x83, 0xF3, 0, 0, 0x4D});
        QTest::newRow("unknown opcode") << bytes({0x81, 0x07, 0xFF});
        QTest::newRow("unknown vendor subcommand") << bytes({0x83, 0xC0, 0x05, 0x00, 0xFF});
        QTest::newRow("truncated") << bytes({0x83, 0xF3, 0x00});
        QTest::newRow("one byte") << bytes({0x82});
    }

    void otherRequestsGetNoReply() {
        QFETCH(QByteArray, request);
        VendorLink link;
        QCOMPARE(link.configure(), 0);
        QCOMPARE(link.exchange(request, 32), QByteArray(32, '\xFF'));
    }
};

QTEST_GUILESS_MAIN(BusTest)
#include "BusTest.moc"
