#include "update/EdidBackup.h"

#include "catalogue/DownloadFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>

namespace update {

const char* const EdidBackup::FileName = "Panelup_edid_backup.txt";

namespace {

QByteArray hexLine(const std::vector<uint8_t>& bytes) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<int>(bytes.size()));
    return raw.toHex(' ');
}

} // namespace

EdidBackup::EdidBackup(QString folder)
    : path_(QDir(folder).absoluteFilePath(QString::fromLatin1(FileName))) {}

bool EdidBackup::record(const QString& model, int address, const std::vector<uint8_t>& oldBytes,
                        const std::vector<uint8_t>& newBytes) const {
    QByteArray entry;
    entry += QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8();
    entry += ' ' + model.toUtf8();
    entry += " area 0x" + QByteArray::number(address, 16).rightJustified(4, '0') + '\n';
    entry += "old " + hexLine(oldBytes) + '\n';
    entry += "new " + hexLine(newBytes) + '\n';

    // In the user's temporary folder: never through a link.
    QFile file;
    QString refusal;
    if (!catalogue::openOwnFileForWriting(file, path_, false, QIODevice::WriteOnly, refusal))
        return false;
    const bool written = file.write(entry) == entry.size();
    // flush reports a full disk that write alone may not.
    return file.flush() && written;
}

} // namespace update
