// What the real window (offscreen, over the simulated displays, the real
// bridge and the virtual monitor, the update site on loopback) tells the
// user where a failure shows no box of its own: a program folder it cannot
// write names that reason in the window's notice rather than only "not
// detected"; an update whose read-back differs from the firmware written
// still shows its success box and leaves one trace-log line.
// The program folder is made read-only by a read-only bind mount in this
// test's own mount namespace: root ignores file permissions.
#include "E2eFixture.h"
#include "PrivateNamespaces.h"

#include "app/Panelup.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <cstdio>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace e2e;

namespace {

QStringList messages;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    messages << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

QStringList readBackLines() {
    QStringList found;
    for (const QString& message : messages)
        if (message.startsWith(QStringLiteral("Update: the monitor reports")))
            found << message;
    return found;
}

// The folder read-only until the end of the scope.
class ReadOnly {
public:
    explicit ReadOnly(const QString& folder) : path_(QFile::encodeName(folder)) {
        ok_ = ::mount(path_.constData(), path_.constData(), nullptr, MS_BIND, nullptr) == 0;
        mounted_ = ok_;
        ok_ = ok_ && ::mount(nullptr, path_.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                             nullptr) == 0;
    }
    ~ReadOnly() {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;
    bool ok() const { return ok_; }

private:
    QByteArray path_;
    bool ok_ = false;
    bool mounted_ = false;
};

} // namespace

class WindowNoticeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(recordMessage); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }
    void init() {
        fixture = std::make_unique<Fixture>();
        messages.clear();
    }
    void cleanup() { fixture.reset(); }

    // Nothing stored and nothing recorded yet; the site offers the files.
    void programFolderNotWritable_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("notice"); // contained in the window's notice
        QTest::addColumn<bool>("updateOffered");
        QTest::newRow("writable: stored, the update offered")
            << false << QStringLiteral("Please click") << true;
        QTest::newRow("read-only: the notice names the folder")
            << true
            << QStringLiteral("The firmware could not be stored: the program folder cannot be "
                              "written: ")
            << false;
    }

    void programFolderNotWritable() {
        QFETCH(bool, readOnly);
        QFETCH(QString, notice);
        QFETCH(bool, updateOffered);
        QVERIFY(fixture->loadWorld({Monitor{}}));
        fixture->publish(QStringLiteral("LM0420"), {usualScalar(), usualHub()});
        fixture->window();
        std::unique_ptr<ReadOnly> mount;
        if (readOnly) {
            mount = std::make_unique<ReadOnly>(fixture->programFolder());
            QVERIFY(mount->ok());
            QVERIFY(!QFile(fixture->programFolder() + QStringLiteral("/probe"))
                         .open(QIODevice::WriteOnly));
        }

        fixture->start();

        const QString shown = fixture->window().ui.lblInfo->text();
        QVERIFY2(shown.contains(notice), qPrintable(shown));
        if (readOnly) {
            QVERIFY2(shown.contains(fixture->programFolder()), qPrintable(shown));
            QVERIFY2(!shown.contains(QStringLiteral("not detected")), qPrintable(shown));
        }
        QCOMPARE(fixture->window().ui.btnUpdate->isEnabled(), updateOffered);
    }

    // The window keeps its success box whatever the monitor reports; the
    // trace log gets one line when the monitor reports other firmware than
    // written.
    void readBackDiffers_data() {
        QTest::addColumn<bool>("monitorKeepsFirmware");
        QTest::newRow("the monitor takes the firmware") << false;
        QTest::newRow("the monitor keeps its old firmware") << true;
    }

    void readBackDiffers() {
        QFETCH(bool, monitorKeepsFirmware);
        QVERIFY(fixture->loadWorld({Monitor{}}));
        QVERIFY(fixture->storeAndRecord(QStringLiteral("LM0420"), usualScalar(), usualHub()));
        fixture->publish(QStringLiteral("LM0420"), {usualScalar(), usualHub()});
        fixture->start();
        QVERIFY(fixture->window().ui.btnUpdate->isEnabled());
        if (monitorKeepsFirmware)
            QVERIFY(world::fault("firmwareVersionStays", 1));
        fixture->dialogs.clear();
        fixture->dialogs.answer({true, false});
        messages.clear();

        QTest::mouseClick(fixture->window().ui.btnUpdate, Qt::LeftButton);

        QCOMPARE(fixture->dialogs.titles(),
                 (QStringList{"Confirm to update firmware", "Update Firmware"}));
        QCOMPARE(fixture->window().lastUpdate.end, update::UpdateEnd::Completed);
        const QStringList lines = readBackLines();
        if (!monitorKeepsFirmware) {
            QVERIFY2(lines.isEmpty(), qPrintable(lines.join('\n')));
            return;
        }
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(QStringLiteral("scalar 1203")) &&
                     lines.first().contains(QStringLiteral("scalar 1205")),
                 qPrintable(lines.first()));
    }

private:
    std::unique_ptr<Fixture> fixture;
};

PANELUP_E2E_TEST_MAIN_SETUP(WindowNoticeTest, 96, if (!e2e::enterPrivateNamespaces(0)) return 1)
#include "WindowNoticeTest.moc"
