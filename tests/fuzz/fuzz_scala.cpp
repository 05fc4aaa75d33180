// Scala scales and keyboard mappings read as the tuning menu reads them, then placed on the
// strings. Promises: a scale holds 1..kMaxScaleNotes strictly rising pitches up to
// kMaxScaleCents, each from a later line; a mapping gives degree 0 a frequency above 0; every
// fault is a ScalaFileError naming a line of the text; tables built from a scale play every
// lever position at a playable rate, one degree per lever.

#include <algorithm>
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "tuning/install_tables.h"
#include "tuning/scale_tables.h"

void orvena::fuzz::check(std::string_view input) {
    const std::string text(input);
    const int lines = 1 + static_cast<int>(std::count(input.begin(), input.end(), '\n'));
    // On tables whose samples sound C4 at lever 0, uncorrected.
    const auto check_tables = [lines](const ScalaScale& scale) {
        try {
            const TuningTables t = scale_tables(scale, {.scl_file = "f.scl"}, TuningTables{}, {});
            FUZZ_CHECK(!first_unplayable(t, {}));
            for (int s = 1; s <= kStringCount; ++s)
                for (int p = lever_min_of(s); p < lever_max_of(s); ++p)
                    FUZZ_CHECK(t.degree_at(s, p + 1) == t.degree_at(s, p) + 1 &&
                               t.cents(s, p + 1) > t.cents(s, p));
        } catch (const ScalaFileError& e) {
            FUZZ_CHECK(e.line() >= 1 && e.line() <= lines);
        }
    };
    try {
        const ScalaScale scale = parse_scl(text, "f.scl");
        FUZZ_CHECK(scale.count() >= 1 && scale.count() <= kMaxScaleNotes);
        for (std::size_t i = 0; i < scale.cents.size(); ++i) {
            FUZZ_CHECK(scale.cents[i] > (i == 0 ? 0.0 : scale.cents[i - 1]));
            FUZZ_CHECK(scale.cents[i] <= kMaxScaleCents);
            FUZZ_CHECK(scale.lines[i] > (i == 0 ? scale.count_line : scale.lines[i - 1]));
        }
        check_tables(scale);
    } catch (const ScalaFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= lines + 1);
    }
    static const ScalaScale twelve = parse_scl("twelve\n1\n100.0\n");
    try {
        const ScalaReference r = parse_kbm(text, twelve, "f.kbm");
        FUZZ_CHECK(r.degree0_hz > 0.0 && std::isfinite(r.degree0_hz));
    } catch (const ScalaFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= lines + 1);
    }
}
