#include "display/etiket.h"

#include <cmath>
#include <cstdint>

#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {

const QRgb kLabelColour = qRgb(0, 0, 255);
const QRgb kValueColour = qRgb(0, 0, 0);

// Degrees the nearest-pitch search of the top strings looks at: the upper part of the list,
// where the pitches of strings 1..7 lie.
constexpr int kTopSearchFirst = 104;
constexpr int kTopSearchLast = 196;
constexpr std::int16_t kNoDistanceYet = 4000;

// Degrees a transposed position may name; outside them the panel shows kNoPitchName.
constexpr int kTransposedFirst = -104;
constexpr int kTransposedLast = 196;
// Degrees the workbook fills; a transposed top-string degree outside them has no name.
constexpr int kFilledFirst = -107;
constexpr int kFilledLast = 196;

std::string name_of(const TuningTables& tables, int d) {
    return tables.degrees(d).degree_name;
}

// The degree nearest in whole cents to the given pitch; among equal distances the lowest
// degree number. No degree within 4000 cents: none.
int nearest_top_degree(const TuningTables& tables, double cents) {
    std::int16_t best_distance = kNoDistanceYet;
    int best = kDegreeLo - 1;
    for (int d = kTopSearchFirst; d <= kTopSearchLast; ++d) {
        const double raw = std::fabs(static_cast<double>(tables.degrees(d).degree_cents) - cents);
        // A raw distance of 4000 or more cannot round below 4000; skipping it also keeps
        // absurd table values from overflowing the 16-bit rounding.
        if (!(raw < kNoDistanceYet)) continue;
        const std::int16_t distance = to_int16(raw);
        if (distance < best_distance) {
            best_distance = distance;
            best = d;
        }
    }
    return best;
}

void print_label(Surface& pic, const char* label) {
    pic.ForeColor = kLabelColour;
    pic.Print(QString::fromUtf8(label), false);
    pic.ForeColor = kValueColour;
}

void print_unit(Surface& pic, const char* unit) {
    pic.ForeColor = kLabelColour;
    pic.Print(QString::fromUtf8(unit), true);
}

void print_text(Surface& pic, const std::string& text, bool end_line) {
    pic.Print(QString::fromStdString(text), end_line);
}

// A degree the workbook left empty holds NUL characters; the font would draw each as a
// missing-glyph box. Shown as blanks, the line keeps its 30-character width.
void print_name(Surface& pic, const std::string& name) {
    QString text = QString::fromStdString(name);
    text.replace(QChar(u'\0'), QChar(u' '));
    pic.Print(text, true);
}

}  // namespace

std::string panel_pitch_name(const InstrumentState& st) {
    const int s = st.selection.cur_string;
    const int p = st.settings.mandal_pos(s);
    // Under a scale every place, the top strings' too, names its own degree.
    const bool own_degree = s >= 8 || st.tables.scale_tuning;
    if (st.settings.manual_levers) {
        if (own_degree) return name_of(st.tables, st.tables.degree_at(s, p));
        const int d = nearest_top_degree(st.tables, st.tables.cents(s, p));
        return d >= kTopSearchFirst ? name_of(st.tables, d) : kNoPitchName;
    }
    const int d = st.tables.degree_at(s, p) - st.settings.transpose_shift;
    if (d > kTransposedLast || d < kTransposedFirst) return kNoPitchName;
    if (own_degree) return name_of(st.tables, d);
    // The top strings name the pitch of their transposed lever position, which need not be
    // the position tested above; its degree gets its own test.
    const int q = st.settings.top_transposed_pos(s - 1);
    if (!st.tables.degree_at.contains(s, q)) return kNoPitchName;
    const int top_d = st.tables.degree_at(s, q) - st.settings.transpose_shift;
    if (top_d > kFilledLast || top_d < kFilledFirst) return kNoPitchName;
    return name_of(st.tables, top_d);
}

void etiket(Surface& Picture6, const InstrumentState& st, char decimal_separator) {
    const int s = st.selection.cur_string;
    if (s == 0) return;
    const int p = st.settings.mandal_pos(s);
    const double cents = st.tables.cents(s, p);

    Picture6.Cls();

    print_label(Picture6, " eşik mandal : ");
    Picture6.PrintNumber(p, true);

    print_label(Picture6, " tel no :           ");
    Picture6.PrintNumber(s, true);

    print_label(Picture6, " Ton :              ");
    print_name(Picture6, panel_pitch_name(st));

    print_label(Picture6, " C4 ten :         ");
    print_text(Picture6, format_picture(cents, "########0.0000", decimal_separator), false);
    print_unit(Picture6, " Cent");

    print_label(Picture6, " bağıl frekans :");
    print_text(Picture6,
               format_picture(std::pow(2.0, cents / 1200.0), "0.00000000", decimal_separator),
               true);

    // What the string sounds: the lever's frequency with the string's fine tuning.
    const double sounding_hz =
        st.derived.freq(s, p) * std::pow(2.0, st.settings.akord_offset(s) / 1200.0);
    print_label(Picture6, " frekans :        ");
    print_text(Picture6, format_picture(sounding_hz, "######0.0000", decimal_separator), false);
    print_unit(Picture6, " Herz");

    print_label(Picture6, " Akord fark :    ");
    print_text(Picture6, format_picture(st.settings.akord_offset(s), "##0", decimal_separator),
               false);
    print_unit(Picture6, " Cent");

    Picture6.Refresh();
}

}  // namespace orvena
