#include "scalar/Frames.h"
#include "scalar/CapabilitiesReader.h"

#include <QtTest>

using scalar::Frame;

Q_DECLARE_METATYPE(Frame)

namespace {
Frame bytes(std::initializer_list<int> values) {
    Frame frame;
    for (int v : values)
        frame.push_back(static_cast<uint8_t>(v));
    return frame;
}

// A DDC/CI reply with its check byte computed as the display would.
Frame withDdcCheck(Frame reply) {
    uint8_t check = 0x6E ^ 0x50;
    for (std::size_t i = 1; i < reply.size(); ++i)
        check ^= reply[i];
    reply.push_back(check);
    return reply;
}
} // namespace

class FramesTest : public QObject {
    Q_OBJECT

private slots:
    // The frames the device tests do not see built from other values: an
    // offset above 255 and a computed check byte.
    void requests_data() {
        QTest::addColumn<Frame>("frame");
        QTest::addColumn<Frame>("expected");
        QTest::newRow("capabilities at 0x1A4")
            << scalar::capabilitiesRequest(0x1A4) << bytes({0x83, 0xF3, 0x01, 0xA4, 0xFF});
        const uint8_t abc[] = {0x61, 0x62, 0x63};
        // Check: 0x01 ^ C0 ^ 02 ^ 03 ^ 05 ^ 00 ^ 61 ^ 62 ^ 63.
        QTest::newRow("memory write of three")
            << scalar::memoryWriteRequest(0x0500, abc, 3)
            << bytes({0x87, 0xC0, 0x02, 0x03, 0x05, 0x00, 0x61, 0x62, 0x63, 0xA5});
    }
    void requests() {
        QFETCH(Frame, frame);
        QFETCH(Frame, expected);
        QCOMPARE(frame, expected);
    }

    void vendorCheck_data() {
        QTest::addColumn<Frame>("frame");
        QTest::addColumn<int>("check");
        QTest::newRow("abc") << bytes({0x99, 0x61, 0x62, 0x63}) << 0x61;
        QTest::newRow("zeros") << bytes({0x85, 0x00, 0x00, 0x00, 0x00}) << 0x01;
        QTest::newRow("length byte excluded") << bytes({0x00, 0x61, 0x62, 0x63}) << 0x61;
    }
    void vendorCheck() {
        QFETCH(Frame, frame);
        QFETCH(int, check);
        QCOMPARE(int(scalar::vendorCheck(frame.data(), frame.size())), check);
        frame.push_back(static_cast<uint8_t>(check));
        QVERIFY(scalar::vendorCheckHolds(frame));
        frame.back() ^= 0x40;
        QVERIFY(!scalar::vendorCheckHolds(frame));
    }

    void ddcCheck_data() {
        QTest::addColumn<Frame>("reply");
        QTest::addColumn<bool>("holds");
        const Frame level =
            withDdcCheck(bytes({0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0xFF, 0xFF, 0x12, 0x03}));
        QTest::newRow("firmware level") << level << true;
        Frame otherSource = level;
        otherSource[0] = 0x00;
        QTest::newRow("source byte not examined") << otherSource << true;
        Frame flipped = level;
        flipped[8] ^= 0x01;
        QTest::newRow("data flipped") << flipped << false;
        Frame badCheck = level;
        badCheck.back() ^= 0x80;
        QTest::newRow("check flipped") << badCheck << false;
        QTest::newRow("zeros") << Frame(11, 0) << false;
        QTest::newRow("too short") << bytes({0x6E, 0x3E}) << false;
    }
    void ddcCheck() {
        QFETCH(Frame, reply);
        QFETCH(bool, holds);
        QCOMPARE(scalar::ddcCheckHolds(reply), holds);
    }

    void firmwareLevelReply_data() {
        QTest::addColumn<Frame>("reply");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("level 0x12.3")
            << withDdcCheck(bytes({0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0xFF, 0xFF, 0x12, 0x03}))
            << true;
        QTest::newRow("other VCP code with a good check")
            << withDdcCheck(bytes({0x6E, 0x88, 0x02, 0x00, 0xC8, 0x00, 0xFF, 0xFF, 0x12, 0x03}))
            << false;
        Frame corrupt =
            withDdcCheck(bytes({0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0xFF, 0xFF, 0x12, 0x03}));
        corrupt[9] = 0x04;
        QTest::newRow("bad check") << corrupt << false;
        QTest::newRow("null answer") << Frame(11, 0xFF) << false;
    }
    void firmwareLevelReply() {
        QFETCH(Frame, reply);
        QFETCH(bool, accepted);
        QCOMPARE(scalar::firmwareLevelReplyAccepted(reply), accepted);
    }

    void modelName_data() {
        QTest::addColumn<QString>("capabilities");
        QTest::addColumn<QString>("model");
        QTest::newRow("plain") << "(prot(monitor)type(lcd)model(LM0420)cmds(01))"
                               << "LM0420";
        QTest::newRow("first of two") << "model(A)model(B)"
                                      << "A";
        QTest::newRow("empty") << "(type(lcd)model()vcp(10))"
                               << "";
        QTest::newRow("unclosed") << "(type(lcd)model(LM05"
                                  << "";
        QTest::newRow("missing") << "(prot(monitor)type(lcd))"
                                 << "";
        QTest::newRow("close before key") << ")model(LM0530)"
                                          << "LM0530";
    }
    void modelName() {
        QFETCH(QString, capabilities);
        QFETCH(QString, model);
        QCOMPARE(QString::fromStdString(scalar::extractModelName(capabilities.toStdString())),
                 model);
    }
};

QTEST_APPLESS_MAIN(FramesTest)
#include "FramesTest.moc"
