// The window: its title, texts, slots, dragging, DPI scaling and closing,
// offscreen with a fake platform for the file version.
#include "FakePlatform.h"
#include "IsolatedTempDir.h"
#include "PseudoTranslator.h"
#include "RecordingExit.h"
#include "ScriptedDialogs.h"
#include "app/Panelup.h"
#include "seams/Dialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
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

    void showActive() {
        keepOffline();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
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

    // Qt's boxes as the program shows them, in a language of their own:
    // title, text and every button went through the translation, and a
    // screen reader finds an alert or dialog with push buttons. Before the
    // tests that close the window: its quit() ends every later event loop,
    // a box's too, at once.
    void realBoxes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("buttons");
        QTest::newRow("warning") << "warning" << 1;
        QTest::newRow("information") << "information" << 1;
        QTest::newRow("question") << "question" << 2;
        QTest::newRow("choice") << "choice" << 2;
    }

    void realBoxes() {
        QFETCH(QString, kind);
        QFETCH(int, buttons);
        const PseudoLanguage language;
        QStringList texts;
        int role = -1;
        QList<int> buttonRoles;
        int looked = 0;
        // Runs inside the box's own event loop; presses its last button.
        QTimer::singleShot(0, this, [&] {
            ++looked;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            texts << box->windowTitle() << box->text();
            role = int(QAccessible::queryAccessibleInterface(box)->role());
            const QList<QAbstractButton*> all = box->buttons();
            for (QAbstractButton* b : all) {
                texts << b->text();
                buttonRoles << int(QAccessible::queryAccessibleInterface(b)->role());
            }
            all.last()->click();
        });
        seams::QtDialogs qt;
        const seams::UiText title = seams::translate("Panelup", "Update Firmware");
        const seams::UiText text = seams::translate("Panelup", "Firmware file is not detected .");
        if (kind == QLatin1String("warning"))
            qt.message(seams::DialogIcon::Warning, title, text);
        else if (kind == QLatin1String("information"))
            qt.message(seams::DialogIcon::Information, title, text);
        else if (kind == QLatin1String("question"))
            qt.question(title, text);
        else
            qt.choice(title, text, seams::translate("Panelup", "Reset OSD Setting"),
                      seams::translate("Panelup", "Exit"));
        QCOMPARE(looked, 1);
        QCOMPARE(texts.size(), 2 + buttons);
        for (const QString& shown : texts)
            QVERIFY2(shown.startsWith(PseudoTranslator::open()), qPrintable(shown));
        QVERIFY(role == int(QAccessible::AlertMessage) || role == int(QAccessible::Dialog));
        QCOMPARE(buttonRoles.size(), buttons);
        QCOMPARE(buttonRoles.count(int(QAccessible::Button)), buttons);
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

    // What a screen reader is given for each control, with the values of a
    // status on show.
    void accessible_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("description");
        const QString title = QStringLiteral("%1%2").arg(productTitle, "1.07");
        QTest::newRow("window") << "PanelupClass" << int(QAccessible::Dialog) << title << "";
        QTest::newRow("lblTitle") << "lblTitle" << int(QAccessible::StaticText) << title << "";
        QTest::newRow("logo") << "label_5" << int(QAccessible::Graphic) << "LM Series logo"
                              << "";
        QTest::newRow("label") << "label" << int(QAccessible::StaticText) << "Model Name"
                               << "";
        QTest::newRow("label_2") << "label_2" << int(QAccessible::StaticText) << "Current Firmware"
                                 << "";
        QTest::newRow("label_3") << "label_3" << int(QAccessible::StaticText) << "New Firmware"
                                 << "";
        QTest::newRow("label_4") << "label_4" << int(QAccessible::StaticText) << "CheckSum"
                                 << "";
        QTest::newRow("lblModelName")
            << "lblModelName" << int(QAccessible::StaticText) << "Model Name: LM0420"
            << "";
        QTest::newRow("lblCurrentFW, two lines")
            << "lblCurrentFW" << int(QAccessible::StaticText)
            << "Current Firmware: Hub FW : 1.20, Monitor FW : M012 REV 3"
            << "";
        QTest::newRow("lblNewFW") << "lblNewFW" << int(QAccessible::StaticText)
                                  << "New Firmware: Monitor FW : M012 REV 5"
                                  << "";
        QTest::newRow("lblCheckSum")
            << "lblCheckSum" << int(QAccessible::StaticText) << "CheckSum: 0x6a2c"
            << "";
        QTest::newRow("bar1") << "bar1" << int(QAccessible::ProgressBar) << "Update progress"
                              << "Progress of the firmware update";
        QTest::newRow("lblInfo, its words")
            << "lblInfo" << int(QAccessible::StaticText) << "Firmware file is not detected ."
            << "Status";
        QTest::newRow("chkOverride")
            << "chkOverride" << int(QAccessible::CheckBox) << "Allow Monitor use older firmware."
            << "Allows the update to write firmware older than the monitor's";
        QTest::newRow("btnUpdate") << "btnUpdate" << int(QAccessible::Button) << "Update"
                                   << "Writes the new firmware to the monitor";
        QTest::newRow("btnExit, mnemonic kept")
            << "btnExit" << int(QAccessible::Button) << "EXIT (X)"
            << "Closes the program";
    }

    void accessible() {
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, accessibleName);
        QFETCH(QString, description);
        Ui::PanelupClass& ui = window->ui;
        ui.lblModelName->setText(QStringLiteral("LM0420"));
        ui.lblCurrentFW->setText(
            QStringLiteral("Hub FW : <b>1.20</b><br>Monitor FW : <b>M012 REV 3</b>"));
        ui.lblNewFW->setText(QStringLiteral("Monitor FW : <b>M012 REV 5</b>"));
        ui.lblCheckSum->setText(QStringLiteral("0x6a2c"));
        ui.lblInfo->setText(QStringLiteral("<img width=20 height=20 "
                                           "src=\":/Panelup/cross_mark\"> Firmware file is not "
                                           "detected ."));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget(name));
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), accessibleName);
        QCOMPARE(iface->text(QAccessible::Description), description);
    }

    // Each value names its caption as its label, and the caption its value.
    void captionRelations_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("caption");
        QTest::newRow("model") << "lblModelName"
                               << "label";
        QTest::newRow("current") << "lblCurrentFW"
                                 << "label_2";
        QTest::newRow("new") << "lblNewFW"
                             << "label_3";
        QTest::newRow("checksum") << "lblCheckSum"
                                  << "label_4";
    }

    void captionRelations() {
        QFETCH(QString, value);
        QFETCH(QString, caption);
        QAccessibleInterface* valueIface = QAccessible::queryAccessibleInterface(widget(value));
        QAccessibleInterface* captionIface = QAccessible::queryAccessibleInterface(widget(caption));
        QVERIFY(valueIface && captionIface);
        const auto labelledBy = valueIface->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->object(), widget(caption));
        const auto labelFor = captionIface->relations(QAccessible::Labelled);
        QCOMPARE(labelFor.size(), 1);
        QCOMPARE(labelFor.first().first->object(), widget(value));
    }

    // The changes a screen reader announces. Qt sends a label's name-change
    // event from setText only while nothing fixes its name, and the bridge
    // then reads the name below; the progress bar sends each value. (The
    // offscreen platform has no bridge to watch the events go by.)
    void announcedChanges_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text"); // empty: the bar's value is set
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("status line") << "lblInfo"
                                     << "Please click update button to update new firmware!" << 0
                                     << "Please click update button to update new firmware!";
        QTest::newRow("status line, rich text")
            << "lblInfo"
            << "<img width=20 height=20 src=\":/Panelup/question_mark\"> The update process may "
               "take several minutes."
            << 0 << "The update process may take several minutes.";
        QTest::newRow("current firmware")
            << "lblCurrentFW"
            << "Monitor FW : <b>M012</b>" << 0 << "Current Firmware: Monitor FW : M012";
        QTest::newRow("model name") << "lblModelName"
                                    << "LM0530" << 0 << "Model Name: LM0530";
        QTest::newRow("progress") << "bar1"
                                  << "" << 42 << "Update progress";
        QTest::newRow("progress full") << "bar1"
                                       << "" << 100 << "Update progress";
    }

    void announcedChanges() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, accessibleName);
        QWidget* target = widget(name);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(target);
        QVERIFY(iface);
        if (text.isEmpty()) {
            window->ui.bar1->setValue(value);
            QCOMPARE(iface->valueInterface()->currentValue().toInt(), value);
            QCOMPARE(iface->valueInterface()->maximumValue().toInt(), 100);
        } else {
            QVERIFY(target->accessibleName().isEmpty());
            static_cast<QLabel*>(target)->setText(text);
        }
        QCOMPARE(iface->text(QAccessible::Name), accessibleName);
        // The status line's words are its text too: the bridge sends them
        // with each change, so a busy window need not be asked for them.
        if (name == QLatin1String("lblInfo")) {
            QAccessibleTextInterface* words = iface->textInterface();
            QVERIFY(words);
            QCOMPARE(words->text(0, words->characterCount()), accessibleName);
            QCOMPARE(words->text(4, 2), QString()); // a range back to front
            QCOMPARE(words->text(-3, 1000), accessibleName);
        }
    }

    // Tab walks the controls in reading order, skipping those hidden or off.
    void tabOrder_data() {
        QTest::addColumn<bool>("overrideShown");
        QTest::addColumn<bool>("updateEnabled");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("focus"); // after each key, starting on btnExit
        QTest::newRow("all on") << true << true << int(Qt::Key_Tab)
                                << QStringList{"chkOverride", "btnUpdate", "btnExit"};
        QTest::newRow("all on, backwards") << true << true << int(Qt::Key_Backtab)
                                           << QStringList{"btnUpdate", "chkOverride", "btnExit"};
        QTest::newRow("override hidden")
            << false << true << int(Qt::Key_Tab) << QStringList{"btnUpdate", "btnExit"};
        QTest::newRow("override hidden, update off")
            << false << false << int(Qt::Key_Tab) << QStringList{"btnExit", "btnExit"};
        QTest::newRow("update off")
            << true << false << int(Qt::Key_Tab) << QStringList{"chkOverride", "btnExit"};
    }

    void tabOrder() {
        QFETCH(bool, overrideShown);
        QFETCH(bool, updateEnabled);
        QFETCH(int, key);
        QFETCH(QStringList, focus);
        showActive();
        window->ui.chkOverride->setVisible(overrideShown);
        window->ui.btnUpdate->setEnabled(updateEnabled);
        window->ui.btnExit->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), window->ui.btnExit);
        QStringList seen;
        for (int i = 0; i < focus.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, focus);
    }

    // Enter, Escape, Space and the mnemonic, on the focused control.
    void keys_data() {
        QTest::addColumn<QString>("focusOn");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("updateEnabled");
        QTest::addColumn<bool>("exitEnabled");
        QTest::addColumn<int>("updateClicks");
        QTest::addColumn<bool>("exited");
        const int none = Qt::NoModifier;
        QTest::newRow("Enter on Update")
            << "btnUpdate" << int(Qt::Key_Enter) << none << true << true << 1 << false;
        QTest::newRow("Return on Update")
            << "btnUpdate" << int(Qt::Key_Return) << none << true << true << 1 << false;
        QTest::newRow("Return on EXIT")
            << "btnExit" << int(Qt::Key_Return) << none << true << true << 0 << true;
        QTest::newRow("Return on the check box: no default button to press")
            << "chkOverride" << int(Qt::Key_Return) << none << true << true << 0 << false;
        QTest::newRow("Return on the check box, Update off")
            << "chkOverride" << int(Qt::Key_Return) << none << false << true << 0 << false;
        QTest::newRow("Escape") << "btnUpdate" << int(Qt::Key_Escape) << none << true << true << 0
                                << true;
        QTest::newRow("Escape while EXIT is off (firmware being written)")
            << "btnUpdate" << int(Qt::Key_Escape) << none << false << false << 0 << false;
        QTest::newRow("Alt+X while EXIT is off")
            << "chkOverride" << int(Qt::Key_X) << int(Qt::AltModifier) << false << false << 0
            << false;
    }

    void keys() {
        QFETCH(QString, focusOn);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, updateEnabled);
        QFETCH(bool, exitEnabled);
        QFETCH(int, updateClicks);
        QFETCH(bool, exited);
        RecordingExit exit;
        ScriptedDialogs dialogs;
        dialogs.defaultAnswer = false; // the update is not confirmed
        showActive();
        window->ui.chkOverride->show();
        window->ui.btnUpdate->setEnabled(updateEnabled);
        window->ui.btnExit->setEnabled(exitEnabled);
        widget(focusOn)->setFocus(Qt::TabFocusReason);
        QSignalSpy clicks(window->ui.btnUpdate, &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        // The mnemonic and the animated clicks land a moment later; let them.
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), updateClicks);
        QCOMPARE(exit.codes, exited ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(window->isVisible(), !exited);
    }

    // Space ticks the focused check box as a click would.
    void spaceTicksOverride() {
        showActive();
        window->ui.chkOverride->show();
        window->ui.chkOverride->setEnabled(true);
        window->ui.btnUpdate->setEnabled(false);
        window->ui.chkOverride->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window->ui.chkOverride, Qt::Key_Space);
        QVERIFY(window->ui.chkOverride->isChecked());
        QVERIFY(window->ui.btnUpdate->isEnabled());
    }

    // The style sheets leave a mark on the control that has the focus.
    void focusVisible_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("btnUpdate") << "btnUpdate";
        QTest::newRow("btnExit") << "btnExit";
        QTest::newRow("chkOverride") << "chkOverride";
    }

    void focusVisible() {
        QFETCH(QString, name);
        showActive();
        window->ui.chkOverride->show();
        window->ui.btnUpdate->setEnabled(true);
        window->ui.btnExit->setEnabled(true);
        QWidget* control = widget(name);
        window->setFocus(Qt::OtherFocusReason);
        QVERIFY(!control->hasFocus());
        const QImage before = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QVERIFY(control->hasFocus());
        const QImage after = control->grab().toImage();
        QCOMPARE(after.size(), before.size());
        int changed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                changed += after.pixel(x, y) != before.pixel(x, y);
        // More than a caret's worth: a frame or a fill the eye can find.
        QVERIFY2(changed > after.width(), qPrintable(QString::number(changed)));
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
