#include "EdidBuilder.h"

#include "edid/Edid.h"
#include "models/ModelFactory.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes blockOf(uint8_t value, size_t size) {
    return Bytes(size, value);
}

Bytes validImage(size_t blocks) {
    Bytes image(blocks * 128);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    edid::repairEdidChecksums(image);
    return image;
}

edid::EdidRecord::Descriptor descriptor(uint8_t tag, const std::string& bytes) {
    edid::EdidRecord::Descriptor d{};
    d[3] = tag;
    for (size_t i = 0; i < bytes.size() && i < 13; ++i)
        d[5 + i] = static_cast<uint8_t>(bytes[i]);
    return d;
}

} // namespace

class EdidTest : public QObject {
    Q_OBJECT

private slots:
    void validation_data() {
        QTest::addColumn<Bytes>("image");
        QTest::addColumn<int>("expected");

        QTest::newRow("empty") << Bytes{} << 0;
        QTest::newRow("256 x 0xFF") << blockOf(0xFF, 256) << 3;
        QTest::newRow("128 zeros") << blockOf(0x00, 128) << 3;
        Bytes mixed = blockOf(0x00, 256);
        for (size_t i = 0; i < mixed.size(); i += 3)
            mixed[i] = 0xFF;
        QTest::newRow("zeros and 0xFF mixed") << mixed << 3;
        QTest::newRow("100 bytes") << blockOf(0x12, 100) << 1;
        QTest::newRow("129 bytes of a valid image") << [] {
            Bytes b = validImage(1);
            b.push_back(0);
            return b;
        }() << 1;
        QTest::newRow("one valid block") << validImage(1) << 0;
        QTest::newRow("two valid blocks") << validImage(2) << 0;
        Bytes secondBad = validImage(2);
        secondBad[200] ^= 0x01;
        QTest::newRow("second block checksum wrong") << secondBad << 2;
        Bytes firstBad = validImage(2);
        firstBad[127] ^= 0x80;
        QTest::newRow("first block checksum wrong") << firstBad << 2;
        Bytes zeroChecksum(128, 0);
        zeroChecksum[0] = 0x80;
        zeroChecksum[1] = 0x80;
        QTest::newRow("bytes 0-126 sum to 0, byte 127 is 0") << zeroChecksum << 0;
        QTest::newRow("built base block") << EdidBuilder{}.build() << 0;
    }

    void validation() {
        QFETCH(Bytes, image);
        QFETCH(int, expected);
        QCOMPARE(edid::validateEdid(image), expected);
    }

    void modelTemplatesAreValid() {
        int checked = 0;
        for (const auto& model : models::buildModelList()) {
            for (const auto& image : {model->edidTemplateA(), model->edidTemplateB()}) {
                if (image.empty())
                    continue;
                QVERIFY2(edid::validateEdid(image) == 0, model->name().c_str());
                ++checked;
            }
        }
        QVERIFY(checked > 0);
    }

    void stockImages_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("expected");
        const QDir dir(PANELUP_TEST_DATA "/edid");
        for (const auto& name : dir.entryList({"*.bin"}, QDir::Files, QDir::Name)) {
            const int expected = name == "blank.bin" ? 3 : name == "bad-checksum.bin" ? 2 : 0;
            QTest::newRow(qPrintable(name)) << dir.filePath(name) << expected;
        }
    }

    void stockImages() {
        QFETCH(QString, file);
        QFETCH(int, expected);
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray data = in.readAll();
        QCOMPARE(edid::validateEdid(Bytes(data.begin(), data.end())), expected);
    }

    void repairTouchesOnlyChecksumBytes() {
        Bytes image(256);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<uint8_t>(i * 31 + 11);
        const Bytes before = image;
        edid::repairEdidChecksums(image);
        for (size_t i = 0; i < image.size(); ++i) {
            if (i != 127 && i != 255)
                QCOMPARE(image[i], before[i]);
        }
        QCOMPARE(edid::validateEdid(image), 0);
        edid::repairEdidChecksums(image);
        QCOMPARE(edid::validateEdid(image), 0);
    }

    void repairLeavesOddLengthAlone() {
        Bytes image = blockOf(0x33, 200);
        edid::repairEdidChecksums(image);
        QCOMPARE(image, blockOf(0x33, 200));
    }

    void descriptorTexts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("line feed ends") << QByteArray("LM0510\n      ") << QByteArray("LM0510");
        QTest::newRow("13 bytes without line feed")
            << QByteArray("LM0530 SERIES") << QByteArray("LM0530 SERIES");
        QTest::newRow("NUL ends") << QByteArray("AB\0CD", 5) << QByteArray("AB");
        QTest::newRow("spaces stay") << QByteArray(" LM0420  \n") << QByteArray(" LM0420  ");
        QTest::newRow("line feed first") << QByteArray("\nLM0420") << QByteArray();
    }

    void descriptorTexts() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        const auto text = edid::descriptorText(descriptor(0xFC, bytes.toStdString()));
        QCOMPARE(QByteArray::fromStdString(text), expected);
    }

    void decodesBaseBlock() {
        EdidBuilder builder;
        builder.horizontal = 3840;
        builder.vertical = 2160;
        edid::EdidRecord record;
        edid::decodeEdidBaseBlock(record, builder.build());
        QCOMPARE(record.displayName, std::string("LM0420"));
        QCOMPARE(record.serialNumber, std::string("UP2160100001"));
        QCOMPARE(record.horizontalActive, 3840);
        QCOMPARE(record.verticalActive, 2160);
        QCOMPARE(int(record.manufacturerCode[0]), 0x3A);
        QCOMPARE(int(record.productCode[1]), 0x04);
        QCOMPARE(edid::pnpVendorId(record.manufacturerCode), std::string("NVL"));
        QCOMPARE(int(record.checksumByte), int(builder.build()[127]));
    }

    void laterDescriptorOfSameTagReplaces() {
        Bytes image = EdidBuilder{}.build();
        EdidBuilder::putText(image, 108, 0xFC, "LM0610");
        EdidBuilder::putText(image, 72, 0xFD, "");
        edid::EdidRecord record;
        edid::decodeEdidBaseBlock(record, image);
        QCOMPARE(record.displayName, std::string("LM0610"));
        QCOMPARE(record.serialNumber, std::string());
    }

    void shortImageIsPaddedWithZeros() {
        Bytes image = EdidBuilder{}.build();
        image.resize(110);
        edid::EdidRecord record;
        record.baseBlock.fill(0x55);
        edid::decodeEdidBaseBlock(record, image);
        QCOMPARE(record.displayName, std::string("LM0420"));
        QCOMPARE(record.descriptor4, edid::EdidRecord::Descriptor{});
        QCOMPARE(int(record.checksumByte), 0);
        QCOMPARE(int(record.baseBlock[127]), 0);
    }
};

QTEST_GUILESS_MAIN(EdidTest)
#include "EdidUtilitiesTest.moc"
