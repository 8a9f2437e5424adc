// The start-up's DPI step at 144 DPI: the form grows by 1.5 and is centred.
// Built a second time with a fractional logical DPI of 143.5 (287 DPI on a
// screen scaled by 2): the desktop's whole-number DPI of 144 still gives 1.5.
// Built a third time for Windows (WINDOWS_DPI), with Qt's high-DPI policy as
// the program sets it, run under Wine at the desktop DPI given as its first
// argument (Wine's LogPixels): 125-175 % are the form's own adjustment, 200 %
// is Qt's device pixel ratio of 2; a screenshot of each is kept.
// Built a fourth time (LANGUAGES) for the window in every language at the
// DPI given as its first argument, offscreen; for Windows, under Wine, in
// the language Wine's locale chooses, named as its second argument. Every
// text fits and none overlaps, and a screenshot of each is kept.
#include "E2eFixture.h"

#include "app/HighDpi.h"
#include "app/Panelup.h"
#include "app/Translations.h"
#include "seams/WindowText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(WINDOWS_DPI) || defined(LANGUAGES)
namespace {

int desktopDpi = 144;
#if defined(LANGUAGES) && defined(_WIN32)
// The language Wine's locale should choose, empty for English.
QString wineLanguage;
#endif

// Every text fits its widget, and no two texts overlap: the columns'
// widgets themselves overlap by design. With wrapped, a label that wraps
// its text must have room for all its lines too.
void textsFit(QWidget& w, bool wrapped) {
    QList<QPair<QString, QRect>> texts;
    for (QWidget* child : w.findChildren<QWidget*>()) {
        QString text;
        Qt::Alignment alignment = Qt::AlignCenter;
        if (auto* label = qobject_cast<QLabel*>(child)) {
            if (label->wordWrap() && wrapped && child->isVisible())
                QVERIFY2(
                    label->heightForWidth(label->width()) <= label->height(),
                    qPrintable(child->objectName() + QStringLiteral(" cuts ") + label->text()));
            text = label->wordWrap() ? QString() : label->text();
            alignment = label->alignment();
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            // As drawn: the mnemonic's "&" is not shown, "&&" shows one.
            text = button->text();
            text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
        }
        if (Qt::mightBeRichText(text)) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        }
        if (text.isEmpty() || !child->isVisible())
            continue;
        const QSize size(child->fontMetrics().horizontalAdvance(text),
                         child->fontMetrics().height());
        int room = child->contentsRect().width();
        if (qobject_cast<QCheckBox*>(child))
            room -= child->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, child) +
                    child->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, child);
        QVERIFY2(size.width() <= room, qPrintable(QStringLiteral("%1 cuts %2 (%3 of %4 pixels)")
                                                      .arg(child->objectName(), text)
                                                      .arg(size.width())
                                                      .arg(room)));
        QVERIFY2(w.rect().contains(QRect(child->mapTo(&w, QPoint()), child->size())),
                 qPrintable(child->objectName() + QStringLiteral(" leaves the window")));
        if (qobject_cast<QLabel*>(child)) {
            const QRect drawn =
                QStyle::alignedRect(Qt::LeftToRight, alignment, size, child->contentsRect());
            texts.append({child->objectName(), drawn.translated(child->mapTo(&w, QPoint()))});
        }
    }
    for (int i = 0; i < texts.size(); ++i)
        for (int j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i].second.intersects(texts[j].second),
                     qPrintable(texts[i].first + QStringLiteral(" overlaps ") + texts[j].first));
}

} // namespace
#endif

