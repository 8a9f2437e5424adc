// The window: its title, texts, slots, dragging, DPI scaling and closing,
// offscreen with a fake platform for the file version.
#include "FakePlatform.h"
#include "IsolatedTempDir.h"
#include "RecordingExit.h"
#include "app/Panelup.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

namespace {

const char productTitle[] = "LM Series USB Firmware Update Tool v";

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint global) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A move with the left button down, as during a drag; Qt drops moves without
// a button on a widget that does not track the mouse.
void sendMove(QWidget* target, QPoint global) {
    QMouseEvent event(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class PanelupWindowTest : public QObject {
    Q_OBJECT

private:
    FakePlatform platform;
    std::unique_ptr<app::Panelup> window;

    // Showing the window runs the start-up sequence: keep its site check on a
    // closed loopback port instead of the maker's host.
    void keepOffline() {
        window->siteBaseUrl = window->testSiteBaseUrl = "http://127.0.0.1:9/dept-pmsd/FW2/";
    }

    QWidget* widget(const QString& name) {
        return name == QLatin1String("PanelupClass") ? window.get()
                                                     : window->findChild<QWidget*>(name);
    }

private slots:
    void init() {
        platform.version = platform::FileVersion{1, 7, 0, 5};
        window = std::make_unique<app::Panelup>();
    }
    void cleanup() { window.reset(); }

    void formWindow() {
        QCOMPARE(window->objectName(), QStringLiteral("PanelupClass"));
        QCOMPARE(window->size(), QSize(644, 362));
        QCOMPARE(window->styleSheet(), QStringLiteral("background-color: rgb(91, 89, 90);"));
        QCOMPARE(window->windowFlags(), Qt::Window | Qt::FramelessWindowHint);
        QCOMPARE(window->windowTitle(), QStringLiteral("%1%2").arg(productTitle, "1.07"));
        QCOMPARE(window->ui.lblTitle->text(), window->windowTitle());
        QCOMPARE(platform.askedPaths.back(), QCoreApplication::applicationFilePath().toStdString());
    }

    // The texts the user reads on the form.
    void formTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("btnExit") << "btnExit"
                                 << "EXIT (&X)";
        QTest::newRow("btnUpdate") << "btnUpdate"
                                   << "Update";
        QTest::newRow("chkOverride") << "chkOverride"
                                     << "Allow Monitor use older firmware.";
        QTest::newRow("label") << "label"
                               << "Model Name";
        QTest::newRow("label_2") << "label_2"
                                 << "Current Firmware";
        QTest::newRow("label_3") << "label_3"
                                 << "New Firmware";
        QTest::newRow("label_4") << "label_4"
                                 << "CheckSum";
    }
    void formTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QWidget* w = widget(name);
        QVERIFY(w);
        QCOMPARE(w->property("text").toString(), text);
    }

    void fields() {
        QVERIFY(window->configPath.isEmpty());
        QVERIFY(window->modelName.isEmpty());
        QVERIFY(window->scalarBinFile.isEmpty() && window->hubBinFile.isEmpty());
        QVERIFY(window->scalarBinCheckSum.isEmpty() && window->hubBinCheckSum.isEmpty());
        QCOMPARE(window->dragPos, QPoint(0, 0));
        QVERIFY(!window->dragging);
        QCOMPARE(window->siteBaseUrl, QByteArray("http://" PANELUP_UPDATE_HOST "/dept-pmsd/FW2/"));
        QCOMPARE(window->testSiteBaseUrl,
                 QByteArray("http://" PANELUP_UPDATE_HOST "/dept-pmsd/FW2_Test/"));
        QCOMPARE(window->siteCheckPage, QByteArray("Check.htm"));
        QCOMPARE(window->scalarI2cAddress, 0x51);
    }

    void titleWithoutVersion() {
        platform.version.reset();
        app::Panelup unversioned;
        QCOMPARE(unversioned.windowTitle(), QString::fromLatin1(productTitle));
        QCOMPARE(unversioned.ui.lblTitle->text(), QString::fromLatin1(productTitle));
    }

    void resources_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("logo") << ":/Panelup/logo" << QSize(569, 209);
        QTest::newRow("cross_mark") << ":/Panelup/cross_mark" << QSize(120, 120);
        QTest::newRow("question_mark") << ":/Panelup/question_mark" << QSize(120, 120);
        for (int s : {16, 32, 48, 64, 128}) {
            const QString alias = QStringLiteral(":/Panelup/Icon_%1.png").arg(s);
            QTest::newRow(qPrintable(alias)) << alias << QSize(s, s);
        }
    }

    void resources() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
        QVERIFY(image.hasAlphaChannel());
    }

    void showResetsOverrideAndBar() {
        window->ui.chkOverride->show();
        keepOffline();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->ui.chkOverride->isHidden());
        QCOMPARE(window->ui.bar1->value(), 0);
    }

    void overrideControlsUpdate_data() {
        QTest::addColumn<bool>("updateEnabled");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("expected");
        QTest::newRow("tick, was disabled") << false << false << true;
        QTest::newRow("tick, was enabled") << true << false << true;
        QTest::newRow("untick, was enabled") << true << true << false;
        QTest::newRow("untick, was disabled") << false << true << false;
    }

    void overrideControlsUpdate() {
        QFETCH(bool, updateEnabled);
        QFETCH(bool, ticked);
        QFETCH(bool, expected);
        Ui::PanelupClass& ui = window->ui;
        {
            const QSignalBlocker quiet(ui.chkOverride);
            ui.chkOverride->setChecked(ticked);
        }
        ui.btnUpdate->setEnabled(updateEnabled);
        ui.chkOverride->click();
        QCOMPARE(ui.chkOverride->isChecked(), !ticked);
        QCOMPARE(ui.btnUpdate->isEnabled(), expected);
    }

    void drag_data() {
        QTest::addColumn<QString>("pressOn");
        QTest::addColumn<int>("pressButton");
        QTest::addColumn<int>("releaseButton"); // 0: no release before the move
        QTest::addColumn<bool>("moves");
        QTest::newRow("left press") << "PanelupClass" << int(Qt::LeftButton) << 0 << true;
        QTest::newRow("left press on a label")
            << "lblModelName" << int(Qt::LeftButton) << 0 << true;
        QTest::newRow("right press") << "PanelupClass" << int(Qt::RightButton) << 0 << false;
        QTest::newRow("middle press") << "PanelupClass" << int(Qt::MiddleButton) << 0 << false;
        QTest::newRow("left press, left release")
            << "PanelupClass" << int(Qt::LeftButton) << int(Qt::LeftButton) << false;
        QTest::newRow("left press, right release")
            << "PanelupClass" << int(Qt::LeftButton) << int(Qt::RightButton) << false;
        QTest::newRow("press on a button") << "btnExit" << int(Qt::LeftButton) << 0 << false;
    }

    void drag() {
        QFETCH(QString, pressOn);
        QFETCH(int, pressButton);
        QFETCH(int, releaseButton);
        QFETCH(bool, moves);

        window->move(40, 30);
        const QPoint start = window->pos();
        QWidget* target = widget(pressOn);
        const QPoint pressAt = target->mapToGlobal(QPoint(3, 3));
        sendMouse(target, QEvent::MouseButtonPress, Qt::MouseButton(pressButton), pressAt);
        if (releaseButton)
            sendMouse(window.get(), QEvent::MouseButtonRelease, Qt::MouseButton(releaseButton),
                      pressAt);

        // The corner goes to the pointer itself, not by the distance moved.
        const QPoint pointer(300, 200);
        sendMove(window.get(), pointer);
        QCOMPARE(window->pos(), moves ? pointer : start);
        QCOMPARE(window->dragging, moves);
        QCOMPARE(window->dragPos, moves ? pointer : QPoint(0, 0));

        if (moves) {
            sendMove(window.get(), QPoint(310, 215));
            QCOMPARE(window->pos(), QPoint(310, 215));
            sendMouse(window.get(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(310, 215));
            QVERIFY(!window->dragging);
            sendMove(window.get(), QPoint(500, 400));
            QCOMPARE(window->pos(), QPoint(310, 215));
        }
    }

    void scaleToDpi_data() {
        QTest::addColumn<double>("sx");
        QTest::addColumn<double>("sy");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // position ignored for the window

        QTest::newRow("144 dpi window") << 1.5 << 1.5 << "PanelupClass" << QRect(0, 0, 966, 543);
        QTest::newRow("144 dpi lblTitle") << 1.5 << 1.5 << "lblTitle" << QRect(261, 7, 691, 61);
        QTest::newRow("144 dpi logo unchanged") << 1.5 << 1.5 << "label_5" << QRect(20, 0, 141, 51);

        QTest::newRow("120 dpi window") << 1.25 << 1.25 << "PanelupClass" << QRect(0, 0, 805, 452);
        QTest::newRow("x and y apart") << 1.5 << 1.25 << "lblTitle" << QRect(261, 6, 691, 51);
        QTest::newRow("x and y apart window")
            << 1.5 << 1.25 << "PanelupClass" << QRect(0, 0, 966, 452);
    }

    void scaleToDpi() {
        QFETCH(double, sx);
        QFETCH(double, sy);
        QFETCH(QString, name);
        QFETCH(QRect, geometry);

        window->scaleToDpi(sx, sy);
        QWidget* w = widget(name);
        if (w == window.get())
            QCOMPARE(w->size(), geometry.size());
        else
            QCOMPARE(w->geometry(), geometry);
        // Fonts are left to Qt.
        QCOMPARE(window->ui.lblTitle->font().pointSize(), 16);
    }

    void scaleToDpiCentresWindow_data() {
        QTest::addColumn<double>("factor");
        QTest::newRow("1.0") << 1.0;
        QTest::newRow("1.25") << 1.25;
        QTest::newRow("1.5") << 1.5;
    }

    void scaleToDpiCentresWindow() {
        QFETCH(double, factor);
        window->move(7, 9);
        window->scaleToDpi(factor, factor);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window->geometry().center(), screen.center());
    }

    void close_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("EXIT button") << "button";
        QTest::newRow("Alt+X") << "shortcut";
        QTest::newRow("close request") << "close";
    }

    void close() {
        QFETCH(QString, how);
        RecordingExit exit;
        keepOffline();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        if (how == QLatin1String("button")) {
            QTest::mouseClick(window->ui.btnExit, Qt::LeftButton);
        } else if (how == QLatin1String("shortcut")) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            // The mnemonic clicks the button a moment later, as on screen.
            QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
        } else {
            window->close();
        }
        QTRY_COMPARE(exit.codes, std::vector<int>{0});
        QVERIFY(!window->ui.btnExit->isEnabled());
    }

    // Saves a picture of the window for a person to look at, and checks the
    // few things a picture can show for sure.
    void screenshot() {
        keepOffline();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QImage image = window->grab().toImage();
        const QString file = QDir::current().absoluteFilePath(QStringLiteral("app_window.png"));
        QVERIFY(image.save(file));
        qInfo("window picture: %s", qPrintable(file));

        const QRgb background = qRgb(91, 89, 90);
        const qreal ratio = image.devicePixelRatio();
        auto at = [&](int x, int y) {
            return image.pixel(int(x * ratio), int(y * ratio)) | 0xff000000u;
        };
        QCOMPARE(at(5, 100), background);
        QCOMPARE(at(630, 350), background);

        // The logo puts white pixels into its label.
        bool white = false;
        for (int y = 0; y < 51 && !white; ++y) {
            for (int x = 20; x < 161 && !white; ++x)
                white = qRed(at(x, y)) > 230 && qGreen(at(x, y)) > 230 && qBlue(at(x, y)) > 230;
        }
        QVERIFY(white);
    }
};

PANELUP_ISOLATED_TEST_MAIN(PanelupWindowTest)
#include "PanelupWindowTest.moc"
