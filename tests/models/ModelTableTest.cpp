#include "ModelAnswers.h"
#include "models/EdidTemplates.h"
#include "models/NameOnlyModels.h"
#include "models/OneTemplateModels.h"
#include "models/TwoTemplateModels.h"

#include <QtTest>

#include <memory>

using namespace models;

using Maker = std::shared_ptr<ILCDModel> (*)();
Q_DECLARE_METATYPE(Maker)

namespace {

template <class Model> std::shared_ptr<ILCDModel> make() {
    return std::make_shared<Model>();
}

QByteArray bytesOf(const EdidTemplates::Image& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

QByteArray bytesOf(const std::vector<uint8_t>& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size()));
}

} // namespace

class ModelTableTest : public QObject {
    Q_OBJECT

private slots:
    void everyOperation_data();
    void everyOperation();
    void cnVariantDiffersOnlyInName();
};

void ModelTableTest::everyOperation_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("flag1");
    QTest::addColumn<bool>("flag2");
    QTest::addColumn<bool>("copies");
    QTest::addColumn<bool>("templates");
    QTest::addColumn<QVector<int>>("addresses"); // slots 5 to 10
    QTest::addColumn<QByteArray>("templateA");
    QTest::addColumn<QByteArray>("templateB");

    using namespace EdidTemplates;
    const QByteArray none;
    QTest::newRow("LM0410") << &make<LM0410> << "LM0410" << false << false << true << false
                            << QVector<int>{0x0500, 0x1200, -1, -1, -1, -1} << none << none;
    QTest::newRow("LM0420") << &make<LM0420> << "LM0420" << false << false << true << false
                            << QVector<int>{0x0500, 0x1200, -1, -1, -1, -1} << none << none;
    QTest::newRow("LM0420_4K") << &make<LM0420_4K> << "LM0420-4K" << false << false << true << false
                               << QVector<int>{0x0500, 0x1200, -1, -1, -1, -1} << none << none;
    QTest::newRow("LM0430") << &make<LM0430> << "LM0430" << true << false << true << false
                            << QVector<int>{0x1000, 0x1200, 0x1100, 0x1300, -1, -1} << none << none;
    QTest::newRow("LM0510") << &make<LM0510> << "LM0510" << false << true << true << true
                            << QVector<int>{0x0500, 0x0C00, -1, -1, -1, 0x0200} << none
                            << bytesOf(LM0510B);
    QTest::newRow("LM0510_CN") << &make<LM0510_CN> << "LM0510-CN" << false << true << true << true
                               << QVector<int>{0x0500, 0x0C00, -1, -1, -1, 0x0200} << none
                               << bytesOf(LM0510B);
    QTest::newRow("LM0520") << &make<LM0520> << "LM0520" << false << true << true << false
                            << QVector<int>{0x0500, 0x0C00, -1, -1, -1, 0x0200} << none
                            << bytesOf(LM0520B);
    QTest::newRow("LM0530") << &make<LM0530> << "LM0530" << true << true << true << true
                            << QVector<int>{0x1000, 0x1200, 0x1100, 0x1300, 0x1900, 0x1A00}
                            << bytesOf(LM0530A) << bytesOf(LM0530B);
    QTest::newRow("LM0610") << &make<LM0610> << "LM0610" << true << true << false << true
                            << QVector<int>{0x1000, 0x1200, 0x1100, 0x1300, 0x1900, 0x1A00}
                            << bytesOf(LM0610A) << bytesOf(LM0610B);
}

void ModelTableTest::everyOperation() {
    QFETCH(Maker, make);
    QFETCH(QString, name);
    QFETCH(bool, flag1);
    QFETCH(bool, flag2);
    QFETCH(bool, copies);
    QFETCH(bool, templates);
    QFETCH(QVector<int>, addresses);
    QFETCH(QByteArray, templateA);
    QFETCH(QByteArray, templateB);

    const auto model = make();
    QCOMPARE(QString::fromStdString(model->name()), name);
    QCOMPARE(model->reservedFlag1(), flag1);
    QCOMPARE(model->reservedFlag2(), flag2);
    QCOMPARE(model->repairsEdidCopies(), copies);
    QCOMPARE(model->restoresEdidFromTemplates(), templates);
    QCOMPARE(model->edidSourceAddress(), addresses[0]);
    QCOMPARE(model->edidCopyAddress(), addresses[1]);
    QCOMPARE(model->secondEdidSourceAddress(), addresses[2]);
    QCOMPARE(model->secondEdidCopyAddress(), addresses[3]);
    QCOMPARE(model->templateAreaAddressA(), addresses[4]);
    QCOMPARE(model->templateAreaAddressB(), addresses[5]);
    // An absent template is an empty vector, never 256 zero bytes.
    QCOMPARE(model->edidTemplateA().size(), size_t(templateA.size()));
    QCOMPARE(model->edidTemplateB().size(), size_t(templateB.size()));
    QCOMPARE(bytesOf(model->edidTemplateA()), templateA);
    QCOMPARE(bytesOf(model->edidTemplateB()), templateB);
}

void ModelTableTest::cnVariantDiffersOnlyInName() {
    const LM0510 base;
    const LM0510_CN cn;
    QCOMPARE(QString::fromStdString(firstDifference(base, cn)), QString());
    QCOMPARE(base.name(), std::string("LM0510"));
    QCOMPARE(cn.name(), std::string("LM0510-CN"));
}

QTEST_APPLESS_MAIN(ModelTableTest)
#include "ModelTableTest.moc"