class DpiScalingTest : public QObject {
    Q_OBJECT

private slots:
#if !defined(WINDOWS_DPI) && !defined(LANGUAGES)
    void formScalesAndCentres() {
        e2e::Fixture fixture;
        QVERIFY(fixture.loadWorld({e2e::Monitor {}}));
        fixture.start();

        app::Panelup& w = fixture.window();
        QCOMPARE(w.size(), QSize(966, 543));
        QCOMPARE(w.ui.lblTitle->geometry(), QRect(261, 7, 691, 61));
        // The logo keeps its place and size.
        QCOMPARE(w.ui.label_5->geometry(), QRect(20, 0, 141, 51));
        QCOMPARE(w.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
        // The rest of the sequence still runs.
        QCOMPARE(w.modelName, QStringLiteral("LM0420"));
    }
#elif defined(LANGUAGES)
    void textsFitInEveryLanguage_data() {
        QTest::addColumn<QString>("language");
        const QString scale = QStringLiteral(" %1 %").arg(desktopDpi * 100 / 96);
#ifdef _WIN32
        QTest::newRow(qPrintable(wineLanguage + scale)) << wineLanguage;
#else
        QTest::newRow(qPrintable(QStringLiteral("en") + scale)) << QString();
        for (const QString& language : app::windowLanguages())
            QTest::newRow(qPrintable(language + scale)) << language;
#endif
    }

    void textsFitInEveryLanguage() {
        QFETCH(QString, language);
#ifdef _WIN32
        // As the program chooses it: Wine's interface languages, Qt's
        // catalogue from translations beside the program.
        QCOMPARE(app::installUserLanguage(), language);
#else
        QVERIFY(
            app::installLanguage(language, QLibraryInfo::location(QLibraryInfo::TranslationsPath)));
#endif
        e2e::Fixture fixture;
        QVERIFY(fixture.loadWorld({e2e::Monitor {}}));
        QVERIFY(
            fixture.storeAndRecord(QStringLiteral("LM0420"), e2e::usualScalar(), e2e::usualHub()));
        fixture.publish(QStringLiteral("LM0420"), {e2e::usualScalar(), e2e::usualHub()});
        fixture.start();
        app::Panelup& w = fixture.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(fixture.dialogs.shown.isEmpty());
        QVERIFY(w.ui.btnUpdate->isEnabled());
        if (!language.isEmpty())
            QVERIFY2(w.ui.btnUpdate->text() != QStringLiteral("Update") &&
                         w.ui.label_2->text() != QStringLiteral("Current Firmware"),
                     "the window is not translated");
        // The override box shows where the settings allow a downgrade.
        w.ui.chkOverride->show();
        textsFit(w, true);
        if (QTest::currentTestFailed())
            return;
        const QString name = language.isEmpty() ? QStringLiteral("en") : language;
        QVERIFY(w.grab().save(QStringLiteral("window-%1-%2.png").arg(name).arg(desktopDpi)));

        // The longest notices of the status line.
        for (const QString& notice :
             {seams::translate("Panelup", "The update process may take several minutes. Please "
                                          "do not remove the USB cable connection or turn off "
                                          "the monitor's power while updating.")
                  .shown(),
              seams::translate("Panelup", "The detection of USB Hub is not configured correctly, "
                                          "please close the application and retry again, then "
                                          "unplug & replug the USB cable to try again.")
                  .shown(),
              seams::translate("main", "Other programs may change this copy's folder: install "
                                       "Panelup with the MSI.")
                  .shown()}) {
            w.ui.lblInfo->setText(notice);
            textsFit(w, true);
            if (QTest::currentTestFailed())
                return;
        }
    }
#else
    void formAtDesktopDpi_data() {
        QTest::addColumn<qreal>("pixelRatio");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("title");
        QTest::addColumn<QRect>("bar");
        struct Design {
            int dpi;
            qreal pixelRatio;
            QSize size;
            QRect title, bar;
        };
        // 644 x 362 at 96 DPI, each side cut toward zero after scaling; at
        // 200 % the form as designed, drawn at a ratio of 2.
        const Design designs[] = {
            {120,
             1.0,
             {805, 452},
             {217, 6, 576, 51},
             { 25,
               275,
               751,
               28 }},
            {144,
             1.0,
             {966, 543},
             {261, 7, 691, 61},
             { 30,
               330,
               901,
               34 }},
            {168,
             1.0,
             {1127, 633},
             {304, 8, 806, 71},
             { 35,
               385,
               1051,
               40 }},
            {192,
             2.0,
             {644, 362},
             {174, 5, 461, 41},
             { 20,
               220,
               601,
               23 }},
        };
        // Each run of the program sees one desktop DPI.
        for (const Design& d : designs)
            if (d.dpi == desktopDpi)
                QTest::newRow(qPrintable(QStringLiteral("%1 DPI").arg(d.dpi)))
                    << d.pixelRatio << d.size << d.title << d.bar;
    }

    void formAtDesktopDpi() {
        QFETCH(qreal, pixelRatio);
        QFETCH(QSize, size);
        QFETCH(QRect, title);
        QFETCH(QRect, bar);
        e2e::Fixture fixture;
        QVERIFY(fixture.loadWorld({e2e::Monitor {}}));
        fixture.start();
        app::Panelup& w = fixture.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.devicePixelRatioF(), pixelRatio);
        QCOMPARE(w.size(), size);
        QCOMPARE(w.ui.lblTitle->geometry(), title);
        QCOMPARE(w.ui.bar1->geometry(), bar);
        QCOMPARE(w.ui.label_5->geometry(), QRect(20, 0, 141, 51));
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (pixelRatio == 1.0) {
            QCOMPARE(w.geometry().center(), screen->geometry().center());
        } else {
            // Not adjusted, so placed where Qt places it, as at 100 %: wholly
            // on the desktop's free area.
            QVERIFY(screen->availableGeometry().contains(w.frameGeometry()));
        }

        textsFit(w, false);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(w.grab().save(QStringLiteral("dpi-%1.png").arg(desktopDpi)));
    }
#endif
};

