// The typical road with the real fixed waits, against the demo's virtual
// monitor and the demo site on loopback: window, start-up sequence with the
// first download, status, Update with the EDID check, the hub and scalar
// writes and the OSD reset; and the same road unattended (/s). The time is set against the sum of
// the waits the program asked for, so what the program itself adds is visible. The writers take no
// time of their own here (firmwareWriteMs 0).
//
//   <build>/bin/bench_road --benchmark_counters_tabular=true

#include "DemoSite.h"
#include "DemoWorld.h"
#include "IsolatedTempDir.h"
#include "RecordingExit.h"
#include "RecordingSleeper.h"
#include "ScriptedDialogs.h"
#include "TestHttpServer.h"
#include "VirtualMonitorControl.h"
#include "app/CommandLine.h"
#include "app/Panelup.h"
#include "app/SilentRun.h"
#include "app/TraceLog.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// Records every wait and spends it too.
class SleepingRecorder : public RecordingSleeper {
public:
    void sleepMs(unsigned long ms) override {
        RecordingSleeper::sleepMs(ms);
        QThread::msleep(ms);
    }
};

const QStringList roadBoxes = {QStringLiteral("Confirm to download new version "),
                               QStringLiteral("Confirm to update firmware"),
                               QStringLiteral("Update Firmware"),
                               QStringLiteral("OSD Settings Reset")};

QString siteFolder;

// What the road left in the virtual monitor, or why it is not what it
// should be.
QString roadProblem(const ScriptedDialogs& dialogs) {
    if (dialogs.titles() != roadBoxes)
        return QStringLiteral("message boxes: ") + dialogs.titles().join(QStringLiteral(" | "));
    int32_t major = 0;
    int32_t minor = 0;
    VM_GetScalarFirmware(0, &major, &minor);
    if (major != 0x12 || minor != 5 || VM_GetHubFirmware(0) != 0x0122)
        return QStringLiteral("the monitor holds scalar %1.%2, hub %3")
            .arg(major, 0, 16)
            .arg(minor)
            .arg(VM_GetHubFirmware(0), 0, 16);
    if (VM_FactoryResetCount(0) != 1)
        return QStringLiteral("no factory reset");
    return {};
}

void BM_TypicalRoad(benchmark::State& state) {
    TestHttpServer site;
    if (!site.start()) {
        state.SkipWithError("no loopback port for the update site");
        return;
    }
    site.serveFolder(QStringLiteral("/dept-pmsd/"), siteFolder + QStringLiteral("/dept-pmsd"));

    double waitedMs = 0;
    double totalMs = 0;
    double waitCount = 0;
    for (auto _ : state) {
        QString error;
        if (!loadDemoWorld(0, 100, error)) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        QTemporaryDir program;
        ScriptedDialogs dialogs;
        RecordingExit exit;
        SleepingRecorder sleeper;

        QElapsedTimer clock;
        clock.start();
        {
            app::Panelup window;
            app::mainWindow = &window;
            window.programFolder = program.path();
            window.configPath = program.filePath(QStringLiteral("Config.ini"));
            window.siteBaseUrl = (site.origin() + QStringLiteral("/dept-pmsd/FW2/")).toUtf8();
            window.testSiteBaseUrl =
                (site.origin() + QStringLiteral("/dept-pmsd/FW2_Test/")).toUtf8();
            window.show();
            if (!exit.exited())
                window.updateFW();
            app::mainWindow = nullptr;
        }
        const double elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        state.SetIterationTime(elapsedMs / 1e3);

        const QString problem =
            exit.exited() ? QStringLiteral("the program ended at start-up") : roadProblem(dialogs);
        if (!problem.isEmpty()) {
            state.SkipWithError(problem.toUtf8().constData());
            return;
        }
        totalMs += elapsedMs;
        waitedMs += static_cast<double>(sleeper.total());
        waitCount += static_cast<double>(sleeper.waits.size());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["waits"] = waitCount / runs;
    state.counters["waited_ms"] = waitedMs / runs;
    state.counters["own_ms"] = (totalMs - waitedMs) / runs;
    state.counters["own_pct"] = 100.0 * (totalMs - waitedMs) / waitedMs;
}

// Each run takes the waits' 15 s or so: one by default, more with
// --benchmark_repetitions.
BENCHMARK(BM_TypicalRoad)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The same road unattended (/s): the window never shown, its boxes answered
// by the silent policy, the OSD settings left alone.
void BM_SilentRoad(benchmark::State& state) {
    TestHttpServer site;
    if (!site.start()) {
        state.SkipWithError("no loopback port for the update site");
        return;
    }
    site.serveFolder(QStringLiteral("/dept-pmsd/"), siteFolder + QStringLiteral("/dept-pmsd"));

    double waitedMs = 0;
    double totalMs = 0;
    double waitCount = 0;
    for (auto _ : state) {
        QString error;
        if (!loadDemoWorld(0, 100, error)) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        QTemporaryDir program;
        SleepingRecorder sleeper;
        app::CommandLine commandLine = app::parseCommandLine({QStringLiteral("/s")});

        QElapsedTimer clock;
        clock.start();
        int code = -1;
        {
            app::SilentRun silent(commandLine);
            app::Panelup window;
            app::mainWindow = &window;
            window.programFolder = program.path();
            window.configPath = program.filePath(QStringLiteral("Config.ini"));
            window.siteBaseUrl = (site.origin() + QStringLiteral("/dept-pmsd/FW2/")).toUtf8();
            window.testSiteBaseUrl =
                (site.origin() + QStringLiteral("/dept-pmsd/FW2_Test/")).toUtf8();
            code = silent.run(window);
            app::mainWindow = nullptr;
        }
        const double elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        state.SetIterationTime(elapsedMs / 1e3);

        int32_t major = 0;
        int32_t minor = 0;
        VM_GetScalarFirmware(0, &major, &minor);
        if (code != 0 || minor != 5 || VM_GetHubFirmware(0) != 0x0122 ||
            VM_FactoryResetCount(0) != 0) {
            state.SkipWithError(QStringLiteral("exit code %1, scalar REV %2, hub %3, OSD resets %4")
                                    .arg(code)
                                    .arg(minor)
                                    .arg(VM_GetHubFirmware(0), 0, 16)
                                    .arg(VM_FactoryResetCount(0))
                                    .toUtf8()
                                    .constData());
            return;
        }
        totalMs += elapsedMs;
        waitedMs += static_cast<double>(sleeper.total());
        waitCount += static_cast<double>(sleeper.waits.size());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["waits"] = waitCount / runs;
    state.counters["waited_ms"] = waitedMs / runs;
    state.counters["own_ms"] = (totalMs - waitedMs) / runs;
    state.counters["own_pct"] = 100.0 * (totalMs - waitedMs) / waitedMs;
}

BENCHMARK(BM_SilentRoad)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    IsolatedTempDir temp;
    QApplication app(argc, argv);
    // The trace log as the program writes it, in the isolated folder.
    app::initTrace();
    const std::unique_ptr<platform::Platform> simulated = platform::makeSimulatedPlatform();
    platform::setCurrent(simulated.get());

    siteFolder = temp.root() + QStringLiteral("/site");
    QString error;
    if (!makeDemoSite(siteFolder, error)) {
        std::fprintf(stderr, "bench_road: %s\n", qPrintable(error));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::setCurrent(nullptr);
    app::closeLogFile();
    return 0;
}
