// Start-up from the application object to the main window on screen, with the program folder
// the build assembles (workbook and samples): the instance test, the splash, the load of the
// main window (layout, instrument drawing, key legend, tuning import, sample list) and the
// window shown and painted. Target: 150 ms. Runs on the offscreen platform unless a display
// is chosen; messages are counted, not shown, so a missing sample file cannot stall the run.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>

#include "shell/program.h"

namespace {

class CountingDialogs : public orvena::Dialogs {
  public:
    using Dialogs::message;
    orvena::MessageAnswer message(const std::string&, orvena::MessageButtons buttons) override {
        ++shown;
        return buttons == orvena::MessageButtons::Ok ? orvena::MessageAnswer::Ok
                                                     : orvena::MessageAnswer::No;
    }
    int shown = 0;
};

void BM_StartupToMainWindowShown(benchmark::State& state) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    const std::filesystem::path saved_cwd = std::filesystem::current_path();
    int messages = 0;
    for (auto _ : state) {
        int argc = 1;
        char name[] = "orvena";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        CountingDialogs dialogs;
        orvena::Program program(dialogs);
        orvena::ProgramOptions options;
        options.program_folder = ORVENA_PROGRAM_DIR;
        const orvena::StartupOutcome outcome = program.start(options);
        if (!outcome.goes_on) {
            state.SkipWithError("start-up ended; is the program folder built?");
            break;
        }
        // Shown means painted: let the first paint of the window happen.
        QCoreApplication::processEvents();
        program.window()->repaint();
        benchmark::DoNotOptimize(program.window()->isVisible());
        messages = dialogs.shown;
        state.PauseTiming();
        program.window()->close_for(orvena::UnloadReason::AppWindows);
        state.ResumeTiming();
    }
    std::filesystem::current_path(saved_cwd);
    state.counters["messages"] = messages;
}
BENCHMARK(BM_StartupToMainWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
