// The tuning workbook, from bytes through FreeXL to the derived frequency and sample-rate
// tables, as start-up reads it. Promise: a workbook that is refused leaves every table of
// the instrument as it was.

#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tuning/instrument_state.h"
#include "tuning/tablo_oku.h"

namespace {

using namespace orvena;

// The bytes of every table the import may change, to compare before and after.
std::string tables_of(const InstrumentState& st) {
    std::string out;
    const auto add = [&out](const auto& value) {
        out.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    for (int s = 1; s <= kStringCount; ++s) {
        for (int p = -12; p <= 13; ++p) {
            add(st.cents(s, p));
            add(st.freq(s, p));
            add(st.degree_at(s, p));
            add(st.mandal_step(s, p));
            add(st.sample_rate(s, p));
        }
        add(st.sample_cents[s]);
    }
    for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
        const degree_record& r = st.degrees[d];
        for (auto v : {r.string_1, r.pos_1, r.string_2, r.pos_2, r.string_3, r.pos_3}) add(v);
        add(r.degree_cents);
        out += r.degree_name;
    }
    return out + st.option4_captions[0] + '\n' + st.option4_captions[1];
}

// The instrument as start-up has it just before the import.
InstrumentState fresh_state() {
    InstrumentState st;
    set_lever_limits(st);
    set_string_geometry(st);
    set_names(st);
    return st;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvena::fuzz::MemFile file;
    static const InstrumentState pristine = fresh_state();
    static const std::string pristine_tables = tables_of(pristine);
    file.assign(data, size);

    InstrumentState st = pristine;
    const auto failure = import_tuning(st, file.path());
    if (failure) {
        FUZZ_CHECK(tables_of(st) == pristine_tables);
        FUZZ_CHECK(!import_failure_message(*failure).empty());
    } else {
        for (int s = 1; s <= kStringCount; ++s) FUZZ_CHECK(st.sample_rate(s, 0) >= 0);
    }
    return 0;
}
