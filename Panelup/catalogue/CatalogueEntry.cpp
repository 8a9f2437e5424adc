#include "catalogue/CatalogueEntry.h"

#include <QDebug>
#include <QDomDocument>
#include <QDomElement>
#include <QRegularExpression>

namespace catalogue {

namespace {

constexpr int entryFields = 6;

bool hasForbiddenCharacter(const QString& name) {
    for (const QChar c : name) {
        if (c == QLatin1Char(':') || c.unicode() < 0x20)
            return true;
    }
    return false;
}

// Why an entry cannot be used, or an empty text when it can.
QString rejection(const CatalogueEntry& entry) {
    if (!isSafeFileName(entry.file))
        return QStringLiteral("unsafe file name");
    if (!isSafeFileName(entry.downloadName))
        return QStringLiteral("unsafe download name");
    if (!isSafeFolder(entry.folder))
        return QStringLiteral("unsafe folder");
    return {};
}

} // namespace

bool isSafeFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !hasForbiddenCharacter(name);
}

bool isSafeFolder(const QString& folder) {
    if (folder.isEmpty() || hasForbiddenCharacter(folder) || folder.startsWith(QLatin1Char('/')) ||
        folder.startsWith(QLatin1Char('\\')))
        return false;
    const QStringList segments = folder.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    for (const QString& segment : segments) {
        if (segment == QLatin1String(".."))
            return false;
    }
    return true;
}

std::vector<CatalogueEntry> readCatalogueEntries(QIODevice& device) {
    std::vector<CatalogueEntry> entries;
    QDomDocument document;
    QString error;
    int line = 0;
    if (!document.setContent(&device, &error, &line)) {
        qDebug() << "Catalogue does not parse:" << error << "line" << line;
        return entries;
    }
    for (QDomElement node = document.documentElement().firstChildElement(); !node.isNull();
         node = node.nextSiblingElement()) {
        CatalogueEntry entry;
        entry.kind = node.tagName();
        entry.file = node.attribute(QStringLiteral("file"));

        QStringList fields;
        for (QDomElement child = node.firstChildElement();
             !child.isNull() && fields.size() < entryFields; child = child.nextSiblingElement())
            fields << child.text();
        if (fields.size() < entryFields) {
            qDebug() << "Skipped catalogue entry" << entry.kind << entry.file << "with"
                     << fields.size() << "fields";
            continue;
        }
        entry.downloadName = fields[0];
        entry.version = fields[1];
        entry.releaseDate = fields[2];
        entry.checksum = fields[4];
        entry.folder = fields[5].trimmed();

        const QString reason = rejection(entry);
        if (!reason.isEmpty()) {
            qDebug() << "Skipped catalogue entry" << entry.kind << entry.file << entry.folder
                     << entry.downloadName << reason;
            continue;
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace catalogue
