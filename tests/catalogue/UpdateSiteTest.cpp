#include "IsolatedTempDir.h"
#include "TestHttpServer.h"

#include "catalogue/DownloadFolder.h"
#include "catalogue/UpdateSite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace catalogue;
using Behaviour = TestHttpServer::Behaviour;

Q_DECLARE_METATYPE(TestHttpServer::Behaviour)

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class UpdateSiteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void siteCheck_data();
    void siteCheck();
    void downloadFile_data();
    void downloadFile();
    void trickleWithinTimeOutSucceeds();
    void unwritableTargetFails_data();
    void unwritableTargetFails();
    void oversizedBodyFails();

private:
    TestHttpServer server_;
    QTemporaryDir folder_;
};

void UpdateSiteTest::initTestCase() {
    QVERIFY(server_.start());
    QVERIFY(folder_.isValid());
}

void UpdateSiteTest::init() {
    server_.clearCounts();
    setDownloadStallTimeoutMs(2000);
}

void UpdateSiteTest::cleanup() {
    setDownloadStallTimeoutMs(30000);
    setDownloadSizeLimit(qint64{256} << 20);
}

void UpdateSiteTest::siteCheck_data() {
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<bool>("reachable");
    QTest::newRow("200") << "/dept-pmsd/FW2/" << Behaviour::Normal << true;
    QTest::newRow("404") << "/dept-pmsd/FW2/" << Behaviour::NotFound << false;
    QTest::newRow("500") << "/dept-pmsd/FW2/" << Behaviour::ServerError << false;
    QTest::newRow("hangs") << "/dept-pmsd/FW2/" << Behaviour::Hang << false;
    QTest::newRow("test site 200") << "/dept-pmsd/FW2_Test/" << Behaviour::Normal << true;
    QTest::newRow("test site 404") << "/dept-pmsd/FW2_Test/" << Behaviour::NotFound << false;
}

void UpdateSiteTest::siteCheck() {
    QFETCH(QString, basePath);
    QFETCH(Behaviour, behaviour);
    QFETCH(bool, reachable);
    setDownloadStallTimeoutMs(300);
    const QString page = basePath + QStringLiteral("Check.htm");
    server_.serve(page, "<html>ok</html>");
    server_.misbehave(page, behaviour);

    // A copy left from an earlier run must not survive the check.
    const QString downloadFolder = defaultDownloadFolder();
#ifdef Q_OS_WIN
    // Beside the program, out of the reach of the user's other programs
    // once installed.
    QVERIFY(downloadFolder.startsWith(QCoreApplication::applicationDirPath()));
#else
    QVERIFY(downloadFolder.startsWith(QDir::tempPath()));
#endif
    QVERIFY(preparePrivateFolder(downloadFolder));
    writeFile(downloadFolder + QStringLiteral("/Check.htm"), "stale");

    UpdateSite site(server_.origin() + basePath, QStringLiteral("Check.htm"));
    QCOMPARE(site.checkUpdateSite(), reachable);
    QCOMPARE(server_.requestedPaths(), QStringList{page});
    QVERIFY(!QFile::exists(downloadFolder + QStringLiteral("/Check.htm")));
    server_.misbehave(page, Behaviour::Normal);
}

void UpdateSiteTest::downloadFile_data() {
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QByteArray>("after"); // content at path afterwards; "-" for no file

    const QByteArray body = QByteArray("firmware body ").repeated(1000);
    QTest::newRow("saved") << Behaviour::Normal << body << true << true << body;
    QTest::newRow("empty body saved")
        << Behaviour::Normal << QByteArray() << true << true << QByteArray();
    QTest::newRow("not saved removes old")
        << Behaviour::Normal << body << false << true << QByteArray("-");
    QTest::newRow("404 keeps old")
        << Behaviour::NotFound << body << true << false << QByteArray("old");
    QTest::newRow("500 keeps old")
        << Behaviour::ServerError << body << true << false << QByteArray("old");
    QTest::newRow("stops half way")
        << Behaviour::StopHalfway << body << true << false << QByteArray("old");
    QTest::newRow("short of its length")
        << Behaviour::WrongLength << body << true << false << QByteArray("old");
    QTest::newRow("hangs") << Behaviour::Hang << body << true << false << QByteArray("old");
}