#if defined(WINDOWS_DPI)
int main(int argc, char** argv) {
    IsolatedTempDir isolatedTemp;
    // The desktop DPI this run was started at: the first argument, not for
    // Qt Test.
    if (argc > 1 && std::strspn(argv[1], "0123456789") == std::strlen(argv[1])) {
        desktopDpi = std::atoi(argv[1]);
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    if (desktopDpi != 120 && desktopDpi != 144 && desktopDpi != 168 && desktopDpi != 192) {
        std::fprintf(stderr, "no design for %d DPI\n", desktopDpi);
        return 2;
    }
    app::prepareHighDpi();
    QApplication app(argc, argv);
    DpiScalingTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#elif defined(LANGUAGES)
int main(int argc, char** argv) {
    IsolatedTempDir isolatedTemp;
    // The DPI (and under Wine the language expected): the first arguments,
    // not for Qt Test.
    int taken = 0;
    if (argc > 1 && std::strspn(argv[1], "0123456789") == std::strlen(argv[1])) {
        desktopDpi = std::atoi(argv[1]);
        taken = 1;
#ifdef _WIN32
        if (argc > 2 && argv[2][0] != '-') {
            wineLanguage = QString::fromLatin1(argv[2]);
            taken = 2;
        }
#endif
    }
    for (int i = 1; i + taken < argc; ++i)
        argv[i] = argv[i + taken];
    argc -= taken;
#ifdef _WIN32
    app::prepareHighDpi();
#else
    qputenv("QT_FONT_DPI", QByteArray::number(desktopDpi));
#endif
    QApplication app(argc, argv);
#ifndef _WIN32
    // The size Windows gives the window's texts (its message font, 9 pt);
    // offscreen Qt would take 12 pt, which no desktop uses.
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
#endif
    DpiScalingTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#elif defined(FRACTIONAL_DPI)
PANELUP_E2E_TEST_MAIN_SETUP(DpiScalingTest, 287, qputenv("QT_SCREEN_SCALE_FACTORS", "2"))
#else
PANELUP_E2E_TEST_MAIN_DPI(DpiScalingTest, 144)
#endif
#include "DpiScalingTest.moc"
