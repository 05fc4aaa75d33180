#include "playing/keyboard.h"

#include <string_view>

#include "playing/selected_string.h"
#include "tuning/lever_rules.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {
// Letters in string order: the top letter row plays strings 1..10, the middle row 11..19,
// the bottom row 20..26.
constexpr std::string_view kKeyLetters = "QWERTYUIOPASDFGHJKLZXCVBNM";

void walk_strings(PlayContext& ctx, int key_code) {
    InstrumentState& st = ctx.st;
    if (st.selection.cur_string == 0) st.selection.cur_string = 12;
    if (key_code == kKeyUp && st.selection.cur_string >= 2)
        st.selection.cur_string = checked_add16(st.selection.cur_string, -1);
    if (key_code == kKeyDown && st.selection.cur_string <= 25)
        st.selection.cur_string = checked_add16(st.selection.cur_string, 1);
    ctx.views.tel_çiz();
    st.selection.last_string = st.selection.cur_string;
    ctx.sound.play_tuned_sample(st.selection.cur_string,
                                st.settings.mandal_pos[st.selection.cur_string]);
    ctx.views.show_selected_string();
}

void step_lever(PlayContext& ctx, int key_code) {
    InstrumentState& st = ctx.st;
    if (!st.settings.manual_levers) return;
    if (!has_selected_string(ctx)) return;
    const int s = st.selection.cur_string;
    if (key_code == kKeyLeft) {
        if (st.settings.mandal_pos[s] <= st.build.mandal_min[s]) return;
        st.settings.mandal_pos[s] = checked_add16(st.settings.mandal_pos[s], -1);
    } else {
        if (st.settings.mandal_pos[s] >= st.build.mandal_max[s]) return;
        st.settings.mandal_pos[s] = checked_add16(st.settings.mandal_pos[s], 1);
    }
    if (is_silent_position(s, st.settings.mandal_pos[s])) return;
    ctx.sound.play_tuned_sample(s, st.settings.mandal_pos[s]);
    ctx.views.show_selected_string();
    ctx.views.arıza_yaz(s);
}
}  // namespace

int string_of_key(int key_code) {
    if (key_code < 'A' || key_code > 'Z') return 0;
    return static_cast<int>(kKeyLetters.find(static_cast<char>(key_code))) + 1;
}

bool keys_locked(const Transport& transport) {
    return transport.recording || transport.seq_playing;
}

bool hold_string(PlayContext& ctx, int s) {
    InstrumentState& st = ctx.st;
    if (keys_locked(st.transport)) return false;
    st.selection.cur_string = static_cast<std::int16_t>(s);
    st.selection.last_string = static_cast<std::int16_t>(s);
    // At its lever and fine tuning now, like every other way of playing; an alias that is
    // already open (the key is held) is not restarted.
    ctx.sound.play_note_alias(s, st.settings.mandal_pos[s], st.build.note_names[s]);
    ctx.views.mark_key(s, true);
    return true;
}

bool release_string(PlayContext& ctx, int s) {
    InstrumentState& st = ctx.st;
    if (keys_locked(st.transport)) return false;
    st.selection.cur_string = static_cast<std::int16_t>(s);
    ctx.sound.stop_note_alias(st.build.note_names[s]);
    ctx.views.mark_key(s, false);
    return true;
}

void Form_KeyDown(PlayContext& ctx, int key_code, bool /*auto_repeat*/) {
    if (ctx.st.selection.text1_has_focus || keys_locked(ctx.st.transport)) return;

    if (const int s = string_of_key(key_code); s != 0) {
        hold_string(ctx, s);
        return;
    }
    switch (key_code) {
        case kKeyUp:
        case kKeyDown:
            walk_strings(ctx, key_code);
            break;
        case kKeyLeft:
        case kKeyRight:
            step_lever(ctx, key_code);
            break;
        default:
            break;  // every other key, Shift and Ctrl included, does nothing
    }
}

void Form_KeyUp(PlayContext& ctx, int key_code, bool auto_repeat) {
    if (auto_repeat) return;  // the key is still held: its note goes on
    if (const int s = string_of_key(key_code); s != 0) release_string(ctx, s);
}

}  // namespace orvena
