// The network fault matrix: a whole start-up (the real window, the real
// bridge over the virtual monitor) against an update site on loopback that
// refuses, fails, hangs, cuts bodies short, lies about checksums or sends
// catalogues that are huge, long or full of entities. The start-up ends,
// nothing is written outside the firmware store and the download folder,
// and a file that did not arrive whole and right leaves the old firmware
// and its record in place.
#include "E2eFixture.h"
#include "FaultMatrix.h"
#include "SigningKey.h"
#include "TestFiles.h"

#include "app/Panelup.h"
#include "catalogue/DownloadFolder.h"
#include "catalogue/SiteKeys.h"
#include "catalogue/UpdateSite.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QTcpServer>
#include <QtTest>

using namespace e2e;
using Behaviour = TestHttpServer::Behaviour;

namespace {

const QString kModel = QStringLiteral("LM0420");

// What the monitor has and the store holds before the run: scalar 18.3
// installed, 18.4 stored; hub 1.20 installed and stored.
SiteFile oldScalar() {
    return SiteFile{"Scalar", "LM0420_old.bin", "18.4", "Scalar", scalarImage(0x12, 4, 5), {}};
}
// What the site offers: scalar 18.5 and hub 1.21.
SiteFile newHub() {
    return SiteFile{"Hub", "LM0420_hub121.bin", "1.21", "Hub", hubImage(1, 0x21, 6), {}};
}

enum class Target { Everything, CheckPage, Catalogue, ScalarFile, HubFile };

enum class Special {
    None,
    Refused,          // nothing listens on the site's port
    WrongChecksum,    // the catalogue's checksum is not the file's
    TooLarge,         // a firmware file over the size limit
    HugeCatalogue,    // over 1 MiB of catalogue around the two entries
    ManyEntries,      // thousands of entries before the two
    EntityExpansion,  // nested entities that would grow to gigabytes
    ExternalEntities, // entities that name files of the machine
    LoadedName,       // an entry that names a file the program or the system loads
    LinkedFolder,     // the download folder is a symbolic link to another folder
    OpenFolder,       // the download folder is open to other users
    LinkedCopy,       // the catalogue copy's path is a symbolic link
    Signed,           // keys built in, the catalogue signed, every file's SHA-256 listed
    Unsigned,         // keys built in, no signature on the site
    WrongSha256,      // keys built in, signed, the target's listed SHA-256 is not its file's
};

struct NetworkCase {
    Target target = Target::Everything;
    Behaviour behaviour = Behaviour::Normal;
    Special special = Special::None;
    bool offered = true;      // the newer-firmware question is asked
    bool openError = false;   // the catalogue copy could not be read
    bool scalarStored = true; // the new scalar file is stored and recorded
    bool hubStored = true;
    bool failureTold = false; // the user is told that the download failed
    QString failedFile;       // the file named then; the target's when empty
    QString folder;           // of the LoadedName entry
    QString file;
};

QString catalogueBody(const QList<SiteFile>& files, const QString& prologue,
                      const QString& entriesBefore, const QString& padding,
                      const QStringList& sha256 = {}) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + prologue +
                  QStringLiteral("<Firmware>\n") + entriesBefore;
    for (const SiteFile& f : files) {
        const QString hash = sha256.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" sha256=\"%1\"")
                                       .arg(sha256.value(xml.count(QStringLiteral("<CheckSum>"))));
        xml += QStringLiteral("<%1 file=\"%2\"%7><Name>%2</Name><Version>%3</Version>"
                              "<Date>3/7/2018 2:05:00 PM</Date><Note>%4</Note>"
                              "<CheckSum>%5</CheckSum><Folder>%6</Folder></%1>\n")
                   .arg(f.kind, f.file, f.version, padding,
                        f.checksum.isEmpty() ? checksumText(f.body) : f.checksum, f.folder, hash);
    }
    return xml + QStringLiteral("</Firmware>\n");
}

