#include "catalogue/FileTime.h"

#include <QFile>

namespace catalogue {

namespace {

QDateTime fileTimeEpoch() {
    return QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
}

} // namespace

quint64 toFileTime(const QDateTime& dateTime) {
    return static_cast<quint64>(fileTimeEpoch().msecsTo(dateTime)) * 10000u;
}

QDateTime parseReleaseDate(const QString& text) {
    QString date = text;
    date.replace(QString::fromUtf8("上午"), QStringLiteral("AM"));
    date.replace(QString::fromUtf8("下午"), QStringLiteral("PM"));
    return QDateTime::fromString(date, QStringLiteral("M/d/yyyy h:m:s AP"));
}

bool setLastWriteTime(const QString& path, quint64 fileTime) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    const QDateTime time = fileTimeEpoch().addMSecs(static_cast<qint64>(fileTime / 10000u));
    return file.setFileTime(time, QFileDevice::FileModificationTime);
}

} // namespace catalogue
