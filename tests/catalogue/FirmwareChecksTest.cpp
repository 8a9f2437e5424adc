#include "catalogue/FirmwareChecks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace catalogue;

class FirmwareChecksTest : public QObject {
    Q_OBJECT

private slots:
    void byteChecksumWrapsAt16Bits_data();
    void byteChecksumWrapsAt16Bits();
    void fileChecksumReadsWholeFile_data();
    void fileChecksumReadsWholeFile();
    void checksumTextHasEvenDigits_data();
    void checksumTextHasEvenDigits();
    void checksumTextParses_data();
    void checksumTextParses();
    void compareVersionsBySignificance_data();
    void compareVersionsBySignificance();
};

void FirmwareChecksTest::byteChecksumWrapsAt16Bits_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("skip"); // leading bytes left out, to start off a word boundary
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("abc") << QByteArray("abc") << 0x0126 << 0;
    QTest::newRow("258 x 0xFF") << QByteArray(258, '\xFF') << 0x00FE << 0;
    QTest::newRow("bytes are unsigned") << QByteArray(2, '\x80') << 0x0100 << 0;
    // Whole words, a partial one, and many folds of the 16-bit lanes at
    // their fullest.
    for (const int size : {7, 8, 9, 1023, 1024, 1031, 2048, 100001, (1 << 24) + 3})
        QTest::newRow(qPrintable(QStringLiteral("%1 x 0xFF").arg(size)))
            << QByteArray(size, '\xFF') << static_cast<int>((qint64{size} * 255) % 65536) << 0;
    QByteArray pattern(4099, '\0');
    qint64 sum = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<char>((i * 37 + 11) % 256);
        sum += (i * 37 + 11) % 256;
    }
    QTest::newRow("pattern") << pattern << static_cast<int>(sum % 65536) << 0;
    // Without its first three bytes, 11, 48 and 85.
    QTest::newRow("pattern, unaligned")
        << pattern << static_cast<int>((sum - 11 - 48 - 85) % 65536) << 3;
}

void FirmwareChecksTest::byteChecksumWrapsAt16Bits() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QFETCH(int, skip);
    QCOMPARE(int(byteChecksum(reinterpret_cast<const uint8_t*>(bytes.constData()) + skip,
                              static_cast<std::size_t>(bytes.size() - skip))),
             expected);
}

void FirmwareChecksTest::fileChecksumReadsWholeFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");

    QByteArray pattern(200000, '\0');
    qint64 sum = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<char>((i * 7) % 251);
        sum += (i * 7) % 251;
    }
    QTest::newRow("several chunks") << "file" << pattern << int(sum % 65536);
    QTest::newRow("abc") << "file" << QByteArray("abc") << 0x0126;
    QTest::newRow("line ends kept") << "file" << QByteArray("\r\n\r\n") << 2 * (13 + 10);
    QTest::newRow("empty file") << "file" << QByteArray() << 0;
    QTest::newRow("missing file") << "missing" << QByteArray() << 0;
    QTest::newRow("a folder") << "folder" << QByteArray() << 0;
}

void FirmwareChecksTest::fileChecksumReadsWholeFile() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("firmware ü.bin"));
    if (kind == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    }
    QCOMPARE(int(fileChecksum(path.toStdString())), expected);
}

void FirmwareChecksTest::checksumTextHasEvenDigits_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("a3f") << 0xA3Fu << "0x0a3f";
    QTest::newRow("0") << 0u << "0x00";
    QTest::newRow("1234") << 0x1234u << "0x1234";
    QTest::newRow("f") << 0xFu << "0x0f";
    QTest::newRow("12345") << 0x12345u << "0x012345";
    QTest::newRow("negative") << uint(-1) << "-0x01";
}

void FirmwareChecksTest::checksumTextHasEvenDigits() {
    QFETCH(uint, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(checksumText(int(value))), text);
    QCOMPARE(uint(parseChecksumText(checksumText(int(value)))), value);
}

void FirmwareChecksTest::checksumTextParses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("recorded form") << "0x0a3f" << 0xA3F;
    QTest::newRow("no prefix") << "a3f" << 0xA3F;
    QTest::newRow("upper case") << "0X1A2B" << 0x1A2B;
    QTest::newRow("upper digits, no prefix") << "1A2B" << 0x1A2B;
    QTest::newRow("plus sign") << "+1A2B" << 6699;
    QTest::newRow("minus sign") << "-1" << -1;
    QTest::newRow("minus sign and prefix") << "-0x01" << -1;
    QTest::newRow("white space around") << " 0x10\n" << 0x10;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("prefix alone") << "0x" << 0;
    QTest::newRow("not hexadecimal") << "zz" << 0;
    QTest::newRow("stray character") << "12g" << 0;
    QTest::newRow("inner blank") << "12 34" << 0;
    QTest::newRow("too large") << "0x1FFFFFFFF" << 0;
}

void FirmwareChecksTest::checksumTextParses() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(parseChecksumText(text.toStdString()), value);
}

void FirmwareChecksTest::compareVersionsBySignificance_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing parts are 0") << "1.2"
                                         << "1.2.0.0" << 0;
    QTest::newRow("third part lower") << "1.2.1"
                                      << "1.2" << 1;
    QTest::newRow("candidate higher") << "1.2"
                                      << "1.3" << -1;
    QTest::newRow("installed 2.3 is not older than 1.5") << "1.5"
                                                         << "2.3" << -1;
    QTest::newRow("installed 1.9 is older than 2.0") << "2.0"
                                                     << "1.9" << 1;
    QTest::newRow("numbers, not text") << "1.10"
                                       << "1.9" << 1;
    QTest::newRow("fifth part ignored") << "1.2.3.4.9"
                                        << "1.2.3.4.1" << 0;
    QTest::newRow("empty against 0") << ""
                                     << "0.0" << 0;
    QTest::newRow("non-numeric part is 0") << "1.x"
                                           << "1.0" << 0;
    QTest::newRow("empty part is 0") << "1..2"
                                     << "1.0.2" << 0;
    QTest::newRow("installed 18.3 older than 18.5") << "18.5"
                                                    << "18.3" << 1;
}

void FirmwareChecksTest::compareVersionsBySignificance() {
    QFETCH(QString, reference);
    QFETCH(QString, candidate);
    QFETCH(int, expected);
    QCOMPARE(compareVersions(reference.toStdString(), candidate.toStdString()), expected);
}

QTEST_APPLESS_MAIN(FirmwareChecksTest)
#include "FirmwareChecksTest.moc"
