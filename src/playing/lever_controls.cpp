#include "playing/lever_controls.h"

#include "tuning/rounding.h"

namespace orvena {

void Command8_Click(PlayContext& ctx) {
    for (int s = 1; s <= kStringCount; ++s) {
        ctx.st.settings.akord_offset[s] = 0;
        recompute_string_rates(ctx.st, s, false);
    }
    ctx.views.etiket();
}

void Command9_Click(PlayContext& ctx) {
    InstrumentState& st = ctx.st;
    for (int s = 1; s <= kStringCount; ++s) {
        if (st.settings.mandal_pos[s] == 0) continue;
        st.settings.mandal_pos[s] = 0;
        ctx.views.arıza_yaz(s);
        if (s == st.selection.cur_string) {
            ctx.views.show_selected_string();
        }
    }
}

void Check1_Click(PlayContext& ctx, bool checked) {
    if (checked) {
        ctx.views.diyagonal_yaz();
    } else {
        ctx.views.diyagonal_sil();
    }
}

void Check2_Click(Selection& selection, int value) {
    selection.show_details = value != 0;
}

void VScroll1_Change(Transport& transport, int value) {
    transport.speed = to_int16(value);
}

void Option5_Click(InstrumentSettings& settings, int index) {
    if (index == 1) {
        settings.manual_levers = true;
        for (int s = 1; s <= kStringCount; ++s)
            settings.mandal_pos[s] = settings.saved_mandal_pos[s];
    } else if (index == 2) {
        settings.manual_levers = false;
        for (int s = 1; s <= kStringCount; ++s) {
            settings.saved_mandal_pos[s] = settings.mandal_pos[s];
            settings.mandal_pos[s] = settings.transposed_pos[s];
        }
    }
}

}  // namespace orvena
