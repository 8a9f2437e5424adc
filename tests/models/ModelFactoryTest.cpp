#include "models/ModelFactory.h"
#include "ModelAnswers.h"
#include "models/NameOnlyModels.h"
#include "models/OneTemplateModels.h"
#include "models/TwoTemplateModels.h"

#include <QtTest>

#include <typeinfo>

using namespace models;

class ModelFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void listHoldsNineModelsInOrder();
    void everyListIsNew();
    void findModel_data();
    void findModel();
    void cnSerialGivesAFreshObjectEachTime();
    void emptyOrHollowListFindsNothing();
};

void ModelFactoryTest::listHoldsNineModelsInOrder() {
    const ModelList list = buildModelList();
    const std::vector<const std::type_info*> classes = {
        &typeid(LM0410), &typeid(LM0510), &typeid(LM0510_CN), &typeid(LM0520),   &typeid(LM0420),
        &typeid(LM0430), &typeid(LM0530), &typeid(LM0610),    &typeid(LM0420_4K)};
    const std::vector<std::string> names = {"LM0410", "LM0510", "LM0510-CN", "LM0520",   "LM0420",
                                            "LM0430", "LM0530", "LM0610",    "LM0420-4K"};
    QCOMPARE(list.size(), size_t(9));
    for (size_t i = 0; i < list.size(); ++i) {
        QVERIFY(list[i]);
        QVERIFY2(typeid(*list[i]) == *classes[i], names[i].c_str());
        QCOMPARE(list[i]->name(), names[i]);
        QCOMPARE(list[i].use_count(), 1L);
    }
}

void ModelFactoryTest::everyListIsNew() {
    const ModelList first = buildModelList();
    const ModelList second = buildModelList();
    QCOMPARE(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        QVERIFY(first[i] != second[i]);
        QCOMPARE(first[i]->name(), second[i]->name());
        QCOMPARE(QString::fromStdString(firstDifference(*first[i], *second[i])), QString());
    }
}

void ModelFactoryTest::findModel_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("listIndex"); // -1: a model that is not the list's entry
    QTest::addColumn<QString>("modelName");

    const QByteArray serial = "UP2160100001";
    QTest::newRow("exact") << QByteArray("LM0610") << serial << true << 7 << "LM0610";
    QTest::newRow("lower case") << QByteArray("lm0520") << serial << true << 3 << "LM0520";
    QTest::newRow("series") << QByteArray("LM0530 SERIES") << serial << true << 6 << "LM0530";
    QTest::newRow("series lower") << QByteArray("lm0530 series") << serial << true << 6 << "LM0530";
    QTest::newRow("series mixed") << QByteArray("LM0530 Series") << serial << true << 6 << "LM0530";
    QTest::newRow("series twice") << QByteArray("LM0530 SERIES SERIES") << serial << false << 0
                                  << "";
    QTest::newRow("series no space") << QByteArray("LM0530SERIES") << serial << false << 0 << "";
    QTest::newRow("4K model") << QByteArray("LM0420-4K") << serial << true << 8 << "LM0420-4K";
    QTest::newRow("4K model lower")
        << QByteArray("lm0420-4k") << serial << true << 8 << "LM0420-4K";
    QTest::newRow("4K model series")
        << QByteArray("LM0420-4K SERIES") << serial << true << 8 << "LM0420-4K";
    QTest::newRow("base of 4K") << QByteArray("LM0420") << serial << true << 4 << "LM0420";
    QTest::newRow("4K edition") << QByteArray("LM0430-4K") << serial << true << 5 << "LM0430";
    QTest::newRow("4K edition series")
        << QByteArray("lm0410-4k series") << serial << true << 0 << "LM0410";
    QTest::newRow("4K twice") << QByteArray("LM0430-4K-4K") << serial << false << 0 << "";
    QTest::newRow("CN serial") << QByteArray("LM0510") << QByteArray("UP3A00000001") << true << -1
                               << "LM0510-CN";
    QTest::newRow("CN serial, series")
        << QByteArray("lm0510 series") << QByteArray("UP3A00000001") << true << -1 << "LM0510-CN";
    QTest::newRow("CN prefix only")
        << QByteArray("LM0510") << QByteArray("UP3") << true << -1 << "LM0510-CN";
    QTest::newRow("CN prefix lower")
        << QByteArray("LM0510") << QByteArray("up3A00000001") << true << 1 << "LM0510";
    QTest::newRow("plain serial") << QByteArray("LM0510") << serial << true << 1 << "LM0510";
    QTest::newRow("short serial") << QByteArray("LM0510") << QByteArray("UP") << true << 1
                                  << "LM0510";
    QTest::newRow("no serial") << QByteArray("LM0510") << QByteArray() << true << 1 << "LM0510";
    QTest::newRow("prefix later") << QByteArray("LM0510") << QByteArray("XUP3") << true << 1
                                  << "LM0510";
    QTest::newRow("CN name") << QByteArray("LM0510-CN") << serial << true << 2 << "LM0510-CN";
    QTest::newRow("CN name, CN serial")
        << QByteArray("LM0510-CN") << QByteArray("UP3A00000001") << true << 2 << "LM0510-CN";
    QTest::newRow("CN serial, other model")
        << QByteArray("LM0520") << QByteArray("UP3A00000001") << true << 3 << "LM0520";
    QTest::newRow("trailing space") << QByteArray("LM0510 ") << serial << false << 0 << "";
    QTest::newRow("leading space") << QByteArray(" LM0510") << serial << false << 0 << "";
    QTest::newRow("line feed") << QByteArray("LM0510\n") << serial << false << 0 << "";
    QTest::newRow("empty") << QByteArray() << serial << false << 0 << "";
    QTest::newRow("unknown") << QByteArray("LM0999") << serial << false << 0 << "";
    QTest::newRow("prefix of a name") << QByteArray("LM05") << serial << false << 0 << "";
    QTest::newRow("non-ASCII") << QByteArray("LM0510\xC3\xA9") << serial << false << 0 << "";
}

