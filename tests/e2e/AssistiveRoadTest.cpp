// The window's road in a language of its own, where every text that went
// through Qt's translation is marked: what the user reads is marked, what
// the logs keep is not, and no exit code follows a text. Keys pressed while
// firmware is being written.
#include "E2eFixture.h"
#include "PseudoTranslator.h"

#include "app/CommandLine.h"
#include "app/Panelup.h"
#include "app/SilentRun.h"
#include "app/TraceLog.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace e2e;

namespace {

bool marked(const QString& text) {
    return text.contains(PseudoTranslator::open()) && text.contains(PseudoTranslator::close());
}

// Texts that are data, the same in every language: the model's name and the
// checksum, as read from the monitor and the firmware file.
const QStringList dataLabels{QStringLiteral("lblModelName"), QStringLiteral("lblCheckSum")};

// Every text the window shows or gives assistive technology, as
// "objectName: text".
QStringList windowTexts(QWidget& window) {
    QStringList texts{QStringLiteral("window title: ") + window.windowTitle()};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(&window) && w != &window)
            continue;
        const QString name = w->objectName();
        if (auto* label = qobject_cast<QLabel*>(w);
            label && !label->text().isEmpty() && !dataLabels.contains(name))
            texts << name + QStringLiteral(": ") + label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << name + QStringLiteral(": ") + button->text();
        if (!w->accessibleName().isEmpty())
            texts << name + QStringLiteral(" name: ") + w->accessibleName();
        if (!w->accessibleDescription().isEmpty())
            texts << name + QStringLiteral(" description: ") + w->accessibleDescription();
    }
    return texts;
}

// The roads through start-up and update that show texts of their own.
void roadRows() {
    QTest::addColumn<QString>("road");
    QTest::newRow("update and OSD reset") << "update";
    QTest::newRow("first download offer") << "download";
    QTest::newRow("several monitors refused") << "several";
    QTest::newRow("no hub paired") << "no hub";
    QTest::newRow("stored file altered") << "altered";
}

// Sets the road up on the fixture; true when the user then presses Update.
bool prepare(Fixture& fixture, const QString& road) {
    Monitor monitor;
    QList<Monitor> monitors{monitor};
    if (road == QLatin1String("several")) {
        Monitor second;
        second.serial = QStringLiteral("UP2160100002");
        monitors << second;
    } else if (road == QLatin1String("no hub")) {
        monitors.first().hub = false;
    }
    if (!fixture.loadWorld(monitors))
        return false;
    fixture.publish(monitor.model, {usualScalar(), usualHub()});
    if (road != QLatin1String("download"))
        fixture.storeAndRecord(monitor.model, usualScalar(), usualHub());
    if (road == QLatin1String("altered"))
        fixture.store(usualScalar().recordPath(), scalarImage(0x12, 5, 9));
    fixture.dialogs.answer({true, true});
    return road == QLatin1String("update");
}

struct SilentResult {
    int code = -1;
    QStringList resultLog; // without its first line, which holds the time
    QByteArray traceLog;
};

SilentResult runSilently(const QString& road, bool translated, const QString& folder) {
    const PseudoLanguage language(translated);
    SilentResult result;
    Fixture fixture;
    prepare(fixture, road);
    const QString resultLog = folder + QStringLiteral("/result.log");
    const QString traceLog = folder + QStringLiteral("/trace.log");
    QFile::remove(resultLog);
    app::Panelup& window = fixture.window();
    // Every message, as the program's own start sets it.
    app::traceLevel = 4;
    if (!app::openLogFile(traceLog))
        return result;
    {
        app::SilentRun run(
            app::parseCommandLine({QStringLiteral("/s"), QStringLiteral("/l=") + resultLog}));
        result.code = run.run(window);
    }
    app::closeLogFile();
    QFile results(resultLog);
    if (results.open(QIODevice::ReadOnly))
        result.resultLog = QString::fromUtf8(results.readAll()).split(QLatin1Char('\n')).mid(1);
    QFile trace(traceLog);
    if (trace.open(QIODevice::ReadOnly))
        result.traceLog = trace.readAll();
    return result;
}

} // namespace

class AssistiveRoadTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { fixture.reset(); }

    // What the user reads went through the translation; data did not.
    void userTextsTranslated_data() { roadRows(); }
    void userTextsTranslated() {
        QFETCH(QString, road);
        const PseudoLanguage language;
        fixture = std::make_unique<Fixture>();
        const bool update = prepare(*fixture, road);
        fixture->start();
        app::Panelup& window = fixture->window();
        QStringList texts = windowTexts(window);
        if (update) {
            QVERIFY(window.ui.btnUpdate->isEnabled());
            QTest::mouseClick(window.ui.btnUpdate, Qt::LeftButton);
            texts << windowTexts(window);
        }
        for (const ScriptedDialogs::Shown& box : fixture->dialogs.shown) {
            for (const QString& shown : box.shownTexts)
                texts << QStringLiteral("box \"%1\": %2").arg(box.title, shown);
            // The English stays beside what was shown.
            QVERIFY2(!marked(box.title) && !marked(box.text), qPrintable(box.title));
        }
        // Style sheets are no texts: a translated one would lose its colours.
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets.prepend(&window);
        for (const QWidget* w : widgets)
            QVERIFY2(!marked(w->styleSheet()), qPrintable(w->objectName()));
        QStringList unmarked;
        for (const QString& text : texts)
            if (!marked(text))
                unmarked << text;
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char('\n'))));
        QVERIFY(!fixture->dialogs.shown.isEmpty() || road == QLatin1String("no hub"));
    }

    // The unattended run's result log and the trace log stay in English,
    // and its exit code is the same in any language.
    void logsStayEnglish_data() { roadRows(); }
    void logsStayEnglish() {
        QFETCH(QString, road);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const SilentResult english = runSilently(road, false, folder.path());
        const SilentResult translated = runSilently(road, true, folder.path());
        QVERIFY(english.code >= 0);
        QCOMPARE(translated.code, english.code);
        QCOMPARE(translated.resultLog, english.resultLog);
        QVERIFY(translated.resultLog.size() > 3);
        QVERIFY2(!marked(translated.resultLog.join(QLatin1Char('\n'))),
                 qPrintable(translated.resultLog.join(QLatin1Char('\n'))));
        // The boxes the run answered are in it, in English.
        QVERIFY(translated.traceLog.contains("Silent run:"));
        QVERIFY2(!translated.traceLog.contains(PseudoTranslator::open().toUtf8()),
                 translated.traceLog.constData());
    }

    // Escape and Alt+X while firmware is being written change nothing:
    // the write runs to its end and the program goes on.
    void keysDuringWrite_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Alt+X") << int(Qt::Key_X) << int(Qt::AltModifier);
    }
    void keysDuringWrite() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        fixture = std::make_unique<Fixture>();
        QVERIFY(prepare(*fixture, QStringLiteral("update")));
        fixture->start();
        app::Panelup& window = fixture->window();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int pressed = 0;
        connect(window.ui.bar1, &QProgressBar::valueChanged, this, [&](int value) {
            if (value < 50 || pressed)
                return;
            ++pressed;
            QVERIFY(!window.ui.btnExit->isEnabled());
            QTest::keyClick(&window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        });
        QTest::mouseClick(window.ui.btnUpdate, Qt::LeftButton);
        QCOMPARE(pressed, 1);
        QVERIFY(fixture->exit.codes.empty());
        QVERIFY(window.isVisible());
        QCOMPARE(window.lastUpdate.end, update::UpdateEnd::Completed);
        QVERIFY(window.ui.btnExit->isEnabled());
    }

private:
    std::unique_ptr<Fixture> fixture;
};

PANELUP_E2E_TEST_MAIN(AssistiveRoadTest)
#include "AssistiveRoadTest.moc"
