// Files the program cannot use: a Config.ini that is garbage, cannot be read
// or cannot be written, and a temporary folder nothing can be written to.
// The program keeps working with what it has, keeps the firmware store and
// its record in step, and says in the log what it could not do.
//
// The tests run as root in CI, where file permissions do not hold. A file
// or folder is then made unwritable with the immutable attribute; where
// that is not to be had either, the case is skipped and says why.
#include "E2eFixture.h"
#include "FaultMatrix.h"
#include "VirtualMonitorControl.h"

#include "app/Panelup.h"
#include "catalogue/UpdateSite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace e2e;

namespace {

const QString kModel = QStringLiteral("LM0420");

// Every message the program logs, kept for the test to read.
QStringList logged;
QtMessageHandler previousHandler = nullptr;

void keepMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    logged << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

bool loggedLine(const QString& fragment) {
    for (const QString& line : logged) {
        if (line.contains(fragment, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool canWriteInto(const QString& folder) {
    QFile probe(QDir(folder).filePath(QStringLiteral(".probe")));
    const bool written = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return written;
}

bool canAppendTo(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::Append);
}

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

// Takes write access to a file or folder away for its lifetime: by its
// permissions, or (for root, whom they do not stop) by the immutable
// attribute. how() tells which worked; empty when neither did.
class Unwritable {
public:
    explicit Unwritable(QString path, bool folder) : path_(std::move(path)) {
        const auto stillWritable = [&] {
            return folder ? canWriteInto(path_) : canAppendTo(path_);
        };
        QFile::setPermissions(path_, folder ? QFile::ReadOwner | QFile::ExeOwner
                                            : QFile::ReadOwner | QFile::ReadGroup);
        if (!stillWritable()) {
            how_ = QStringLiteral("permissions");
            return;
        }
        if (setImmutable(path_, true)) {
            immutable_ = true;
            if (!stillWritable()) {
                how_ = QStringLiteral("immutable attribute");
                return;
            }
        }
        restore();
    }
    ~Unwritable() { restore(); }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    QString how() const { return how_; }

private:
    void restore() {
        if (immutable_)
            setImmutable(path_, false);
        immutable_ = false;
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path_;
    QString how_;
    bool immutable_ = false;
};

#define REQUIRE_UNWRITABLE(guard)                                                                  \
    do {                                                                                           \
        if ((guard).how().isEmpty())                                                               \
            QFAIL("cannot take write access away here: running as root and the file system "       \
                  "refuses the immutable attribute (or CAP_LINUX_IMMUTABLE is missing)");          \
    } while (false)

// Scalar 18.3 installed, 18.4 stored; the site offers 18.5 under the same
// file name, and a newer hub under a new one.
SiteFile storedScalar() {
    return SiteFile{"Scalar", "LM0420_scalar.bin", "18.4", "Scalar", scalarImage(0x12, 4, 5), {}};
}
SiteFile newHub() {
    return SiteFile{"Hub", "LM0420_hub121.bin", "1.21", "Hub", hubImage(1, 0x21, 6), {}};
}

} // namespace

class FileFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(IsolatedTempDir::active());
        previousHandler = qInstallMessageHandler(keepMessage);
        catalogue::setDownloadStallTimeoutMs(2000);
    }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }
    void init() { logged.clear(); }

    // Garbage or a folder where Config.ini should be. Qt reads what it can
    // of a damaged file; a record that names a file not in the store is
    // reported as such; a Config.ini that cannot be read at all leaves
    // every setting at its default, is never overwritten, and the log says
    // so. Nothing is stored without a record to name it.
    void damagedConfig_data() {
        QTest::addColumn<QByteArray>("content"); // empty: a folder instead of a file
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("lastBox");
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[\x01\x02]\n=\x00=\n\xc3(", 14) << true
            << QStringLiteral("Confirm to download new version ");
        QTest::newRow("a section and a quote never closed")
            << QByteArray("[Others\nAllowDowngrade=true\n[LM0420]\nScalarBinFile=\"Scalar//x\n")
            << true << QStringLiteral("File checksum is not correct");
        QTest::newRow("a folder named Config.ini")
            << QByteArray() << false << QStringLiteral("Confirm to download new version ");
    }

    void damagedConfig() {
        QFETCH(QByteArray, content);
        QFETCH(bool, readable);
        QFETCH(QString, lastBox);
        Fixture fixture;
        QVERIFY(fixture.loadWorld({Monitor{}}));
        fixture.publish(kModel, {usualScalar(), usualHub()});
        if (content.isEmpty())
            QVERIFY(QDir().mkpath(fixture.configPath()));
        else
            QVERIFY(fixture.writeConfig(QString::fromLatin1(content)));

        fixture.start();

        QVERIFY(!fixture.dialogs.shown.isEmpty());
        QCOMPARE(fixture.dialogs.shown.last().title, lastBox);
        if (readable)
            return;
        QVERIFY(!fixture.exited());
        QVERIFY(!fixture.window().allowDowngrade);
        QVERIFY(loggedLine(QStringLiteral("Config.ini could not be read")));
        QVERIFY(loggedLine(QStringLiteral("firmware record could not be written")));
        QVERIFY(QFileInfo(fixture.configPath()).isDir());
        QVERIFY(!fixture.isStored(usualScalar().recordPath()));
        QVERIFY(!fixture.isStored(usualHub().recordPath()));
    }

    // A Config.ini that cannot be written: the record cannot follow a new
    // file, so the stored file it names is not replaced either. (The newer
    // hub brings the offer; the scalar comes along under its old name.)
    void readOnlyConfig() {
        Fixture fixture;
        QVERIFY(fixture.loadWorld({Monitor{}}));
        QVERIFY(fixture.storeAndRecord(kModel, storedScalar(), usualHub()));
        fixture.publish(kModel, {usualScalar(), newHub()});
        const FolderSnapshot before(fixture.programFolder());
        Unwritable readOnly(fixture.configPath(), false);
        REQUIRE_UNWRITABLE(readOnly);
        qInfo() << "Config.ini made read-only by its" << readOnly.how();

        fixture.start();

        QVERIFY2(!fixture.exited(), qPrintable(fixture.dialogs.titles().join(", ")));
        QCOMPARE(outcomeOf(fixture), Outcome::StatusShown);
        QVERIFY(FolderSnapshot(fixture.programFolder()).differences(before).isEmpty());
        QVERIFY(loggedLine(QStringLiteral("firmware record could not be written")));

        // The next run finds store and record in step.
        fixture.restart();
        QVERIFY2(!fixture.exited(), qPrintable(fixture.dialogs.titles().join(", ")));
        QCOMPARE(outcomeOf(fixture), Outcome::StatusShown);
    }

    // A temporary folder nothing can be written to: no catalogue copy and
    // no EDID backup can be made. The program says so, keeps the store,
    // and still updates the firmware, leaving the EDID areas alone.
    void unwritableTemporaryFolder() {
        Fixture fixture;
        QVERIFY(fixture.loadWorld({Monitor{}}));
        QVERIFY(fixture.storeAndRecord(kModel, storedScalar(), usualHub()));
        fixture.publish(kModel, {usualScalar(), usualHub()});
        const FolderSnapshot before(fixture.programFolder());
        const QString temporary = IsolatedTempDir::active()->path();
        Unwritable locked(temporary, true);
        REQUIRE_UNWRITABLE(locked);
        qInfo() << "temporary folder made read-only by its" << locked.how();

        fixture.start();

        QVERIFY(!fixture.exited());
        QCOMPARE(outcomeOf(fixture), Outcome::StatusShown);
        QVERIFY(loggedLine(QStringLiteral("Download folder refused")));
        QVERIFY(FolderSnapshot(fixture.programFolder()).differences(before).isEmpty());

        fixture.dialogs.clear();
        fixture.dialogs.answer({true, false});
        fixture.window().updateFW();
        QCOMPARE(fixture.dialogs.shown.last().title, QStringLiteral("Update Firmware"));
        int32_t major = 0;
        int32_t minor = 0;
        VM_GetScalarFirmware(0, &major, &minor);
        QCOMPARE(minor, 4);
    }
};

PANELUP_E2E_TEST_MAIN(FileFaultsTest)
#include "FileFaultsTest.moc"
