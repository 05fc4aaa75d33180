#include "playing/mouse.h"

#include <cmath>
#include <cstdlib>

#include "playing/selected_string.h"
#include "tuning/lever_rules.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {
// The strings lie between y 21 and 409 of the drawing and end on the right at x 730.
constexpr double kStringsTop = 21;
constexpr double kStringsBottom = 409;
constexpr double kStringsRight = 730;

// The tuning peg picture: left half raises, upper half is the big step.
constexpr double kPegMiddleX = 27;
constexpr double kPegMiddleY = 45;

bool on_the_strings(double y) {
    return y >= kStringsTop && y <= kStringsBottom;
}

// Lever position i (k = i - lowest position) owns the pixels strictly between 151 + 16k and
// 167 + 16k, the columns of its mark.
bool in_lever_zone(double x, int k) {
    return x > 151 + 16 * k && x < 167 + 16 * k;
}
}  // namespace

int row(double y) {
    return static_cast<int>(round_half_even(y - 22)) / 15 + 1;
}

void Picture2_MouseDown(PlayContext& ctx, PluckRecorder& recorder, int button, double x, double y) {
    InstrumentState& st = ctx.st;
    if (st.transport.seq_playing || button != kLeftButton || !on_the_strings(y)) return;
    const int d = row(y);
    if (!(st.build.string_x[d] < x && x < kStringsRight)) return;

    st.selection.cur_string = static_cast<std::int16_t>(d);
    // The string sounds first and is drawn after, so a click is heard as soon as a key.
    ctx.sound.stop_note_alias(st.build.note_names[d]);  // a held key of this string stops
    if (st.transport.recording) recorder.before_pluck();
    ctx.sound.play_tuned_sample(d, st.settings.mandal_pos[d]);
    if (st.transport.recording) recorder.after_pluck();
    ctx.views.tel_çiz();
    ctx.views.mark_key(d, false);
    st.selection.last_string = static_cast<std::int16_t>(d);
    ctx.views.show_selected_string();
}

void Picture2_MouseMove(PlayContext& ctx, int buttons, double y) {
    InstrumentState& st = ctx.st;
    if (st.transport.recording || st.transport.seq_playing || buttons != kRightButton ||
        !on_the_strings(y))
        return;
    const int d = row(y);
    st.selection.cur_string = static_cast<std::int16_t>(d);
    if (d == st.selection.last_string) return;  // still in the band it last plucked
    ctx.sound.play_tuned_sample(d, st.settings.mandal_pos[d]);
    st.selection.last_string = static_cast<std::int16_t>(d);
    if (!st.selection.show_details) return;
    ctx.views.tel_çiz();
    ctx.views.show_selected_string();
}

void Picture1_MouseDown(PlayContext& ctx, double x) {
    InstrumentState& st = ctx.st;
    if (st.transport.recording || st.transport.seq_playing || !st.settings.manual_levers) return;
    if (!has_selected_string(ctx)) return;
    const int s = st.selection.cur_string;
    bool hit = false;
    for (int i = st.build.mandal_min[s]; i <= st.build.mandal_max[s]; ++i) {
        if (in_lever_zone(x, i - st.build.mandal_min[s])) {
            st.settings.mandal_pos[s] = static_cast<std::int16_t>(i);
            hit = true;
            break;
        }
    }
    if (!hit || is_silent_position(s, st.settings.mandal_pos[s])) return;
    ctx.sound.stop_note_alias(st.build.note_names[s]);
    ctx.sound.play_tuned_sample(s, st.settings.mandal_pos[s]);
    ctx.views.show_selected_string();
    ctx.views.arıza_yaz(s);
}

void Picture5_MouseDown(PlayContext& ctx, double x, double y) {
    InstrumentState& st = ctx.st;
    if (st.transport.recording || st.transport.seq_playing) return;
    if (!has_selected_string(ctx)) return;
    const int s = st.selection.cur_string;
    const int step = y < kPegMiddleY ? 5 : 1;
    const int offset = st.settings.akord_offset[s] + (x < kPegMiddleX ? step : -step);
    // Beyond an octave the peg turns no further: the rates stay far from overflowing.
    if (std::abs(offset) > kMaxAkordOffset) return;
    st.settings.akord_offset[s] = static_cast<std::int16_t>(offset);
    recompute_string_rates(st, s, true);
    ctx.sound.stop_note_alias(st.build.note_names[s]);
    ctx.sound.play_tuned_sample(s, st.settings.mandal_pos[s]);
    ctx.views.etiket();
}

}  // namespace orvena
