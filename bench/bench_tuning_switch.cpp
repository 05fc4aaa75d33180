// Cost of switching tuning systems with the shipped instrument, as Ctrl+T does it: the tables
// put in force, frequencies and sample rates derived again, the lever strip, staff and
// information panel redrawn, and the choice saved in a settings file as the window saves it in
// orvena.ini. Also a first choice of a shipped system, which reads and builds its tables. The
// target is 5 ms for a switch.

#include "qt_benchmark_main.h"

#include "bench_instrument.h"
#include "presets/tuning_choice.h"
#include "presets/tuning_settings.h"

namespace {

using namespace orvena;

// What the window does after each switch besides the redraw: save the choice.
std::function<void()> save_choice(const TuningChoice& choice) {
    const auto file = std::filesystem::temp_directory_path() / "orvena_bench_tuning.ini";
    return [&choice, file] {
        if (!write_tuning_settings(file, {choice.current_key(), choice.previous_key()}))
            std::abort();
    };
}

void BM_toggle_systems(benchmark::State& state) {
    bench::Instrument inst;
    TuningChoice choice(inst.st, inst.dialogs, *inst.views, ORVENA_PROGRAM_DIR);
    choice.changed = save_choice(choice);
    const char* systems[] = {"akort/12-TET.scl", "akort/53-EDO.scl", "akort/79-EDO.scl"};
    if (!choice.choose(systems[state.range(0)])) std::abort();
    for (auto _ : state) {
        if (!choice.toggle()) std::abort();
        benchmark::ClobberMemory();
    }
}
// Between the workbook and each of three systems: 12, 53 and 79 degrees to the octave.
BENCHMARK(BM_toggle_systems)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_choose_shipped_file(benchmark::State& state) {
    bench::Instrument inst;
    TuningChoice choice(inst.st, inst.dialogs, *inst.views, ORVENA_PROGRAM_DIR);
    choice.changed = save_choice(choice);
    bool second = false;
    for (auto _ : state) {
        // Each round reads, builds and puts in force one of two shipped files.
        if (!choice.choose(second ? "akort/24-AEU.scl" : "akort/72-EDO.scl")) std::abort();
        second = !second;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_choose_shipped_file)->Unit(benchmark::kMillisecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
