#pragma once

#include <QString>

namespace catalogue {

// The download folder in the user's temporary-files location: "AutoUpdate"
// on Windows, "AutoUpdate-" and the user id where that location is shared.
QString defaultDownloadFolder();

// Blocking HTTP GET of url, waiting in a local event loop. True when the
// request finished without a network error (an HTTP error status counts as
// one). With save true the body then replaces the file at path; it is first
// written beside it and moved into place only once complete, so a failed
// fetch leaves an existing file as it was. A file that cannot be written
// makes the fetch fail, and so does a symbolic link at path. With save false
// a successful fetch removes the file at path and creates nothing. A body
// larger than limit fails the fetch; without one, downloadSizeLimit().
bool downloadFile(const QString& url, const QString& path, bool save);
bool downloadFile(const QString& url, const QString& path, bool save, qint64 limit);

// The catalogue is a small XML file, read whole: anything larger than this
// is not one and fails its fetch.
constexpr qint64 catalogueSizeLimit = qint64{1} << 20;

// A request fails when no data has arrived for this long (30 s by default).
void setDownloadStallTimeoutMs(int ms);

// A body larger than this fails the request instead of filling the disk.
qint64 downloadSizeLimit();
void setDownloadSizeLimit(qint64 bytes);

// The site check: true when the site answers its check page.
class UpdateSite {
public:
    UpdateSite(QString siteBaseUrl, QString siteCheckPage,
               QString downloadFolder = defaultDownloadFolder());

    bool checkUpdateSite() const;

private:
    QString siteBaseUrl_;
    QString siteCheckPage_;
    QString downloadFolder_;
};

} // namespace catalogue
