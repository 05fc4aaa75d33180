// Makam files read as the load button reads them. Promises: every position lies within its
// string's levers; a reading holds all 26 or an error naming the next string and a line;
// positions written back as a makam file read back unchanged.

#include "fuzz/fuzz_support.h"
#include "presets/makam_format.h"

void orvena::fuzz::check(std::string_view input) {
    static const InstrumentState st = [] {
        InstrumentState built;
        set_lever_limits(built.build);
        return built;
    }();
    const MakamReading reading = read_makam_text(std::string(input), st.build);
    PerString<std::int16_t> positions;
    for (std::size_t i = 0; i < reading.positions.size(); ++i) {
        const int s = static_cast<int>(i) + 1;
        FUZZ_CHECK(s <= kStringCount && reading.positions[i] >= st.build.mandal_min[s] &&
                   reading.positions[i] <= st.build.mandal_max[s]);
        positions[s] = reading.positions[i];
    }
    if (reading.error) {
        FUZZ_CHECK(reading.error->line >= 1 &&
                   reading.error->string == static_cast<int>(reading.positions.size()) + 1);
        return;
    }
    FUZZ_CHECK(reading.positions.size() == static_cast<std::size_t>(kStringCount));
    const MakamReading again = read_makam_text(makam_text(positions), st.build);
    FUZZ_CHECK(!again.error && again.positions == reading.positions);
}
