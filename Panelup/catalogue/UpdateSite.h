#pragma once

#include <QString>

namespace catalogue {

// The download folder: "AutoUpdate" in the user's temporary-files location.
QString defaultDownloadFolder();

// Blocking HTTP GET of url, waiting in a local event loop. True when the
// request finished without a network error (an HTTP error status counts as
// one). With save true the body then replaces the file at path; it is first
// written beside it and moved into place only once complete, so a failed
// fetch leaves an existing file as it was. A file that cannot be written
// makes the fetch fail. With save false a successful fetch removes the file
// at path and creates nothing.
bool downloadFile(const QString& url, const QString& path, bool save);

// A request fails when no data has arrived for this long (30 s by default).
int downloadStallTimeoutMs();
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