// Entries that climb out of the store, are absolute, or lack fields; and a
// few harmless ones the site does not have.
QString manyEntries(int count) {
    QString xml;
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
        case 0:
            xml += QStringLiteral("<Scalar file=\"../../x%1.bin\"><Name>x.bin</Name><Version>99"
                                  "</Version><Date/><Note/><CheckSum>0x00</CheckSum>"
                                  "<Folder>Scalar</Folder></Scalar>\n")
                       .arg(i);
            break;
        case 1:
            xml += QStringLiteral("<Hub file=\"h%1.bin\"><Name>h.bin</Name><Version>99</Version>"
                                  "<Date/><Note/><CheckSum>0x00</CheckSum><Folder>/tmp/x%1"
                                  "</Folder></Hub>\n")
                       .arg(i);
            break;
        case 2:
            xml += QStringLiteral("<Hub file=\"s%1.bin\"><Name>s.bin</Name></Hub>\n").arg(i);
            break;
        default:
            xml += i < 40 ? QStringLiteral("<Readme file=\"r%1.txt\"><Name>r%1.txt</Name>"
                                           "<Version/><Date/><Note/><CheckSum>0</CheckSum>"
                                           "<Folder>Docs</Folder></Readme>\n")
                                .arg(i)
                          : QStringLiteral("<!-- %1 -->\n").arg(i);
        }
    }
    return xml;
}

QString entityExpansion() {
    QString dtd = QStringLiteral("<!DOCTYPE Firmware [\n<!ENTITY lol0 \"lollollollollol\">\n");
    for (int i = 1; i <= 9; ++i)
        dtd += QStringLiteral("<!ENTITY lol%1 \"%2\">\n")
                   .arg(i)
                   .arg(QStringLiteral("&lol%1;").arg(i - 1).repeated(10));
    return dtd + QStringLiteral("]>\n");
}

QString externalEntities() {
    return QStringLiteral("<!DOCTYPE Firmware [\n<!ENTITY passwd SYSTEM \"file:///etc/passwd\">\n"
                          "<!ENTITY % remote SYSTEM \"http://127.0.0.1:9/evil.dtd\">\n%remote;\n"
                          "]>\n");
}

int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

Q_DECLARE_METATYPE(NetworkCase)

class NetworkFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(IsolatedTempDir::active());
        // A site that stops sending is given up quickly here.
        catalogue::setDownloadStallTimeoutMs(300);
    }

    void cleanup() { catalogue::setSiteKeys({}); }

    void networkFault_data() {
        QTest::addColumn<NetworkCase>("c");
        QTest::newRow("site answers") << NetworkCase{};

        NetworkCase unreachable;
        unreachable.offered = false;
        unreachable.scalarStored = unreachable.hubStored = false;
        unreachable.special = Special::Refused;
        QTest::newRow("connection refused") << unreachable;
        unreachable.special = Special::None;
        unreachable.target = Target::CheckPage;
        for (auto b : {Behaviour::NotFound, Behaviour::ServerError, Behaviour::Hang}) {
            unreachable.behaviour = b;
            QTest::addRow("check page %s", name(b)) << unreachable;
        }

        NetworkCase noCatalogue = unreachable;
        noCatalogue.target = Target::Catalogue;
        noCatalogue.openError = true;
        for (auto b : {Behaviour::NotFound, Behaviour::ServerError, Behaviour::Hang,
                       Behaviour::StopHalfway, Behaviour::WrongLength}) {
            noCatalogue.behaviour = b;
            QTest::addRow("catalogue %s", name(b)) << noCatalogue;
        }

        NetworkCase noScalar;
        noScalar.target = Target::ScalarFile;
        noScalar.scalarStored = false;
        noScalar.failureTold = true;
        for (auto b : {Behaviour::NotFound, Behaviour::ServerError, Behaviour::Hang,
                       Behaviour::StopHalfway, Behaviour::WrongLength}) {
            noScalar.behaviour = b;
            QTest::addRow("scalar file %s", name(b)) << noScalar;
        }
        noScalar.behaviour = Behaviour::Normal;
        noScalar.special = Special::WrongChecksum;
        QTest::newRow("scalar file with a wrong checksum") << noScalar;
        noScalar.special = Special::TooLarge;
        QTest::newRow("scalar file over the size limit") << noScalar;

        NetworkCase noHub;
        noHub.target = Target::HubFile;
        noHub.hubStored = false;
        noHub.failureTold = true;
        noHub.behaviour = Behaviour::StopHalfway;
        QTest::newRow("hub file stops half way") << noHub;
        noHub.behaviour = Behaviour::Normal;
        noHub.special = Special::WrongChecksum;
        QTest::newRow("hub file with a wrong checksum") << noHub;

        // A catalogue is a small file: past its limit the fetch fails as
        // that of an unreachable catalogue does.
        NetworkCase huge = noCatalogue;
        huge.target = Target::Everything;
        huge.behaviour = Behaviour::Normal;
        huge.special = Special::HugeCatalogue;
        QTest::newRow("catalogue over 1 MiB") << huge;

        NetworkCase odd;
        odd.special = Special::ManyEntries;
        // The site lacks the few harmless extra entries: told once.
        odd.failureTold = true;
        odd.failedFile = QStringLiteral("r3.txt");
        QTest::newRow("catalogue of 4000 entries") << odd;

        NetworkCase entities;
        entities.offered = false;
        entities.scalarStored = entities.hubStored = false;
        entities.special = Special::EntityExpansion;
        QTest::newRow("catalogue of nested entities") << entities;
        // Nothing is fetched for them: the entry whose folder was one is
        // left out, the other entry is used.
        NetworkCase external;
        external.special = Special::ExternalEntities;
        external.scalarStored = false;
        QTest::newRow("catalogue of external entities") << external;

        // Entries the site serves whole and right, under names that would
        // replace the program's own files or plant one that it or the system
        // loads: each is skipped, the other entries are used.
        NetworkCase loaded;
        loaded.special = Special::LoadedName;
        QList<QPair<QString, QString>> names{
            {".", "libHubbridge.so"}, {"./", "Config.ini"},         {".", "version.dll"},
            {"platforms", "fw.bin"},  {"Styles", "fw.bin"},         {"Scalar//x", "fw.bin"},
            {"Scalar", "CON"},        {"Scalar", "nul.bin"},        {"Scalar", "fw.bin."},
            {"Scalar", "fw.bin "},    {"Scalar", "PanelupDemo"},    {"Scalar", "run.sh.js"},
            {"Tools", "Panelup.exe"}, {"Scalar", "libTxHubLib.so"}, {"Scalar", "qt.conf"}};
        // What Windows runs or Explorer reads when showing the folder, device
        // names it opens, characters it refuses and the folder it loads the
        // program's DLLs from.
        names << qMakePair(QStringLiteral("Scalar"), QStringLiteral("fw.url"))
              << qMakePair(QStringLiteral("Scalar"), QStringLiteral("fw.settingcontent-ms"))
              << qMakePair(QStringLiteral("Scalar"), QStringLiteral("fw.hta"))
              << qMakePair(QStringLiteral("Scalar"), QStringLiteral("COM\u00B9.bin"))
              << qMakePair(QStringLiteral("Scalar"), QStringLiteral("CONIN$"))
              << qMakePair(QStringLiteral("Scalar"), QStringLiteral("fw?.bin"))
              << qMakePair(QStringLiteral("Panelup.exe.local"), QStringLiteral("winspool.bin"))
              << qMakePair(QStringLiteral("PanelupDemo.exe.local"), QStringLiteral("fw.bin"));
        for (const auto& name : names) {
            loaded.folder = name.first;
            loaded.file = name.second;
            QTest::addRow("entry \"%s\" in \"%s\"", qPrintable(name.second), qPrintable(name.first))
                << loaded;
        }

        // With keys built in: a signed site is taken as it is; an unsigned
        // one is refused at the newer-firmware check and told as a failed
        // download; a file whose SHA-256 is not the signed one is not stored.
        NetworkCase signedSite;
        signedSite.special = Special::Signed;
        QTest::newRow("signed catalogue, keys built in") << signedSite;
        NetworkCase unsignedSite = unreachable;
        unsignedSite.target = Target::Everything;
        unsignedSite.behaviour = Behaviour::Normal;
        unsignedSite.special = Special::Unsigned;
        unsignedSite.failureTold = true;
        unsignedSite.failedFile = kModel + QStringLiteral(".xml");
        QTest::newRow("unsigned catalogue, keys built in") << unsignedSite;
        NetworkCase wrongHash = noScalar;
        wrongHash.special = Special::WrongSha256;
        QTest::newRow("scalar file of another SHA-256") << wrongHash;
        wrongHash = noHub;
        wrongHash.special = Special::WrongSha256;
        QTest::newRow("hub file of another SHA-256") << wrongHash;

#ifndef Q_OS_WIN
        // A download folder that is not the user's own is refused: the
        // catalogue is not fetched, nothing is offered or written. (On
        // Windows the folder lies in the user's own temporary folder.)
        NetworkCase shared = unreachable;
        shared.target = Target::Everything;
        shared.behaviour = Behaviour::Normal;
        shared.special = Special::LinkedFolder;
        QTest::newRow("download folder is a link") << shared;
        shared.special = Special::OpenFolder;
        QTest::newRow("download folder open to others") << shared;
        NetworkCase linkedCopy = noCatalogue;
        linkedCopy.target = Target::Everything;
        linkedCopy.behaviour = Behaviour::Normal;
        linkedCopy.special = Special::LinkedCopy;
        QTest::newRow("catalogue copy is a link") << linkedCopy;
#endif
    }

    void networkFault() {
        QFETCH(NetworkCase, c);
        Fixture fixture;
        Monitor monitor;
        QVERIFY(fixture.loadWorld({monitor}));
        QVERIFY(fixture.storeAndRecord(kModel, oldScalar(), usualHub()));

        SiteFile scalar = usualScalar();
        SiteFile hub = newHub();
        if (c.special == Special::WrongChecksum)
            (c.target == Target::ScalarFile ? scalar : hub).checksum = QStringLiteral("0x1234");
        fixture.publish(kModel, {scalar, hub});
        QString prologue;
        QString before;
        QString padding = QStringLiteral("release notes");
        switch (c.special) {
        case Special::HugeCatalogue:
            padding = QString(512 * 1024 + 100, QLatin1Char('n'));
            break;
        case Special::LoadedName: {
            const QByteArray body = "AllowDowngrade=true\n";
            before = catalogueBody({SiteFile{"Readme", c.file, "99", c.folder, body, {}}}, {}, {},
                                   padding)
                         .section(QStringLiteral("<Firmware>\n"), 1)
                         .section(QStringLiteral("</Firmware>"), 0, 0);
            fixture.server.serve(Fixture::filePath(kModel, c.file), body);
            break;
        }
        case Special::ManyEntries:
            before = manyEntries(4000);
            break;
        case Special::EntityExpansion:
            prologue = entityExpansion();
            padding = QStringLiteral("&lol9;");
            break;
        case Special::ExternalEntities:
            prologue = externalEntities();
            padding = QStringLiteral("&passwd;");
            scalar.folder = QStringLiteral("&passwd;");
            break;
        default:
            break;
        }
        const SigningKey siteKey;
        if (c.special == Special::Signed || c.special == Special::Unsigned ||
            c.special == Special::WrongSha256) {
            QVERIFY(catalogue::setSiteKeys({siteKey.publicKey().toStdString()}));
            QStringList hashes;
            for (const SiteFile* f : {&scalar, &hub})
                hashes << QString::fromLatin1(
                    QCryptographicHash::hash(f->body, QCryptographicHash::Sha256).toHex());
            if (c.special == Special::WrongSha256)
                hashes[c.target == Target::ScalarFile ? 0 : 1] = QString(64, QLatin1Char('0'));
            const QByteArray xml = catalogueBody({scalar, hub}, {}, {}, padding, hashes).toUtf8();
            const QString catalogue = Fixture::filePath(kModel, kModel + ".xml");
            fixture.server.serve(catalogue, xml);
            if (c.special != Special::Unsigned)
                fixture.server.serve(catalogue + ".minisig",
                                     siteKey.sign(xml, kModel + ".xml", 1700000000));
        }
        if (!prologue.isEmpty() || !before.isEmpty() || padding != QStringLiteral("release notes"))
            fixture.server.serve(Fixture::filePath(kModel, kModel + ".xml"),
                                 catalogueBody({scalar, hub}, prologue, before, padding).toUtf8());
        const qint64 sizeLimit = catalogue::downloadSizeLimit();
        if (c.special == Special::TooLarge)
            catalogue::setDownloadSizeLimit(scalar.body.size() / 2);

        const QString path =
            c.target == Target::CheckPage    ? Fixture::productionPath + "Check.htm"
            : c.target == Target::Catalogue  ? Fixture::filePath(kModel, kModel + ".xml")
            : c.target == Target::ScalarFile ? Fixture::filePath(kModel, scalar.file)
            : c.target == Target::HubFile    ? Fixture::filePath(kModel, hub.file)
                                             : QString();
        if (!path.isEmpty())
            fixture.server.misbehave(path, c.behaviour);
        if (c.special == Special::Refused)
            fixture.window().siteBaseUrl = QStringLiteral("http://127.0.0.1:%1%2")
                                               .arg(closedPort())
                                               .arg(Fixture::productionPath)
                                               .toUtf8();

        const QString root = IsolatedTempDir::active()->root();
        const QString downloadFolder = catalogue::defaultDownloadFolder();
#ifdef Q_OS_WIN
        // Beside the program: below, every change under %TEMP% (the root)
        // is one the row expects, none of them a download.
        QVERIFY(downloadFolder.startsWith(QCoreApplication::applicationDirPath() + '/'));
#endif
        // Each row starts without a download folder; a link is removed, not
        // followed.
        if (catalogue::isSymbolicLink(downloadFolder))
            QVERIFY(QFile::remove(downloadFolder));
        QDir(downloadFolder).removeRecursively();
        const QString elsewhere = root + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(writeFile(elsewhere + QStringLiteral("/victim"), "victim"));
        if (c.special == Special::LinkedFolder)
            QVERIFY(QFile::link(elsewhere, downloadFolder));
        if (c.special == Special::OpenFolder) {
            QVERIFY(QDir().mkpath(downloadFolder));
            QVERIFY(QFile::setPermissions(downloadFolder, QFileDevice::Permissions(0x7777)));
        }
        if (c.special == Special::LinkedCopy) {
            QVERIFY(catalogue::preparePrivateFolder(downloadFolder));
            QVERIFY(QFile::link(elsewhere + QStringLiteral("/victim"),
                                downloadFolder + '/' + kModel + QStringLiteral(".xml")));
        }
        const FolderSnapshot everythingBefore(root);
        fixture.start();
        catalogue::setDownloadSizeLimit(sizeLimit);

        // What the user was asked and told.
        QCOMPARE(fixture.boxes(QStringLiteral("question")).size(), c.offered ? 1 : 0);
        const QList<ScriptedDialogs::Shown> messages = fixture.boxes(QStringLiteral("message"));
        QCOMPARE(messages.size(), (c.openError ? 1 : 0) + (c.failureTold ? 1 : 0));
        if (c.openError)
            QVERIFY(messages.first().text.startsWith(QStringLiteral("open error!")));
        if (c.failureTold) {
            QCOMPARE(messages.last().icon, seams::DialogIcon::Information);
            QCOMPARE(messages.last().title, QStringLiteral("Firmware download failed"));
            const QString failed = !c.failedFile.isEmpty()       ? c.failedFile
                                   : c.target == Target::HubFile ? hub.file
                                                                 : scalar.file;
            QVERIFY2(messages.last().text.contains(failed), qPrintable(messages.last().text));
        }
        QCOMPARE(outcomeOf(fixture), Outcome::StatusShown);

        // Nothing written outside the program folder and the download
        // folder; in the program folder only the record and what was stored.
        const QString program = QDir(root).relativeFilePath(fixture.programFolder()) + '/';
        const QString downloads = QDir(root).relativeFilePath(downloadFolder) + '/';
        QStringList expected;
        if (c.scalarStored || c.hubStored)
            expected << program + QStringLiteral("Config.ini (changed)");
        if (c.scalarStored)
            expected << program + scalar.recordPath().replace("//", "/") + " (added)";
        if (c.hubStored)
            expected << program + hub.recordPath().replace("//", "/") + " (added)";
        QStringList changed;
        for (const QString& file : FolderSnapshot(root).differences(everythingBefore)) {
            if (!file.startsWith(downloads))
                changed << file;
        }
        expected.sort();
        changed.sort();
        QCOMPARE(changed, expected);

        // The old firmware and its record kept, the new one stored whole.
        QCOMPARE(fixture.stored(oldScalar().recordPath()), oldScalar().body);
        QCOMPARE(fixture.stored(usualHub().recordPath()), usualHub().body);
        QCOMPARE(fixture.record(kModel, "ScalarBinFile"),
                 c.scalarStored ? scalar.recordPath() : oldScalar().recordPath());
        QCOMPARE(fixture.record(kModel, "HubBinFile"),
                 c.hubStored ? hub.recordPath() : usualHub().recordPath());
        if (c.scalarStored)
            QCOMPARE(fixture.stored(scalar.recordPath()), scalar.body);
        if (c.hubStored)
            QCOMPARE(fixture.stored(hub.recordPath()), hub.body);
        QVERIFY(
            fixture.record(QStringLiteral("Others"), QStringLiteral("AllowDowngrade")).isEmpty());
    }

private:
    static const char* name(Behaviour b) {
        switch (b) {
        case Behaviour::Normal:
            return "answers";
        case Behaviour::NotFound:
            return "404";
        case Behaviour::ServerError:
            return "500";
        case Behaviour::StopHalfway:
            return "stops half way";
        case Behaviour::Hang:
            return "hangs";
        case Behaviour::Trickle:
            return "trickles";
        case Behaviour::WrongLength:
            return "short of its length";
        }
        return "?";
    }
};

PANELUP_E2E_TEST_MAIN(NetworkFaultsTest)
#include "NetworkFaultsTest.moc"
