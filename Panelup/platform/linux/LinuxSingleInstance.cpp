#include "platform/linux/LinuxSingleInstance.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

LinuxSingleInstance::~LinuxSingleInstance() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::string LinuxSingleInstance::lockPath(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string file = name.empty() ? std::string("lock") : name;
    for (char& c : file) {
        if (c == '/')
            c = '_';
    }
    return folder + "/" + file + ".lock";
}

InstanceState LinuxSingleInstance::acquire(const std::string& name) {
    if (fd_ >= 0)
        return InstanceState::Acquired;

    // O_NOFOLLOW: the temporary folder is shared, and a link planted there
    // must not make us create or lock some other file.
    const std::string path = lockPath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return InstanceState::Unavailable;

    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? InstanceState::AlreadyRunning : InstanceState::Unavailable;
    }
    // Held open for the life of the process.
    fd_ = fd;
    return InstanceState::Acquired;
}

} // namespace platform
