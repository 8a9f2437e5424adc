// The Linux single-instance lock, in an isolated temporary folder.
#include "IsolatedTempDir.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::InstanceState;
using platform::LinuxSingleInstance;

Q_DECLARE_METATYPE(InstanceState)

namespace {

const std::string name = "NV_Panelup";

// A child process that takes the lock and then waits to be killed. It is
// killed and reaped on every way out of the test, a failed comparison
// included: left alive, it would hold ctest's output pipe open until the
// time-out and hide the failure. Should this process die first, the kernel
// ends it too.
class LockHolder {
public:
    LockHolder() {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(1);
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
        if (pid_ > 0 && ::read(fds[0], &state, 1) == 1)
            got_ = static_cast<InstanceState>(state);
        ::close(fds[0]);
    }
    ~LockHolder() { kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool started() const { return pid_ > 0; }
    InstanceState got() const { return got_; }

    // Kills and reaps the holder; true when SIGKILL ended it.
    bool kill() {
        if (pid_ <= 0)
            return false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        const bool reaped = ::waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return reaped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid_ = -1;
    InstanceState got_ = InstanceState::Unavailable;
};

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
        LockHolder holder;
        QVERIFY(holder.started());
        QCOMPARE(holder.got(), InstanceState::Acquired);

        LinuxSingleInstance lock;
        QCOMPARE(lock.acquire(name), InstanceState::AlreadyRunning);

        QVERIFY(holder.kill());

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
