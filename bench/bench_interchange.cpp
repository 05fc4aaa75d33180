// Speed of the MIDI and MusicXML exports: a sequence file of at least three minutes (the
// shipped melody "rast.ses" over and over at the speed bar's start) exported whole, reading,
// the sample lengths and file writing included, into a temporary folder. The counter
// x_realtime is the seconds of music exported per second of work (the target is 500 or more).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "recording/render_command.h"
#include "recording/render_schedule.h"

namespace {

using namespace orvena;
namespace fs = std::filesystem;

constexpr std::int64_t kMinimumMs = 3 * 60 * 1000;

// A sequence file of three minutes or more in the temp folder, and how long it plays (0 when
// the program folder cannot make one).
std::int64_t write_long_sequence(const InstrumentState& st, const fs::path& file) {
    std::ifstream in(fs::path(ORVENA_PROGRAM_DIR) / "rast.ses", std::ios::binary);
    const std::string melody{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string text;
    std::int64_t ms = 0;
    while (ms < kMinimumMs && !melody.empty()) {
        text += melody + "\r\n";
        ms = schedule_sequence(text, st, AccidentalSource::Conditional).end_ms;
    }
    std::ofstream(file, std::ios::binary) << text;
    return ms;
}

template <typename Export>
void run_export(benchmark::State& state, Export export_once) {
    InstrumentState st;
    if (start_render_instrument(st, ORVENA_PROGRAM_DIR)) {
        state.SkipWithError("no tuning workbook in the program folder");
        return;
    }
    const fs::path source = fs::temp_directory_path() / "orvena_bench.ses";
    const fs::path out = fs::temp_directory_path() / "orvena_bench.out";
    const std::int64_t ms = write_long_sequence(st, source);
    if (ms == 0) {
        state.SkipWithError("rast.ses plays nothing");
        return;
    }
    for (auto _ : state) {
        if (export_once(st, source, out).status != ExportResult::Status::written) {
            state.SkipWithError("the export failed");
        }
    }
    fs::remove(source);
    fs::remove(out);
    const double seconds = static_cast<double>(ms) / 1000.0;
    state.counters["music_s"] = seconds;
    state.counters["x_realtime"] = benchmark::Counter(
        seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_midi_export_three_minutes(benchmark::State& state) {
    run_export(state, [&state](const InstrumentState& st, const fs::path& in, const fs::path& out) {
        const auto tuning = state.range(0) == 0 ? MidiTuning::mts : MidiTuning::bend;
        return export_midi({in, out, ORVENA_PROGRAM_DIR, AccidentalSource::Conditional, tuning,
                            OutputRules{{ORVENA_PROGRAM_DIR}, {}, true}},
                           st);
    });
}
BENCHMARK(BM_midi_export_three_minutes)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_musicxml_export_three_minutes(benchmark::State& state) {
    run_export(state, [](const InstrumentState& st, const fs::path& in, const fs::path& out) {
        return export_musicxml(
            {in, out, AccidentalSource::Conditional, OutputRules{{ORVENA_PROGRAM_DIR}, {}, true}},
            st);
    });
}
BENCHMARK(BM_musicxml_export_three_minutes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
