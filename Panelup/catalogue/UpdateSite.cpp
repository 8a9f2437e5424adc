#include "catalogue/UpdateSite.h"

#include "catalogue/DownloadFolder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace catalogue {

namespace {
int stallTimeoutMs = 30000;
qint64 sizeLimit = qint64{256} << 20;
// A compressed body is counted after Qt has inflated it, so its announced
// length says nothing about what arrived.
bool shortOfItsLength(const QNetworkReply& reply, qint64 received) {
    const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
    return announced.isValid() && !reply.hasRawHeader("Content-Encoding") &&
           received < announced.toLongLong();
}

} // namespace

void setDownloadStallTimeoutMs(int ms) {
    stallTimeoutMs = ms;
}

qint64 downloadSizeLimit() {
    return sizeLimit;
}

void setDownloadSizeLimit(qint64 bytes) {
    sizeLimit = bytes;
}

QString defaultDownloadFolder() {
#ifdef _WIN32
    // Beside the firmware store, where the installed program's folder lets
    // only administrators change anything: the user's temporary folder and
    // TMP/TEMP are the user's own, and no check made there outlasts a rename.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/AutoUpdate");
#else
    const QString temp = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    // The temporary folder is shared by all users here: each has a folder of
    // his own, so one user's folder never stops another's downloads.
    return temp + QStringLiteral("/AutoUpdate-") + QString::number(::geteuid());
#endif
}

bool downloadFile(const QString& url, const QString& path, bool save) {
    return downloadFile(url, path, save, sizeLimit);
}

bool downloadFile(const QString& url, const QString& path, bool save, qint64 limit) {
    // QSaveFile writes to the target of a symbolic link; a link where a
    // download belongs was not put there by this program.
    if (save && isSymbolicLink(path)) {
        qDebug() << "Failure" << path << "is a symbolic link";
        return false;
    }
    // The body goes to a temporary file beside the target and replaces it
    // only when complete; destroying an uncommitted QSaveFile discards it.
    QSaveFile target(path);
    if (save && !target.open(QIODevice::WriteOnly)) {
        qDebug() << "Failure" << target.errorString() << path;
        return false;
    }

    QEventLoop loop;
    QNetworkAccessManager manager;
    QObject::connect(&manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit);

    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url, QUrl::TolerantMode)));

    // Without a bound a site that stops answering would block the window for
    // ever; the clock restarts whenever data arrives, so slow links still work.
    QTimer stall;
    stall.setSingleShot(true);
    QString failure;
    QObject::connect(&stall, &QTimer::timeout, reply, [&] {
        failure = QStringLiteral("no data for %1 ms").arg(stallTimeoutMs);
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &stall,
                     [&] { stall.start(stallTimeoutMs); });

    qint64 received = 0;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        stall.start(stallTimeoutMs);
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (!failure.isEmpty())
            return;
        if (received > limit) {
            failure = QStringLiteral("body larger than %1 bytes").arg(limit);
            reply->abort();
        } else if (save && target.write(chunk) != chunk.size()) {
            failure = target.errorString();
            reply->abort();
        }
    });

    stall.start(stallTimeoutMs);
    if (!reply->isFinished())
        loop.exec();
    stall.stop();

    bool ok = false;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!failure.isEmpty()) {
        qDebug() << "Failure" << failure;
    } else if (!reply->isFinished()) {
        // The wait was ended from outside (the program is quitting): what
        // arrived so far is not the file.
        qDebug() << "Failure"
                 << "the request did not finish";
        reply->abort();
    } else if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Failure" << reply->errorString();
    } else if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        // An unfollowed redirect or similar is not the file that was asked for.
        qDebug() << "Failure"
                 << "HTTP status" << status.toInt();
    } else if (shortOfItsLength(*reply, received + reply->bytesAvailable())) {
        // Qt does not always tell a connection closed early from a complete
        // body: the file would be stored cut short.
        qDebug() << "Failure"
                 << "the body is shorter than its announced length";
    } else {
        qDebug() << "Download...";
        const QByteArray rest = reply->readAll();
        if (save) {
            if (target.write(rest) == rest.size() && target.commit()) {
                ok = true;
            } else {
                qDebug() << "Failure" << target.errorString() << path;
            }
        } else {
            // The site answered; a stale copy that will not go away does not
            // change that.
            ok = true;
            if (QFile::exists(path) && !removeOwnFile(path))
                qDebug() << "cannot remove" << path;
        }
        if (ok)
            qDebug() << "ok";
    }
    delete reply;
    return ok;
}

UpdateSite::UpdateSite(QString siteBaseUrl, QString siteCheckPage, QString downloadFolder)
    : siteBaseUrl_(std::move(siteBaseUrl)), siteCheckPage_(std::move(siteCheckPage)),
      downloadFolder_(std::move(downloadFolder)) {}

bool UpdateSite::checkUpdateSite() const {
    // The check stores nothing: a download folder that is refused only means
    // that no stale copy of the page is removed from it.
    QString localPath;
    if (preparePrivateFolder(downloadFolder_)) {
        localPath = downloadFolder_ + QLatin1Char('/') + siteCheckPage_;
        if (QFile::exists(localPath))
            removeOwnFile(localPath);
    }
    return downloadFile(siteBaseUrl_ + siteCheckPage_, localPath, false);
}

} // namespace catalogue
