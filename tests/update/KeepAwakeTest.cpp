// The Linux keep-awake request against a private bus of its own: a
// dbus-daemon started for this test serves as session and system bus, and
// stand-ins for the screen saver and logind answer on it from a thread of
// their own, as separate programs would.
#include "IsolatedTempDir.h"

#include "platform/Platform.h"
#include "platform/linux/LinuxKeepAwake.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

namespace {

const char kScreenSaver[] = "org.freedesktop.ScreenSaver";
const char kLogin[] = "org.freedesktop.login1";

// A dbus-daemon of our own; both bus addresses point at it. Its socket is
// abstract, so nothing of it is left in the file system.
class PrivateBus {
public:
    PrivateBus() {
        address_ = "unix:abstract=panelup-keep-awake-" + QByteArray::number(getpid());
        const QByteArray command =
            "dbus-daemon --session --fork --print-pid=1 --address=" + address_;
        if (FILE* out = popen(command.constData(), "r")) {
            char line[64] = {};
            if (fgets(line, sizeof line, out))
                pid_ = static_cast<pid_t>(atol(line));
            pclose(out);
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_);
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address_);
    }
    ~PrivateBus() {
        if (pid_ > 0)
            kill(pid_, SIGTERM);
    }
    bool running() const { return pid_ > 0; }
    QString address() const { return QString::fromLocal8Bit(address_); }

private:
    QByteArray address_;
    pid_t pid_ = 0;
};

PrivateBus* privateBus = nullptr;

class CallLog {
public:
    void add(const QString& call) {
        QMutexLocker lock(&mutex_);
        calls_ << call;
    }
    QStringList calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    void clear() {
        QMutexLocker lock(&mutex_);
        calls_.clear();
    }

private:
    mutable QMutex mutex_;
    QStringList calls_;
};

class ScreenSaverService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit ScreenSaverService(CallLog& log) : log_(log) {}
    QAtomicInt silent = 0;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        log_.add(QStringLiteral("Inhibit %1: %2").arg(application, reason));
        if (silent.loadRelaxed())
            setDelayedReply(true); // and never answer
        // 0 is as good a cookie as any other.
        return nextCookie_++;
    }
    void UnInhibit(uint cookie) { log_.add(QStringLiteral("UnInhibit %1").arg(cookie)); }

private:
    CallLog& log_;
    uint nextCookie_ = 0;
};

class LoginService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit LoginService(CallLog& log) : log_(log) {}
    ~LoginService() override {
        if (readEnd_ >= 0)
            close(readEnd_);
    }

    // True once every copy of the handed-out descriptor is closed.
    bool lockReleased() {
        QMutexLocker lock(&mutex_);
        if (readEnd_ < 0)
            return false;
        char byte = 0;
        return read(readEnd_, &byte, 1) == 0;
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        log_.add(QStringLiteral("Inhibit %1 %2: %3 (%4)").arg(what, who, why, mode));
        int ends[2] = {-1, -1};
        if (pipe(ends) != 0)
            return QDBusUnixFileDescriptor();
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
        {
            QMutexLocker lock(&mutex_);
            if (readEnd_ >= 0)
                close(readEnd_);
            readEnd_ = ends[0];
        }
        QDBusUnixFileDescriptor handed(ends[1]); // a copy
        close(ends[1]);
        return handed;
    }

private:
    CallLog& log_;
    QMutex mutex_;
    int readEnd_ = -1;
};

