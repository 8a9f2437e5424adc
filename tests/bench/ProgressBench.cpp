// What the progress callback costs when the writer reports often: one scalar
// write through Hubbridge into the virtual monitor with 65,536 progress
// steps (65,537 reports) and no write time of its own, once with a callback
// that does nothing and once with the program's, which moves a visible
// progress bar and processes pending events at every report.
//
//   <build>/bin/bench_progress --benchmark_counters_tabular=true

#include "DemoWorld.h"
#include "Hubbridge.h"
#include "IsolatedTempDir.h"
#include "app/StatusWidgets.h"
#include "update/UpdateFlow.h"

#include <QApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int progressSteps = 65536;
constexpr double reportsPerWrite = progressSteps + 1.0;

// A scalar image the LM0420 writer takes: M012 REV 5 at 0xF900/0xF901.
std::vector<uint8_t> scalarImage() {
    std::vector<uint8_t> image(0x20000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 131) & 0xFF);
    image[0xF900] = 0x12;
    image[0xF901] = 0x05;
    return image;
}

int32_t HUBBRIDGE_CALL ignoreProgress(void*) {
    return 0;
}

// The LM0420 parameters of UpdateScalar.
int32_t writeScalar(const std::vector<uint8_t>& image, HubProgressCallback progress) {
    return UpdateScalar(image.data(), static_cast<int32_t>(image.size()), 0xFE19, 0x1029, 1, 16, 16,
                        progress, nullptr);
}

void run(benchmark::State& state, HubProgressCallback progress) {
    QString error;
    if (!loadDemoWorld(0, progressSteps, error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    const std::vector<uint8_t> image = scalarImage();
    for (auto _ : state) {
        if (writeScalar(image, progress) != 0) {
            state.SkipWithError("the scalar write failed");
            return;
        }
    }
    state.counters["reports"] = reportsPerWrite;
    state.counters["per_report"] =
        benchmark::Counter(reportsPerWrite, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

void BM_ScalarWrite_NoCallbackWork(benchmark::State& state) {
    run(state, ignoreProgress);
}

void BM_ScalarWrite_ProgressBar(benchmark::State& state) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new QProgressBar(&window);
    layout->addWidget(bar);
    window.resize(620, 60);
    window.show();
    QApplication::processEvents();
    app::StatusWidgets::Widgets widgets;
    widgets.progress = bar;
    app::StatusWidgets view(widgets);
    update::setProgressView(&view);
    run(state, update::reportUpdateProgress);
    update::setProgressView(nullptr);
    if (bar->value() != 100)
        state.SkipWithError("the progress bar did not reach 100");
}

BENCHMARK(BM_ScalarWrite_NoCallbackWork)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScalarWrite_ProgressBar)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    IsolatedTempDir temp;
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
