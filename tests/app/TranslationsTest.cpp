// The window's language: chosen from the user's interface languages, its
// catalogue built in, Qt's own read from the folder given, none for English.
#include "FakePlatform.h"

#include "app/Panelup.h"
#include "app/Translations.h"
#include "seams/WindowText.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QtTest>

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { app::installLanguage(QString()); }

    void languageFromInterfaceLanguages_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        const QString english;
        QTest::newRow("de-DE") << QStringList{"de-DE"} << "de";
        QTest::newRow("de-AT") << QStringList{"de-AT"} << "de";
        QTest::newRow("fr-CA") << QStringList{"fr-CA"} << "fr";
        QTest::newRow("es-419") << QStringList{"es-419"} << "es";
        QTest::newRow("ja-JP") << QStringList{"ja-JP"} << "ja";
        QTest::newRow("zh-Hans-CN") << QStringList{"zh-Hans-CN"} << "zh_CN";
        QTest::newRow("zh-CN") << QStringList{"zh-CN"} << "zh_CN";
        QTest::newRow("zh_CN as Linux writes it") << QStringList{"zh_CN"} << "zh_CN";
        QTest::newRow("zh-SG") << QStringList{"zh-SG"} << "zh_CN";
        QTest::newRow("zh-TW: Traditional") << QStringList{"zh-TW"} << english;
        QTest::newRow("zh-Hant-HK: Traditional") << QStringList{"zh-Hant-HK"} << english;
        QTest::newRow("zh-Hant then ja") << QStringList{"zh-Hant-TW", "ja-JP"} << "ja";
        QTest::newRow("pt-BR") << QStringList{"pt-BR"} << english;
        QTest::newRow("en-GB") << QStringList{"en-GB"} << english;
        QTest::newRow("en-US before de") << QStringList{"en-US", "de-DE"} << english;
        QTest::newRow("none") << QStringList{} << english;
        QTest::newRow("it, fr") << QStringList{"it", "fr"} << "fr";
        QTest::newRow("capitals") << QStringList{"DE-de"} << "de";
        QTest::newRow("a dialect is not the language") << QStringList{"gsw-CH"} << english;
    }

    void languageFromInterfaceLanguages() {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, language);
        QCOMPARE(app::chooseLanguage(uiLanguages), language);
    }

    // Each catalogue reaches the window and the texts of the code working
    // for it; Qt's own catalogue gives the standard buttons.
    void catalogueReachesTheWindow_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("exitButton");
        QTest::addColumn<QString>("confirmTitle");
        QTest::addColumn<QString>("yesButton");
        QTest::newRow("de") << "de"
                            << "ENDE (&X)"
                            << "Firmware-Update bestätigen"
                            << "&Ja";
        QTest::newRow("fr") << "fr"
                            << "QUITTER (&X)"
                            << "Confirmer la mise à jour du firmware"
                            << "&Oui";
        QTest::newRow("es") << "es"
                            << "SALIR (&X)"
                            << "Confirmar la actualización del firmware"
                            << "&Sí";
        QTest::newRow("ja") << "ja"
                            << "終了(&X)"
                            << "ファームウェア更新の確認"
                            << "はい(&Y)";
        QTest::newRow("zh_CN") << "zh_CN"
                               << "退出(&X)"
                               << "确认更新固件"
                               << "是(&Y)";
    }

    void catalogueReachesTheWindow() {
        QFETCH(QString, language);
        QFETCH(QString, exitButton);
        QFETCH(QString, confirmTitle);
        QFETCH(QString, yesButton);
        QVERIFY(
            app::installLanguage(language, QLibraryInfo::location(QLibraryInfo::TranslationsPath)));
        FakePlatform platform;
        app::Panelup window;
        QCOMPARE(window.ui.btnExit->text(), exitButton);
        QCOMPARE(seams::translate("Panelup", "Confirm to update firmware").shown(), confirmTitle);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yesButton);
    }

    // Qt's catalogue comes only from the folder named: where it lacks one,
    // the standard buttons stay English and the window is still translated.
    void qtCatalogueOnlyFromItsFolder() {
        QTemporaryDir empty;
        QVERIFY(app::installLanguage(QStringLiteral("de"), empty.path()));
        QCOMPARE(seams::translate("Panelup", "Update Firmware").shown(),
                 QStringLiteral("Firmware-Update"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    }

    // On Windows the program folder's translations, never Qt's built-in
    // prefix (QLibraryInfo) nor anything else; elsewhere Qt's own folder.
    void qtCatalogueFolderIsFixed() {
#ifdef _WIN32
        QCOMPARE(app::qtCatalogueFolder(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
#else
        QCOMPARE(app::qtCatalogueFolder(), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
#endif
    }

    void englishRemovesTheCatalogues() {
        QVERIFY(app::installLanguage(QStringLiteral("fr")));
        QVERIFY(app::installLanguage(QString()));
        FakePlatform platform;
        app::Panelup window;
        QCOMPARE(window.ui.btnExit->text(), QStringLiteral("EXIT (&X)"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    }

    void unknownLanguageIsRefused() {
        QVERIFY(!app::installLanguage(QStringLiteral("it")));
        QCOMPARE(seams::translate("Panelup", "Update Firmware").shown(),
                 QStringLiteral("Update Firmware"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
