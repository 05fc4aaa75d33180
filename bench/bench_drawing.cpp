// Cost of drawing the instrument: the whole picture once (start-up) and the strings alone
// (every change of the selected string).
#include <benchmark/benchmark.h>

#include "display/instrument_drawing.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace {

void BM_resim(benchmark::State& state) {
    orvena::InstrumentState st;
    orvena::set_string_geometry(st.build);
    orvena::Surface picture(904, 420);
    for (auto _ : state) {
        orvena::resim(picture, st);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(BM_resim)->Unit(benchmark::kMillisecond);

void BM_tel_ciz(benchmark::State& state) {
    orvena::InstrumentState st;
    orvena::set_string_geometry(st.build);
    orvena::Surface picture(904, 420);
    orvena::resim(picture, st);
    std::int16_t s = 1;
    for (auto _ : state) {
        st.selection.cur_string = s;
        s = static_cast<std::int16_t>(s % 26 + 1);
        orvena::tel_çiz(picture, st.selection);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(BM_tel_ciz)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