void ModelFactoryTest::findModel() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, serial);
    QFETCH(bool, found);
    QFETCH(int, listIndex);
    QFETCH(QString, modelName);

    const ModelList list = buildModelList();
    const std::shared_ptr<ILCDModel> before = std::make_shared<LM0610>();
    std::shared_ptr<ILCDModel> out = before;

    QCOMPARE(models::findModel(list, name.toStdString(), serial.toStdString(), out), found);
    if (!found) {
        QVERIFY(out == before);
        return;
    }
    QVERIFY(out);
    QCOMPARE(QString::fromStdString(out->name()), modelName);
    if (listIndex >= 0) {
        QVERIFY(out == list[size_t(listIndex)]);
    } else {
        QVERIFY(typeid(*out) == typeid(LM0510_CN));
        for (const auto& entry : list)
            QVERIFY(out != entry);
    }
}

void ModelFactoryTest::cnSerialGivesAFreshObjectEachTime() {
    const ModelList list = buildModelList();
    std::shared_ptr<ILCDModel> first;
    std::shared_ptr<ILCDModel> second;
    QVERIFY(models::findModel(list, "LM0510", "UP3A00000001", first));
    QVERIFY(models::findModel(list, "LM0510", "UP3A00000001", second));
    QVERIFY(first != second);
    QCOMPARE(first.use_count(), 1L);
    QCOMPARE(QString::fromStdString(firstDifference(*first, *list[2])), QString());
}

void ModelFactoryTest::emptyOrHollowListFindsNothing() {
    std::shared_ptr<ILCDModel> out;
    QVERIFY(!models::findModel(ModelList(), "LM0410", "", out));
    QVERIFY(!out);

    ModelList hollow = buildModelList();
    hollow[0].reset();
    QVERIFY(!models::findModel(hollow, "LM0410", "", out));
    QVERIFY(!out);
    QVERIFY(models::findModel(hollow, "LM0610", "", out));
    QVERIFY(out == hollow[7]);
}

QTEST_APPLESS_MAIN(ModelFactoryTest)
#include "ModelFactoryTest.moc"