// The stand-ins, on a connection and a thread of their own.
class Services {
public:
    Services() {
        thread_.start();
        screenSaver.moveToThread(&thread_);
        login.moveToThread(&thread_);
        bus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(privateBus->address(), QStringLiteral("services")));
        bus_->registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                             QDBusConnection::ExportAllSlots);
        bus_->registerObject(QStringLiteral("/org/freedesktop/login1"), &login,
                             QDBusConnection::ExportAllSlots);
    }
    ~Services() {
        bus_->unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        bus_->unregisterObject(QStringLiteral("/org/freedesktop/login1"));
        offer(false);
        bus_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("services"));
        thread_.quit();
        thread_.wait();
    }
    bool connected() const { return bus_->isConnected(); }
    bool offer(bool on) {
        bool ok = true;
        for (const char* name : {kScreenSaver, kLogin})
            ok = (on ? bus_->registerService(QLatin1String(name))
                     : bus_->unregisterService(QLatin1String(name))) &&
                 ok;
        return ok;
    }

    CallLog log;
    ScreenSaverService screenSaver{log};
    LoginService login{log};

private:
    QThread thread_;
    std::unique_ptr<QDBusConnection> bus_;
};

const QString kScreenSaverInhibit = QStringLiteral("Inhibit Panelup: Writing monitor firmware");
const QString kSleepInhibit =
    QStringLiteral("Inhibit sleep:idle Panelup: Writing monitor firmware (block)");

} // namespace

class KeepAwakeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // scripts/setup installs dbus-daemon: without it the suite is broken.
        QVERIFY2(privateBus->running(), "no dbus-daemon to run a private bus");
        services_ = std::make_unique<Services>();
        QVERIFY(services_->connected());
    }
    void cleanupTestCase() { services_.reset(); }
    void init() {
        services_->log.clear();
        services_->screenSaver.silent = 0;
        QVERIFY(services_->offer(true));
    }

    void nativePlatformInhibitsAndReleases() {
        const auto native = platform::makeNativePlatform();
        auto* keepAwake = dynamic_cast<platform::LinuxKeepAwake*>(&native->keepAwake());
        QVERIFY(keepAwake);

        keepAwake->begin();
        QCOMPARE(services_->log.calls(), (QStringList{kScreenSaverInhibit, kSleepInhibit}));
        QVERIFY(keepAwake->screenSaverInhibited());
        QVERIFY(keepAwake->sleepInhibited());
        QVERIFY(!services_->login.lockReleased());

        keepAwake->end();
        QCOMPARE(services_->log.calls().mid(2), QStringList{"UnInhibit 0"});
        QVERIFY(!keepAwake->screenSaverInhibited());
        QVERIFY(!keepAwake->sleepInhibited());
        QTRY_VERIFY(services_->login.lockReleased());
    }

    void endsWhenDestroyed() {
        {
            platform::LinuxKeepAwake keepAwake;
            keepAwake.begin();
        }
        QVERIFY(services_->log.calls().last().startsWith(QStringLiteral("UnInhibit ")));
        QTRY_VERIFY(services_->login.lockReleased());
    }

    void servicesAbsent() {
        QVERIFY(services_->offer(false));
        platform::LinuxKeepAwake keepAwake;
        keepAwake.begin();
        QVERIFY(!keepAwake.screenSaverInhibited());
        QVERIFY(!keepAwake.sleepInhibited());
        keepAwake.end();
        QVERIFY(services_->log.calls().isEmpty());
    }

    // The call gives up after its time-out; the sleep lock still comes.
    void screenSaverNotAnswering() {
        services_->screenSaver.silent = 1;
        platform::LinuxKeepAwake keepAwake;
        keepAwake.begin();
        QVERIFY(!keepAwake.screenSaverInhibited());
        QVERIFY(keepAwake.sleepInhibited());
        keepAwake.end();
        QCOMPARE(services_->log.calls(), (QStringList{kScreenSaverInhibit, kSleepInhibit}));
    }

private:
    std::unique_ptr<Services> services_;
};

int main(int argc, char** argv) {
    IsolatedTempDir isolatedTemp;
    // Before the application: Qt reads the bus addresses once.
    PrivateBus bus;
    privateBus = &bus;
    QCoreApplication app(argc, argv);
    KeepAwakeTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "KeepAwakeTest.moc"