void UpdateSiteTest::downloadFile() {
    QFETCH(Behaviour, behaviour);
    QFETCH(QByteArray, body);
    QFETCH(bool, save);
    QFETCH(bool, expected);
    QFETCH(QByteArray, after);
    setDownloadStallTimeoutMs(300);

    const QString urlPath = QStringLiteral("/dept-pmsd/FW2/LM0420/") + QTest::currentDataTag();
    server_.serve(urlPath, body);
    server_.misbehave(urlPath, behaviour);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("target.bin"));
    writeFile(path, "old");

    QCOMPARE(catalogue::downloadFile(server_.origin() + urlPath, path, save), expected);
    // Where the server closes the connection early, Qt's HTTP layer may send
    // the GET once more (seen once under the sanitizers' slower timing); the
    // download fails all the same, and it is never asked for a third time.
    const bool closes = behaviour == Behaviour::StopHalfway || behaviour == Behaviour::WrongLength;
    QVERIFY2(
        server_.requestCount(urlPath) >= 1 && server_.requestCount(urlPath) <= (closes ? 2 : 1),
        qPrintable(QString::number(server_.requestCount(urlPath)) + QStringLiteral(" requests")));
    if (after == "-") {
        QVERIFY(!QFile::exists(path));
    } else {
        QVERIFY(QFile::exists(path));
        QCOMPARE(readAll(path), after);
    }
    // Nothing half-written is left beside the target.
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.size() <= 1, qPrintable(left.join(',')));
}

void UpdateSiteTest::trickleWithinTimeOutSucceeds() {
    // The time-out counts time without data, not the whole transfer.
    setDownloadStallTimeoutMs(1000);
    server_.setTrickleIntervalMs(100);
    const QString urlPath = QStringLiteral("/dept-pmsd/FW2/slow.bin");
    const QByteArray body = "0123456789abcde";
    server_.serve(urlPath, body);
    server_.misbehave(urlPath, Behaviour::Trickle);

    const QString path = folder_.filePath(QStringLiteral("slow.bin"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(catalogue::downloadFile(server_.origin() + urlPath, path, true));
    QVERIFY(clock.elapsed() > 1000);
    QCOMPARE(readAll(path), body);
}

void UpdateSiteTest::unwritableTargetFails_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("folder missing") << "missing/folder/file.bin";
    QTest::newRow("target is a folder") << "a-folder";
#ifndef Q_OS_WIN
    // A link where the download belongs would have the body written to
    // whatever it points at.
    QTest::newRow("target is a symbolic link") << "link.bin";
#endif
}

void UpdateSiteTest::unwritableTargetFails() {
    QFETCH(QString, target);
    const QString urlPath = QStringLiteral("/dept-pmsd/FW2/any.bin");
    server_.serve(urlPath, "content");
    QDir().mkpath(folder_.filePath(QStringLiteral("a-folder")));
    writeFile(folder_.filePath(QStringLiteral("victim.bin")), "victim");
    QFile::link(folder_.filePath(QStringLiteral("victim.bin")),
                folder_.filePath(QStringLiteral("link.bin")));
    QVERIFY(!catalogue::downloadFile(server_.origin() + urlPath, folder_.filePath(target), true));
    QVERIFY(QFileInfo(folder_.filePath(QStringLiteral("a-folder"))).isDir());
    QCOMPARE(readAll(folder_.filePath(QStringLiteral("victim.bin"))), QByteArray("victim"));
}

void UpdateSiteTest::oversizedBodyFails() {
    setDownloadSizeLimit(1000);
    const QString urlPath = QStringLiteral("/dept-pmsd/FW2/huge.bin");
    server_.serve(urlPath, QByteArray(100000, 'x'));
    const QString path = folder_.filePath(QStringLiteral("huge.bin"));
    writeFile(path, "old");
    QVERIFY(!catalogue::downloadFile(server_.origin() + urlPath, path, true));
    QCOMPARE(readAll(path), QByteArray("old"));
}

PANELUP_ISOLATED_TEST_MAIN(UpdateSiteTest)
#include "UpdateSiteTest.moc"
