#include "models/EdidTemplates.h"

#include <QtTest>

using namespace models;

namespace {

QByteArray bytesOf(const EdidTemplates::Image& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

int at(const QByteArray& edid, int offset) {
    return uint8_t(edid[offset]);
}

// A detailed timing as "WxH@refresh/clock", refresh and clock in hundredths.
QString timingAt(const QByteArray& edid, int offset) {
    const int clock10kHz = at(edid, offset) | at(edid, offset + 1) << 8;
    const int hActive = at(edid, offset + 2) | (at(edid, offset + 4) >> 4) << 8;
    const int hBlank = at(edid, offset + 3) | (at(edid, offset + 4) & 0x0F) << 8;
    const int vActive = at(edid, offset + 5) | (at(edid, offset + 7) >> 4) << 8;
    const int vBlank = at(edid, offset + 6) | (at(edid, offset + 7) & 0x0F) << 8;
    const double refresh = clock10kHz * 1e4 / double((hActive + hBlank) * (vActive + vBlank));
    return QString("%1x%2@%3/%4")
        .arg(hActive)
        .arg(vActive)
        .arg(refresh, 0, 'f', 2)
        .arg(clock10kHz / 100.0, 0, 'f', 2);
}

QString resolutionAt(const QByteArray& edid, int offset) {
    return timingAt(edid, offset).section('@', 0, 0);
}

} // namespace

class EdidTemplatesTest : public QObject {
    Q_OBJECT

private slots:
    void image_data();
    void image();
};

void EdidTemplatesTest::image_data() {
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<QString>("preferred");
    QTest::addColumn<QVector<int>>("limits"); // V Hz, H kHz, max clock in 10 MHz steps
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("byte12");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("extensionTimings");

    using namespace EdidTemplates;
    const QStringList qhdTimings = {"1920x1080", "1920x540", "1280x720", "1280x1440"};
    const QStringList uhdTimings = {"3840x2160", "2560x1440", "3840x1080", "1920x2160"};
    const QStringList uwTail = {"3840x800", "1920x1600", "1920x800"};

    QTest::newRow("LM0510 B") << bytesOf(LM0510B) << "2560x1440@59.95/241.50"
                              << QVector<int>{24, 120, 15, 130, 30} << QByteArray("UP2160100001\n")
                              << QByteArray("LM0510\n      ") << 0x01 << 26 << qhdTimings;
    QTest::newRow("LM0520 B") << bytesOf(LM0520B) << "2560x1440@59.95/241.50"
                              << QVector<int>{24, 120, 15, 130, 30} << QByteArray("UP2160100001\n")
                              << QByteArray("LM0520\n      ") << 0x01 << 26 << qhdTimings;
    QTest::newRow("LM0530 A") << bytesOf(LM0530A) << "3840x2160@60.00/533.25"
                              << QVector<int>{24, 120, 15, 204, 60} << QByteArray("U8K140100001\n")
                              << QByteArray("LM0530 SERIES") << 0x17 << 27 << uhdTimings;
    QTest::newRow("LM0530 B") << bytesOf(LM0530B) << "3840x2160@29.98/262.75"
                              << QVector<int>{24, 120, 15, 204, 30} << QByteArray("U8K140100001\n")
                              << QByteArray("LM0530 SERIES") << 0x17 << 27 << uhdTimings;
    // "LM0610", line feed and five spaces leave one byte of the 13-byte text
    // field; only a space there keeps the descriptor conforming.
    QTest::newRow("LM0610 A") << bytesOf(LM0610A) << "3840x1600@60.00/395.42"
                              << QVector<int>{24, 75, 15, 135, 58} << QByteArray("V2W170100001\n")
                              << QByteArray("LM0610\n      ") << 0x17 << 27
                              << QStringList{"3840x1600", "3440x1440"} + uwTail;
    QTest::newRow("LM0610 B") << bytesOf(LM0610B) << "3840x1600@30.00/194.75"
                              << QVector<int>{24, 75, 15, 135, 29} << QByteArray("V2W170100001\n")
                              << QByteArray("LM0610\n      ") << 0x17 << 27
                              << QStringList{"3440x1440"} + uwTail;
}

void EdidTemplatesTest::image() {
    QFETCH(QByteArray, edid);
    QFETCH(QString, preferred);
    QFETCH(QVector<int>, limits);
    QFETCH(QByteArray, serial);
    QFETCH(QByteArray, name);
    QFETCH(int, byte12);
    QFETCH(int, year);
    QFETCH(QStringList, extensionTimings);

    QCOMPARE(edid.size(), 256);
    QVERIFY(std::any_of(edid.begin(), edid.end(), [](char c) { return c != 0 && c != '\xFF'; }));
    for (int block = 0; block < 2; ++block) {
        int sum = 0;
        for (int i = 0; i < 128; ++i)
            sum += at(edid, block * 128 + i);
        QVERIFY2(sum % 256 == 0, qPrintable(QString("block %1").arg(block)));
    }

    // Base block.
    QCOMPARE(edid.left(8), QByteArray::fromHex("00FFFFFFFFFFFF00"));
    const int maker = at(edid, 8) << 8 | at(edid, 9);
    const QString makerCode = QString("%1%2%3")
                                  .arg(QChar('@' + (maker >> 10 & 31)))
                                  .arg(QChar('@' + (maker >> 5 & 31)))
                                  .arg(QChar('@' + (maker & 31)));
    QCOMPARE(makerCode, QString("NVL"));
    QVERIFY(at(edid, 10) | at(edid, 11));
    QCOMPARE(at(edid, 12), byte12);
    QCOMPARE(at(edid, 16), 1);
    QCOMPARE(at(edid, 17), year);
    QCOMPARE(at(edid, 18), 1);
    QCOMPARE(at(edid, 19), 4);
    QCOMPARE(timingAt(edid, 54), preferred);
    QCOMPARE(edid.mid(72, 5), QByteArray::fromHex("000000FF00"));
    QCOMPARE(edid.mid(77, 13), serial);
    QCOMPARE(edid.mid(90, 5), QByteArray::fromHex("000000FD00"));
    QCOMPARE((QVector<int>{at(edid, 95), at(edid, 96), at(edid, 97), at(edid, 98), at(edid, 99)}),
             limits);
    QCOMPARE(edid.mid(108, 5), QByteArray::fromHex("000000FC00"));
    QCOMPARE(edid.mid(113, 13), name);
    QCOMPARE(at(edid, 126), 1);

    // Extension block.
    QCOMPARE(edid.mid(128, 2), QByteArray::fromHex("0203"));
    QCOMPARE(at(edid, 131), 0xF1);
    QStringList timings;
    for (int offset = 128 + at(edid, 130);
         offset + 18 <= 255 && (at(edid, offset) | at(edid, offset + 1)); offset += 18)
        timings << resolutionAt(edid, offset);
    QCOMPARE(timings, extensionTimings);

    QTemporaryFile file;
    QVERIFY(file.open());
    QCOMPARE(file.write(edid), qint64(edid.size()));
    file.close();

    // An independent decoder agrees that it is a conforming EDID.
    const QString decoder = QStandardPaths::findExecutable("edid-decode");
    QVERIFY2(!decoder.isEmpty(), "edid-decode is missing; scripts/setup installs it");
    QProcess process;
    process.start(decoder, {"--check", file.fileName()});
    QVERIFY(process.waitForFinished(60000));
    const QString report = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(report));
    QVERIFY2(!report.contains("Failures:") && report.contains("EDID conformity: PASS"),
             qPrintable(report));
}

QTEST_APPLESS_MAIN(EdidTemplatesTest)
#include "EdidTemplatesTest.moc"
