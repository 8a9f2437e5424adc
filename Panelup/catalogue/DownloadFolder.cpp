#include "catalogue/DownloadFolder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace catalogue {

#ifndef _WIN32

namespace {

QString why(const char* what) {
    return QString::fromLocal8Bit(what) + QStringLiteral(": ") +
           QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

bool preparePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        qWarning() << "Download folder refused:" << path << why("cannot create it");
        return false;
    }
    struct stat info {};
    QString refusal;
    if (::lstat(native.constData(), &info) != 0)
        refusal = why("cannot examine it");
    else if (S_ISLNK(info.st_mode))
        refusal = QStringLiteral("it is a symbolic link");
    else if (!S_ISDIR(info.st_mode))
        refusal = QStringLiteral("it is not a folder");
    else if (info.st_uid != ::geteuid())
        refusal = QStringLiteral("it belongs to another user");
    else if ((info.st_mode & 077) != 0)
        refusal = QStringLiteral("other users may write or read it (mode %1); remove it")
                      .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    if (refusal.isEmpty())
        return true;
    qWarning() << "Download folder refused:" << path << refusal;
    return false;
}

bool openWithoutFollowing(QFile& file, const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool isSymbolicLink(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

#else

bool preparePrivateFolder(const QString& path) {
    if (QDir().mkpath(path))
        return true;
    qWarning() << "Download folder refused:" << path << "cannot create it";
    return false;
}

bool openWithoutFollowing(QFile& file, const QString& path) {
    if (QFileInfo(path).isSymLink())
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
}

bool isSymbolicLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

#endif

} // namespace catalogue
