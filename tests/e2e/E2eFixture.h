#pragma once

// The whole program on one test's fixture: a program folder with Config.ini
// and firmware files, a virtual-monitor world behind the real bridge, an
// update site on loopback, and the real window on the simulated platform
// with every message box, exit and fixed wait recorded.
#include "IsolatedTempDir.h"
#include "RecordingExit.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "TestHttpServer.h"
#include "VirtualWorld.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace app {
class Panelup;
}
namespace platform {
class Platform;
}

namespace e2e {

// One monitor of the virtual world: its EDID, its scalar and its hub.
using Monitor = world::Monitor;

// Firmware images of the sizes the writers accept, with their version bytes
// (hub 0x7EF9/0x7EFA, scalar 0xF900/0xF901) and a pattern chosen by seed.
QByteArray hubImage(int major, int minor, int seed = 1);
QByteArray scalarImage(int major, int minor, int seed = 2);
// A scalar image whose 16-bit byte sum is exactly sum.
QByteArray scalarImageWithSum(int major, int minor, uint16_t sum);

uint16_t byteSum(const QByteArray& bytes);
// The record's form: "0x" and an even number of lower-case digits.
QString checksumText(uint16_t sum);
QString checksumText(const QByteArray& bytes);

// One entry of a release catalogue and the file it names.
struct SiteFile {
    QString kind;    // "Scalar" or "Hub"
    QString file;    // the stored file name and last URL segment
    QString version; // dotted decimal text, may be empty
    QString folder;  // entry folder
    QByteArray body;
    QString checksum; // catalogue checksum text; that of body when empty

    QString recordPath() const { return folder + QStringLiteral("//") + file; }
};

// The usual LM0420 files: scalar M012 REV 5 and hub 1.20 (scalar version
// text 18.5, hub 1.20), in the folders Scalar and Hub.
SiteFile usualScalar();
SiteFile usualHub();

class Fixture {
public:
    // Needs the IsolatedTempDir of PANELUP_E2E_TEST_MAIN.
    Fixture();
    ~Fixture();
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    // The virtual world; false (with a warning) when it is refused.
    bool loadWorld(const QList<Monitor>& monitors);

    // Config.ini as raw text; replaces the file. Write it before
    // recordFirmware, which adds to it.
    bool writeConfig(const QString& text);
    // The model's firmware record, written as the catalogue writes it.
    void recordFirmware(const QString& model, const QString& scalarBinFile,
                        const QString& scalarBinCheckSum, const QString& hubBinFile,
                        const QString& hubBinCheckSum);
    QString record(const QString& model, const QString& key) const;
    // A file in the program folder; name relative to it.
    bool store(const QString& name, const QByteArray& body);
    bool storeAndRecord(const QString& model, const SiteFile& scalar, const SiteFile& hub);
    QByteArray stored(const QString& name) const; // empty when missing
    bool isStored(const QString& name) const;

    // The update site under base (productionPath or testPath): the check
    // page, the model's catalogue listing files, and the files themselves.
    void publish(const QString& model, const QList<SiteFile>& files,
                 const QString& base = productionPath);
    static const QString productionPath; // "/dept-pmsd/FW2/"
    static const QString testPath;       // "/dept-pmsd/FW2_Test/"
    // URL path of a published file.
    static QString filePath(const QString& model, const QString& file,
                            const QString& base = productionPath);

    // The window, made on first use with the program folder, Config.ini and
    // both site addresses pointing here.
    app::Panelup& window();
    // Shows the window: the start-up sequence runs inside.
    void start();
    // A new window on the same folder, site and world, as the next run of
    // the program would see them; the records of the first are kept.
    void restart();

    QString programFolder() const { return program_.path(); }
    QString configPath() const;
    bool exited() const { return exit.exited(); }

    // The message boxes of a given kind ("message" or "question").
    QList<ScriptedDialogs::Shown> boxes(const QString& kind) const;

    RecordingSleeper sleeper;
    ScriptedDialogs dialogs;
    RecordingExit exit;
    TestHttpServer server;

private:
    QTemporaryDir program_;
    std::unique_ptr<platform::Platform> platform_;
    std::unique_ptr<app::Panelup> window_;
};

// The expected texts, written out here rather than taken from the program.
QString supportSoftwareLink();
QString checksumBoxText(const QString& which); // "scalar" or "Hub"

} // namespace e2e

// A test main with its own temporary folder and the logical DPI fixed
// before the application exists (96 unless a test asks for another), then
// the further set-up statement the test names.
#define PANELUP_E2E_TEST_MAIN_SETUP(TestObject, dpi, setup)                                        \
    int main(int argc, char** argv) {                                                              \
        IsolatedTempDir isolatedTemp;                                                              \
        qputenv("QT_FONT_DPI", #dpi);                                                              \
        setup;                                                                                     \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
#define PANELUP_E2E_TEST_MAIN_DPI(TestObject, dpi)                                                 \
    PANELUP_E2E_TEST_MAIN_SETUP(TestObject, dpi, (void)0)
#define PANELUP_E2E_TEST_MAIN(TestObject) PANELUP_E2E_TEST_MAIN_DPI(TestObject, 96)
