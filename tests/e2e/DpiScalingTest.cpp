// The start-up's DPI step at 144 DPI: the form grows by 1.5 and is centred.
// Built a second time with a fractional logical DPI of 143.5 (287 DPI on a
// screen scaled by 2): the desktop's whole-number DPI of 144 still gives 1.5.
#include "E2eFixture.h"

#include "app/Panelup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

class DpiScalingTest : public QObject {
    Q_OBJECT

private slots:
    void formScalesAndCentres() {
        e2e::Fixture fixture;
        QVERIFY(fixture.loadWorld({e2e::Monitor{}}));
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
};

#ifdef FRACTIONAL_DPI
PANELUP_E2E_TEST_MAIN_SETUP(DpiScalingTest, 287, qputenv("QT_SCREEN_SCALE_FACTORS", "2"))
#else
PANELUP_E2E_TEST_MAIN_DPI(DpiScalingTest, 144)
#endif
#include "DpiScalingTest.moc"
