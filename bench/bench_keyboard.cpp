// Cost of a key press through the whole keyboard handler: an arrow key (state, header patch,
// voice start, lever strip, staff, panel, lever number) and a letter key (held note queued).

#include "qt_benchmark_main.h"

#include "bench_instrument.h"
#include "playing/keyboard.h"

namespace {

using namespace orvena;
using bench::Instrument;

void BM_arrow_key_lever_step(benchmark::State& state) {
    Instrument in;
    bool up = true;
    for (auto _ : state) {
        // Walk the lever of string 12 between 0 and 1 so every press sounds and redraws.
        Form_KeyDown(*in.ctx, up ? kKeyRight : kKeyLeft);
        up = !up;
        state.PauseTiming();
        in.drain();
        in.picture1.clear_print_log();
        in.picture6.clear_print_log();
        in.picture10.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_arrow_key_lever_step)->Unit(benchmark::kMicrosecond);

void BM_arrow_key_string_walk(benchmark::State& state) {
    Instrument in;
    bool up = true;
    for (auto _ : state) {
        Form_KeyDown(*in.ctx, up ? kKeyUp : kKeyDown);
        up = !up;
        state.PauseTiming();
        in.drain();
        in.picture6.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_arrow_key_string_walk)->Unit(benchmark::kMicrosecond);

void BM_letter_key_down(benchmark::State& state) {
    Instrument in;
    for (auto _ : state) {
        Form_KeyDown(*in.ctx, 'S');
        state.PauseTiming();
        Form_KeyUp(*in.ctx, 'S');
        in.drain();
        in.picture10.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_letter_key_down)->Unit(benchmark::kMicrosecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
