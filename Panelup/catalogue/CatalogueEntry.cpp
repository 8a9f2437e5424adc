#include "catalogue/CatalogueEntry.h"

#include <QDebug>
#include <QDomDocument>
#include <QDomElement>
#include <QRegularExpression>

namespace catalogue {

namespace {

constexpr int entryFields = 6;

// Only this many refused entries are logged one by one; a catalogue of
// thousands of bad entries would otherwise flood the trace log.
constexpr int loggedSkips = 20;

// Extensions of files that Windows runs, hands to a script host, an
// installer or a viewer that runs code, mounts, or reads when Explorer merely
// shows the folder, and of those the program, the system or a shell loads or
// reads as settings: a firmware file never takes one of them. The first block
// is Microsoft's "Blocked attachments in Outlook" list (the Level 1 file
// types) without ".tmp", which nothing opens and which download names use;
// the rest it lacks.
const char* const refusedExtensions[] = {
    // Microsoft's list of blocked attachment file types.
    "ade", "adp", "app", "appcontent-ms", "application", "appref-ms", "asp", "aspx", "asx", "bas",
    "bat", "bgi", "cab", "cer", "chm", "cmd", "cnt", "com", "cpl", "crt", "csh", "der", "diagcab",
    "exe", "fxp", "gadget", "grp", "hlp", "hpj", "hta", "htc", "inf", "ins", "iso", "isp", "its",
    "jar", "jnlp", "js", "jse", "ksh", "lnk", "mad", "maf", "mag", "mam", "maq", "mar", "mas",
    "mat", "mau", "mav", "maw", "mcf", "mda", "mdb", "mde", "mdt", "mdw", "mdz", "msc", "msh",
    "msh1", "msh2", "mshxml", "msh1xml", "msh2xml", "msi", "msp", "mst", "msu", "ops", "osd", "pcd",
    "pif", "pl", "plg", "prf", "prg", "printerexport", "ps1", "ps1xml", "ps2", "ps2xml", "psc1",
    "psc2", "psd1", "psdm1", "pst", "py", "pyc", "pyo", "pyw", "pyz", "pyzw", "reg", "scf", "scr",
    "sct", "settingcontent-ms", "shb", "shs", "theme", "udl", "url", "vb", "vbe", "vbp", "vbs",
    "vhd", "vhdx", "vsmacros", "vsw", "webpnp", "website", "ws", "wsb", "wsc", "wsf", "wsh", "xbap",
    "xll", "xnk",
    // Read by Explorer when it shows the folder (icons or locations fetched
    // from a share), or opened by the shell.
    "library-ms", "searchConnector-ms", "search-ms", "mht", "mhtml", "desktop",
    // Installer packages and disk images.
    "msix", "msixbundle", "appx", "appxbundle", "appinstaller", "img",
    // Libraries and drivers the system loads.
    "dll", "sys", "drv", "ocx", "ax", "acm", "efi", "mui", "tsp", "so", "dylib",
    // Settings the program, Qt or the loader read; "<program>.exe.local"
    // makes Windows load the program's DLLs from that folder, and
    // "<program>.exe.config" is read by .NET hosts started from it.
    "ini", "manifest", "conf", "local", "config",
    // Opened by what Windows runs on a double click: a remote desktop
    // connection, a visual style or theme pack (code in the .msstyles), a
    // OneNote section with embedded files.
    "rdp", "msstyles", "themepack", "one"};

// The program's own files, in their Windows and Linux names.
const char* const programFiles[] = {
    "Panelup",         "Panelup.exe",  "PanelupDemo",    "PanelupDemo.exe", "Hubbridge.dll",
    "libHubbridge.so", "TxHubLib.dll", "libTxHubLib.so", "Config.ini",      "RunInfo.ini"};

// The folders beside the program from which Qt loads its plugins.
const char* const qtPluginFolders[] = {"accessible",
                                       "audio",
                                       "bearer",
                                       "canbus",
                                       "designer",
                                       "egldeviceintegrations",
                                       "generic",
                                       "geometryservices",
                                       "geoservices",
                                       "iconengines",
                                       "imageformats",
                                       "mediaservice",
                                       "networkinformation",
                                       "platforminputcontexts",
                                       "platforms",
                                       "platformthemes",
                                       "playlistformats",
                                       "plugins",
                                       "position",
                                       "printsupport",
                                       "qmltooling",
                                       "renderers",
                                       "scenegraph",
                                       "sensorgestures",
                                       "sensors",
                                       "sqldrivers",
                                       "styles",
                                       "texttospeech",
                                       "tls",
                                       "virtualkeyboard",
                                       "wayland-decoration-client",
                                       "wayland-graphics-integration-client",
                                       "wayland-graphics-integration-server",
                                       "wayland-shell-integration",
                                       "webview",
                                       "xcbglintegrations"};

template <std::size_t N> bool listed(const char* const (&list)[N], const QString& name) {
    for (const char* item : list) {
        if (name.compare(QLatin1String(item), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// What Windows refuses in a plain file name, besides the separators: the
// colon of drives and streams, the wildcards, the redirections and the
// control characters.
bool hasForbiddenCharacter(const QString& name) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringLiteral(":?*<>\"|").contains(c))
            return true;
    }
    return false;
}

// The device names Windows opens whatever extension follows, also with the
// superscript digits it counts as digits; Windows drops trailing dots and
// blanks of the base.
bool isDeviceName(const QString& name) {
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList devices{QStringLiteral("CON"),    QStringLiteral("PRN"),
                                     QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                     QStringLiteral("CONIN$"), QStringLiteral("CONOUT$"),
                                     QStringLiteral("CLOCK$")};
    if (devices.contains(base))
        return true;
    static const QString digits = QStringLiteral("0123456789\u00B9\u00B2\u00B3");
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           digits.contains(base[3]);
}

// A name that the program or the system would load, run or read, or that
// Windows would not store as written.
bool isReservedName(const QString& name) {
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')) || isDeviceName(name) ||
        listed(programFiles, name))
        return true;
    const QStringList parts = name.split(QLatin1Char('.'));
    if (parts.size() < 2)
        return false;
    // libfoo.so.1 is loaded as readily as libfoo.so.
    for (int i = 1; i < parts.size(); ++i) {
        if (parts[i].compare(QLatin1String("so"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return listed(refusedExtensions, parts.last());
}

bool isSafeSegment(const QString& segment) {
    return !segment.isEmpty() && segment != QLatin1String(".") && segment != QLatin1String("..") &&
           !isReservedName(segment);
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

// Logs the first refused entries one by one and counts the rest.
class SkipLog {
public:
    template <typename... Parts> void skipped(const Parts&... parts) {
        if (++count_ <= loggedSkips)
            ((qDebug() << "Skipped catalogue entry") << ... << parts);
    }
    ~SkipLog() {
        if (count_ > loggedSkips)
            qDebug() << "Skipped" << count_ - loggedSkips << "more catalogue entries";
    }

private:
    int count_ = 0;
};

} // namespace

bool isSafeFileName(const QString& name) {
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !hasForbiddenCharacter(name) && isSafeSegment(name);
}

bool isSafeFolder(const QString& folder) {
    if (hasForbiddenCharacter(folder))
        return false;
    // A leading or trailing separator, "a//b" and "." all leave an empty or
    // dot segment; each would put the file into the program folder itself or
    // read as a path from the root.
    const QStringList segments = folder.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    for (const QString& segment : segments) {
        if (!isSafeSegment(segment))
            return false;
    }
    // On Windows the download folder lies beside the store: an entry stored
    // there would meet the catalogue copy and the files still being checked.
    // The window reads Qt's own catalogues from translations/ beside the
    // program: a qtbase_de.qm planted there would put words in its mouth.
    return !listed(qtPluginFolders, segments.first()) &&
           segments.first().compare(QLatin1String("AutoUpdate"), Qt::CaseInsensitive) != 0 &&
           segments.first().compare(QLatin1String("translations"), Qt::CaseInsensitive) != 0;
}

std::vector<CatalogueEntry> readCatalogueEntries(QIODevice& device) {
    std::vector<CatalogueEntry> entries;
    SkipLog skips;
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
        entry.sha256 = node.attribute(QStringLiteral("sha256"));

        QStringList fields;
        for (QDomElement child = node.firstChildElement();
             !child.isNull() && fields.size() < entryFields; child = child.nextSiblingElement())
            fields << child.text();
        if (fields.size() < entryFields) {
            skips.skipped(entry.kind, entry.file, QStringLiteral("with"), fields.size(),
                          QStringLiteral("fields"));
            continue;
        }
        entry.downloadName = fields[0];
        entry.version = fields[1];
        entry.releaseDate = fields[2];
        entry.checksum = fields[4];
        entry.folder = fields[5].trimmed();

        const QString reason = rejection(entry);
        if (!reason.isEmpty()) {
            skips.skipped(entry.kind, entry.file, entry.folder, entry.downloadName, reason);
            continue;
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace catalogue
