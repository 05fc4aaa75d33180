// Cost of redrawing the note displays after a pluck or lever change: the information panel,
// the staff picture and one lever number (with the diagonal numbers on).

#include "qt_benchmark_main.h"

#include "display/ariza_yaz.h"
#include "display/etiket.h"
#include "display/porte.h"
#include "surface/artwork.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace {

using namespace orvena;

InstrumentState sample_state() {
    InstrumentState st;
    st.settings.manual_levers = true;
    for (int s = 1; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            st.tables.cents(s, p) = 2800.0 - 170.0 * (s - 1) + 10.0 * p;
            st.tables.mandal_step(s, p) = static_cast<std::int16_t>(p);
            st.tables.degree_at(s, p) = static_cast<std::int16_t>(180 - 7 * s + p);
        }
    }
    derive_freq(st);
    for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
        st.tables.degrees(d).degree_cents = static_cast<float>(22.64 * d);
        st.tables.degrees(d).degree_name = "Perde " + std::to_string(d);
        st.tables.degrees(d).degree_name.resize(30, ' ');
    }
    for (int s = 1; s <= kStringCount; ++s)
        st.settings.mandal_pos(s) = static_cast<std::int16_t>(s % 5 - 2);
    return st;
}

void BM_etiket(benchmark::State& state) {
    InstrumentState st = sample_state();
    Surface pic(239, 100, qRgb(255, 224, 192));
    st.selection.cur_string = static_cast<std::int16_t>(state.range(0));
    for (auto _ : state) {
        etiket(pic, st, '.');
        pic.clear_print_log();
        benchmark::ClobberMemory();
    }
}
// A top string (nearest-degree search) and a lower one (direct look-up).
BENCHMARK(BM_etiket)->Arg(3)->Arg(12)->Unit(benchmark::kMicrosecond);

void BM_porte(benchmark::State& state) {
    InstrumentState st = sample_state();
    Surface pic(140, 132);
    const QImage sheet = notation_sheet();
    st.selection.cur_string = 26;
    st.settings.mandal_pos(26) = -1;
    for (auto _ : state) {
        porte(pic, sheet, st);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_porte)->Unit(benchmark::kMicrosecond);

void BM_ariza_yaz(benchmark::State& state) {
    InstrumentState st = sample_state();
    Surface legend(90, 396);
    Surface instrument(904, 420);
    const bool check1 = state.range(0) != 0;
    for (auto _ : state) {
        arıza_yaz(legend, instrument, st, 12, check1);
        legend.clear_print_log();
        instrument.clear_print_log();
        benchmark::ClobberMemory();
    }
}
// Legend cell only, and with the 26 diagonal numbers rewritten too.
BENCHMARK(BM_ariza_yaz)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
