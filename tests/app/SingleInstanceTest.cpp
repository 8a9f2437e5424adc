// The Linux single-instance lock, in an isolated temporary folder.
#include "IsolatedTempDir.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using platform::InstanceState;
using platform::LinuxSingleInstance;

Q_DECLARE_METATYPE(InstanceState)

namespace {

const std::string name = "NV_Panelup";

// A child process that takes the lock and then waits to be killed. Returns
// its pid and what it got, or -1 when it could not be started.
pid_t startHolder(InstanceState& got) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        auto* lock = new LinuxSingleInstance; // left for the kernel to drop
        const char state = static_cast<char>(lock->acquire(name));
        if (::write(fds[1], &state, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    char state = -1;
    const bool read = child > 0 && ::read(fds[0], &state, 1) == 1;
    ::close(fds[0]);
    if (!read)
        return -1;
    got = static_cast<InstanceState>(state);
    return child;
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    IsolatedTempDir temp;

private slots:
    void init() { temp.leave(); }

    void lockFileInTemporaryFolder() {
        LinuxSingleInstance lock;
        QCOMPARE(lock.acquire(name), InstanceState::Acquired);
        const QString expected = temp.path() + QStringLiteral("/NV_Panelup.lock");
        QCOMPARE(QString::fromStdString(LinuxSingleInstance::lockPath(name)), expected);
        QVERIFY(QFile::exists(expected));
    }

    void secondHolderRefused() {
        auto first = std::make_unique<LinuxSingleInstance>();
        QCOMPARE(first->acquire(name), InstanceState::Acquired);
        // Another open file description, as another process would have.
        LinuxSingleInstance second;
        QCOMPARE(second.acquire(name), InstanceState::AlreadyRunning);
        QCOMPARE(second.acquire(name), InstanceState::AlreadyRunning);
        // Asking again where it is held changes nothing.
        QCOMPARE(first->acquire(name), InstanceState::Acquired);

        first.reset();
        QCOMPARE(second.acquire(name), InstanceState::Acquired);
    }

    void namesAreSeparate() {
        LinuxSingleInstance one;
        LinuxSingleInstance two;
        QCOMPARE(one.acquire("one"), InstanceState::Acquired);
        QCOMPARE(two.acquire("two"), InstanceState::Acquired);
    }

    void nameStaysInFolder() {
        const std::string path = LinuxSingleInstance::lockPath("../a/b");
        QCOMPARE(QString::fromStdString(path), temp.path() + QStringLiteral("/.._a_b.lock"));
    }

    void killedHolderLeavesNothingStuck() {
        InstanceState childGot = InstanceState::Unavailable;
        const pid_t child = startHolder(childGot);
        QVERIFY(child > 0);
        QCOMPARE(childGot, InstanceState::Acquired);

        LinuxSingleInstance lock;
        QCOMPARE(lock.acquire(name), InstanceState::AlreadyRunning);

        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));

        QVERIFY(QFile::exists(temp.path() + QStringLiteral("/NV_Panelup.lock")));
        QCOMPARE(lock.acquire(name), InstanceState::Acquired);
    }

    void plantedLinkNotFollowed() {
        const QString target = temp.root() + QStringLiteral("/elsewhere");
        const QString folder = temp.enter(QStringLiteral("shared"));
        QVERIFY(QFile::link(target, folder + QStringLiteral("/NV_Panelup.lock")));
        LinuxSingleInstance lock;
        QCOMPARE(lock.acquire(name), InstanceState::Unavailable);
        QVERIFY(!QFile::exists(target));
    }

    void missingFolderUnavailable() {
        qputenv("TMPDIR", QFile::encodeName(temp.root() + QStringLiteral("/missing")));
        LinuxSingleInstance lock;
        QCOMPARE(lock.acquire(name), InstanceState::Unavailable);
    }

    void nativePlatformUsesTheLock() {
        const std::unique_ptr<platform::Platform> first = platform::makeNativePlatform();
        const std::unique_ptr<platform::Platform> second = platform::makeNativePlatform();
        QCOMPARE(first->singleInstance().acquire(name), InstanceState::Acquired);
        QCOMPARE(second->singleInstance().acquire(name), InstanceState::AlreadyRunning);
    }
};

QTEST_APPLESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
