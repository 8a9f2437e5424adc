#include "catalogue/DownloadFolder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include "platform/windows/WindowsPrivateFolder.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
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

bool openOwnFileForWriting(QFile& file, const QString& path, bool empty, QIODevice::OpenMode mode,
                           QString& refusal) {
    file.setFileName(path);
    if (file.open(mode | (empty ? QIODevice::Truncate : QIODevice::Append)))
        return true;
    refusal = file.errorString();
    return false;
}

bool isSymbolicLink(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

QString whyProgramFolderUnprotected(const QString&) {
    return {};
}

bool prepareEntryFolder(const QString& downloadFolder, const QString& folder) {
    return QDir().mkpath(downloadFolder + QLatin1Char('/') + folder);
}

bool removeOwnFile(const QString& path) {
    return QFile::remove(path);
}

#else

namespace {

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path)).toStdWString();
}

} // namespace

bool preparePrivateFolder(const QString& path) {
    const QFileInfo folder(QDir::cleanPath(path));
    // The program folder, which exists wherever the program runs.
    QDir().mkpath(folder.absolutePath());
    std::string refusal;
    if (platform::makeFoldersBelow(native(folder.absolutePath()), folder.fileName().toStdWString(),
                                   refusal))
        return true;
    qWarning() << "Download folder refused:" << path << QString::fromStdString(refusal);
    return false;
}

QString whyProgramFolderUnprotected(const QString& programFolder) {
    return QString::fromStdString(platform::whyNotAdminOnly(native(programFolder)));
}

bool prepareEntryFolder(const QString& downloadFolder, const QString& folder) {
    std::string refusal;
    if (platform::makeFoldersBelow(native(downloadFolder), folder.toStdWString(), refusal))
        return true;
    qWarning() << "Download folder refused:" << downloadFolder + QLatin1Char('/') + folder
               << QString::fromStdString(refusal);
    return false;
}

bool removeOwnFile(const QString& path) {
    return platform::deletePlainFile(native(path));
}

bool openWithoutFollowing(QFile& file, const QString& path) {
    void* handle = platform::openPlainFileForReading(native(path));
    if (!handle)
        return false;
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::_close(fd);
        return false;
    }
    return true;
}

bool openOwnFileForWriting(QFile& file, const QString& path, bool empty, QIODevice::OpenMode mode,
                           QString& refusal) {
    const QFileInfo place(QDir::cleanPath(path));
    std::string why;
    void* handle = platform::openOwnFileForWriting(native(place.absolutePath()),
                                                   place.fileName().toStdWString(), empty, why);
    if (!handle) {
        refusal = QString::fromStdString(why);
        return false;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        refusal = QStringLiteral("no descriptor for its handle");
        return false;
    }
    if (!file.open(fd, mode | (empty ? QIODevice::NotOpen : QIODevice::Append),
                   QFileDevice::AutoCloseHandle)) {
        ::_close(fd);
        refusal = file.errorString();
        return false;
    }
    return true;
}

bool isSymbolicLink(const QString& path) {
    return platform::isReparsePoint(native(path));
}

#endif

} // namespace catalogue
