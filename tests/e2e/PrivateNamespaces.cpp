#include "PrivateNamespaces.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

namespace e2e {

namespace {

bool put(const char* path, const QByteArray& text) {
    const int fd = ::open(path, O_WRONLY);
    const bool written = fd >= 0 && ::write(fd, text.constData(), text.size()) == text.size();
    if (fd >= 0)
        ::close(fd);
    return written;
}

} // namespace

bool enterPrivateNamespaces(int kinds) {
    kinds |= CLONE_NEWNS;
    if (::unshare(kinds) != 0) {
        const unsigned uid = ::getuid();
        const unsigned gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | kinds) != 0) {
            std::perror("unshare");
            return false;
        }
        if (!put("/proc/self/setgroups", "deny") ||
            !put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
            !put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return false;
    }
    // Mounts made here stay here.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::perror("mount");
        return false;
    }
    return true;
}

bool bringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    const bool up = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ::ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    if (fd >= 0)
        ::close(fd);
    if (!up)
        std::perror("loopback");
    return up;
}

} // namespace e2e
