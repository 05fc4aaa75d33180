// Speed of the WAV export: a sequence of at least three minutes (the shipped melody
// "rast.ses" played over and over at the speed bar's start) rendered through the mixer into a
// 48 kHz 24-bit WAV file in a temporary folder, file writing included. The counter
// x_realtime is the seconds of sound made per second of work (the target is 100 or more).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "recording/render_command.h"
#include "recording/render_schedule.h"
#include "recording/wav_render.h"

namespace {

using namespace orvena;

constexpr std::int64_t kMinimumMs = 3 * 60 * 1000;

void BM_render_three_minutes(benchmark::State& state) {
    const std::filesystem::path folder = ORVENA_PROGRAM_DIR;
    InstrumentState st;
    if (start_render_instrument(st, folder)) {
        state.SkipWithError("no tuning workbook in the program folder");
        return;
    }
    std::ifstream in(folder / "rast.ses", std::ios::binary);
    const std::string melody{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string text;
    RenderSchedule schedule;
    while (schedule.end_ms < kMinimumMs) {
        text += melody + "\r\n";
        schedule = schedule_sequence(text, st, AccidentalSource::Conditional);
        if (schedule.end_ms == 0) {
            state.SkipWithError("rast.ses plays nothing");
            return;
        }
    }
    const std::filesystem::path out = std::filesystem::temp_directory_path() / "orvena_bench.wav";
    SampleBank bank(folder);
    for (auto _ : state) {
        OutputFile file(out, {});
        if (file.open()) state.SkipWithError("the file cannot be written");
        const RenderResult result = render_wav(schedule, st, bank, file);
        if (result.outcome != RenderOutcome::written) state.SkipWithError("the render failed");
    }
    std::filesystem::remove(out);
    const double sound_seconds = static_cast<double>(schedule.end_ms) / 1000.0;
    state.counters["sound_s"] = sound_seconds;
    state.counters["x_realtime"] = benchmark::Counter(
        sound_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_render_three_minutes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
