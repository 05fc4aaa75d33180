// The tuning workbook, from bytes through FreeXL to the derived frequency and sample-rate
// tables, as start-up reads it. Promise: a workbook that is refused leaves every table of
// the instrument as it was.

#include "fuzz/fuzz_support.h"
#include "tuning/instrument_state.h"
#include "tuning/tablo_oku.h"

void orvena::fuzz::check(std::string_view input) {
    // The bytes of every table the import may change.
    const auto tables_of = [](const InstrumentState& st) {
        std::string out;
        const auto add = [&out](const auto&... values) {
            (out.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
        };
        add(st.tables.cents, st.derived.freq, st.tables.degree_at, st.tables.mandal_step,
            st.derived.sample_rate, st.tables.sample_cents);
        for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
            const degree_record& r = st.tables.degrees[d];
            add(r.string_1, r.pos_1, r.string_2, r.pos_2, r.string_3, r.pos_3, r.degree_cents);
            out += r.degree_name;
        }
        return out + st.build.option4_captions[0] + '\n' + st.build.option4_captions[1];
    };
    static const InstrumentState pristine = [] {  // as every loader has it before the import
        InstrumentState st;
        set_lever_limits(st.build);
        return st;
    }();
    static const std::string pristine_tables = tables_of(pristine);
    InstrumentState st = pristine;
    if (const auto failure = import_tuning(st, memory_file(input))) {
        FUZZ_CHECK(tables_of(st) == pristine_tables);
        FUZZ_CHECK(!import_failure_message(*failure).empty());
    } else {
        for (int s = 1; s <= kStringCount; ++s) FUZZ_CHECK(st.derived.sample_rate(s, 0) >= 0);
    }
}
