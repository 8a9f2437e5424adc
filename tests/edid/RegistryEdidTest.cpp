#include "EdidBuilder.h"

#include "edid/RegistryEdid.h"

#include <QtTest>

#include <map>

namespace {

const std::string Root = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY";
const std::string Guid = "{4d36e96e-e325-11ce-bfc1-08002be10318}";

// The DISPLAY enumeration key as a test lays it out.
class FakeRegistry : public edid::RegistryReader {
public:
    std::vector<std::string> childGroups(const std::string& path) const override {
        ++listings;
        const auto it = children.find(path);
        return it == children.end() ? std::vector<std::string>{} : it->second;
    }
    edid::RegistryValue value(const std::string& path, const std::string& name) const override {
        const auto it = values.find({path, name});
        return it == values.end() ? edid::RegistryValue{} : it->second;
    }

    // An instance subkey of the hardware ID with its driver text and an
    // EDID whose serial number names the instance.
    void addInstance(const std::string& hardwareId, const std::string& instance,
                     const std::string& driver, size_t edidLength = 128) {
        const std::string key = Root + "\\" + hardwareId;
        children[key].push_back(instance);
        values[{key + "\\" + instance, "driver"}] = edid::RegistryValue::fromText(driver);
        EdidBuilder builder;
        builder.serial = instance;
        auto edid = builder.build();
        edid.resize(edidLength, 0);
        values[{key + "\\" + instance + "\\Device Parameters", "EDID"}] =
            edid::RegistryValue::fromBytes(edid);
    }

    std::map<std::string, std::vector<std::string>> children;
    std::map<std::pair<std::string, std::string>, edid::RegistryValue> values;
    mutable int listings = 0;
};

} // namespace

class RegistryEdidTest : public QObject {
    Q_OBJECT

private slots:
    // Which instance's EDID is read (its serial names it), for instance
    // keys listed in order with their "driver" texts.
    void instanceLookup_data() {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QStringList>("drivers");
        QTest::addColumn<QString>("hardwareKeyPath");
        QTest::addColumn<QString>("readInstance");

        const QString id = QString::fromStdString("MONITOR\\ABC1234\\" + Guid + "\\0001");
        const QString key = QString::fromStdString(Root + "\\ABC1234");
        const QString guid = QString::fromStdString(Guid);
        QTest::newRow("second instance matches")
            << id << QStringList{guid + "\\0000", guid + "\\0001"} << key << "UID2";
        QTest::newRow("first of two equal drivers")
            << id << QStringList{guid + "\\0001", guid + "\\0001"} << key << "UID1";
        QTest::newRow("trailing spaces trimmed")
            << id << QStringList{guid + "\\0001   "} << key << "UID1";
        QTest::newRow("surrounding white space trimmed")
            << id << QStringList{"\t " + guid + "\\0001\r\n"} << key << "UID1";
        QTest::newRow("letter case differs")
            << id << QStringList{guid.toUpper() + "\\0001"} << key << "";
        QTest::newRow("no instance matches")
            << id << QStringList{guid + "\\0002", guid + "\\00011"} << key << "";
        QTest::newRow("no subkeys") << id << QStringList{} << key << "";
        QTest::newRow("trailing backslash in device id")
            << id + "\\" << QStringList{guid + "\\0001"} << key << "UID1";
        QTest::newRow("three parts") << QString::fromStdString("MONITOR\\ABC1234\\" + Guid)
                                     << QStringList{guid + "\\", guid} << key << "";
        QTest::newRow("consecutive backslashes")
            << QString::fromStdString("MONITOR\\\\ABC1234\\" + Guid + "\\0001")
            << QStringList{guid + "\\0001"} << QString::fromStdString(Root + "\\") << "";
        QTest::newRow("one part") << "MONITOR" << QStringList{} << ""
                                  << "";
        QTest::newRow("empty device id") << "" << QStringList{} << ""
                                         << "";
    }

    void instanceLookup() {
        QFETCH(QString, deviceId);
        QFETCH(QStringList, drivers);
        QFETCH(QString, hardwareKeyPath);
        QFETCH(QString, readInstance);

        FakeRegistry registry;
        for (int i = 0; i < drivers.size(); ++i)
            registry.addInstance("ABC1234", "UID" + std::to_string(i + 1),
                                 drivers[i].toStdString());

        const auto record = edid::readRegistryEdid(deviceId.toStdString(), registry);
        QCOMPARE(QString::fromStdString(record.deviceId), deviceId);
        QCOMPARE(QString::fromStdString(record.hardwareKeyPath), hardwareKeyPath);
        QCOMPARE(QString::fromStdString(record.serialNumber), readInstance);
        QCOMPARE(QString::fromStdString(record.registryRoot), QString::fromStdString(Root));
        if (readInstance.isEmpty()) {
            QCOMPARE(record.displayName, std::string());
            QCOMPARE(record.horizontalActive, 0);
            QCOMPARE(record.baseBlock, (std::array<uint8_t, 128>{}));
        } else {
            QCOMPARE(record.displayName, std::string("LM0420"));
            QCOMPARE(record.horizontalActive, 2560);
            QCOMPARE(record.verticalActive, 1440);
        }
        if (hardwareKeyPath.isEmpty())
            QCOMPARE(registry.listings, 0);
    }

    void shortEdidValueIsPadded() {
        FakeRegistry registry;
        registry.addInstance("ABC1234", "UID1", Guid + "\\0001", 110);
        const auto record =
            edid::readRegistryEdid("MONITOR\\ABC1234\\" + Guid + "\\0001", registry);
        QCOMPARE(record.serialNumber, std::string("UID1"));
        QCOMPARE(record.displayName, std::string("LM0420"));
        QCOMPARE(record.descriptor4, edid::EdidRecord::Descriptor{});
        QCOMPARE(int(record.checksumByte), 0);
    }

    void longEdidValueKeepsBaseBlock() {
        FakeRegistry registry;
        registry.addInstance("ABC1234", "UID1", Guid + "\\0001", 256);
        const auto record =
            edid::readRegistryEdid("MONITOR\\ABC1234\\" + Guid + "\\0001", registry);
        EdidBuilder builder;
        builder.serial = "UID1";
        const auto expected = builder.build();
        QVERIFY(std::equal(expected.begin(), expected.end(), record.baseBlock.begin()));
        QCOMPARE(record.checksumByte, expected[127]);
    }
};

QTEST_GUILESS_MAIN(RegistryEdidTest)
#include "RegistryEdidTest.moc"
