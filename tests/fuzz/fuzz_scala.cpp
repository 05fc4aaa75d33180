// Scala scales and keyboard mappings read as the tuning menu reads them, then placed on the
// strings. Promises: a scale read holds 1..kMaxScaleNotes strictly rising pitches no higher
// than kMaxScaleCents, each from a later line than the one before; a mapping gives degree 0 a
// frequency above 0; every fault is a ScalaFileError naming a line of the text; tables that
// are built play every reachable lever position at a playable rate, one degree per lever.

#include <cmath>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tuning/scale_tables.h"

namespace {

using namespace orvena;

const ScalaScale& twelve() {
    static const ScalaScale scale = parse_scl("twelve\n1\n100.0\n");
    return scale;
}

// Tables whose samples sound C4 at lever 0 on every string, uncorrected.
const TuningTables& flat_workbook() {
    static const TuningTables tables{};
    return tables;
}

int line_count(const std::string& text) {
    int lines = 1;
    for (char c : text) lines += c == '\n';
    return lines;
}

void check_scale(const std::string& text) {
    ScalaScale scale;
    try {
        scale = parse_scl(text, "f.scl");
    } catch (const ScalaFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= line_count(text) + 1);
        return;
    }
    FUZZ_CHECK(scale.count() >= 1 && scale.count() <= kMaxScaleNotes);
    double previous = 0.0;
    int previous_line = scale.count_line;
    for (int i = 0; i < scale.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        FUZZ_CHECK(scale.cents[at] > previous && scale.cents[at] <= kMaxScaleCents);
        FUZZ_CHECK(scale.lines[at] > previous_line);
        previous = scale.cents[at];
        previous_line = scale.lines[at];
    }
    ScaleSource source;
    source.scl_file = "f.scl";
    try {
        const TuningTables t = scale_tables(scale, source, flat_workbook(), {});
        FUZZ_CHECK(!first_unplayable(t, {}));
        for (int s = 1; s <= kStringCount; ++s)
            for (int p = lever_min_of(s); p < lever_max_of(s); ++p)
                FUZZ_CHECK(t.degree_at(s, p + 1) == t.degree_at(s, p) + 1 &&
                           t.cents(s, p + 1) > t.cents(s, p));
    } catch (const ScalaFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= line_count(text));
    }
}

void check_mapping(const std::string& text) {
    try {
        const ScalaReference r = parse_kbm(text, twelve(), "f.kbm");
        FUZZ_CHECK(r.degree0_hz > 0.0 && std::isfinite(r.degree0_hz));
    } catch (const ScalaFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= line_count(text) + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    check_scale(text);
    check_mapping(text);
    return 0;
}
