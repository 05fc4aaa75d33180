#include "presets/transposition.h"

#include <cstdint>
#include <string>

#include "display/key_legend.h"
#include "presets/degree_places.h"
#include "presets/pitch_levels.h"
#include "presets/transposition_messages.h"
#include "tuning/lever_rules.h"

namespace orvena {

namespace {

constexpr int kUserSetting = 1;      // Option5 index of the user's own lever setting
constexpr int kComputedSetting = 2;  // Option5 index of the transposed setting
constexpr int kTopStrings = 7;
constexpr int kOctave = 7;  // strings n and n + 7 are an octave apart

// The strings the main pass cannot reach take the position of the string an octave away:
// the highest k of 8.. when the level moves down by k strings, the lowest of ..26 when up.
void fill_edge_octave(PresetContext& ctx, int k) {
    InstrumentState& st = ctx.st;
    if (k > 0) {
        for (int a = kTopStrings + 1; a <= kTopStrings + k; ++a) {
            st.settings.transposed_pos[a] = st.settings.transposed_pos[a + kOctave];
            göçürümYaz(ctx, a);
        }
    } else if (k < 0) {
        for (int a = kStringCount + k + 1; a <= kStringCount; ++a) {
            st.settings.transposed_pos[a] = st.settings.transposed_pos[a - kOctave];
            göçürümYaz(ctx, a);
        }
    }
}

}  // namespace

void Option1_Click(PresetContext& ctx, int index) {
    ctx.st.settings.ahenk_shift = pitch_level(index).string_shift;
    ctx.st.settings.ahenk_index = static_cast<std::int16_t>(index);
    if (ctx.ahenk.HScroll1_Value() != 0) {
        ctx.ahenk.HScroll1_setValue(0);  // its change handler transposes
    } else {
        trans_çalgı(ctx, ctx.st.settings.ahenk_index, 0);
    }
}

void HScroll1_Change(PresetContext& ctx) {
    const int fine = ctx.ahenk.HScroll1_Value();
    ctx.ahenk.Text3_setText(std::to_string(fine));
    trans_çalgı(ctx, ctx.st.settings.ahenk_index, fine);
}

void trans_çalgı(PresetContext& ctx, int level, int fine) {
    InstrumentState& st = ctx.st;
    // Always computed from the user's own setting, so transpositions never accumulate.
    if (ctx.ahenk.Option5_selected() == kComputedSetting) ctx.ahenk.Option5_select(kUserSetting);
    göçürümTemizle(ctx);

    const PitchLevel& lv = pitch_level(level);
    const int k = lv.string_shift;
    const int level_step = level_degree_step(st.tables, lv);
    const int total = level_step + fine;
    st.settings.transpose_shift = static_cast<std::int16_t>(total);
    const int step = k <= -1 ? 1 : -1;

    for (int s = lv.first_source; s != lv.last_source + step; s += step) {
        const int position = st.settings.mandal_pos[s];
        const std::optional<int> d = degree_of_place(st, s, position);
        if (!d) {
            ctx.dialogs.message(source_degree_unknown_message(s, position));
            continue;
        }
        const int t = *d + total;
        const int u = s + k;
        if (t < kFirstFilledDegree || t > kLastFilledDegree) {
            ctx.dialogs.message(degree_overflow_message({s, *d, level_step, fine, total, u, t}));
            continue;
        }
        const std::optional<int> target = position_on_string(st, t, u);
        if (!target) {
            ctx.dialogs.message(transposition_cancelled_message(
                s, position, u, st.tables.degrees[t].string_1, st.tables.degrees[t].string_2));
            // With a fine shift this transposes again without it, inside this call.
            ctx.ahenk.HScroll1_setValue(0);
            return;
        }
        st.settings.transposed_pos[u] = static_cast<std::int16_t>(*target);
        göçürümYaz(ctx, u);
    }

    fill_edge_octave(ctx, k);
    for (int i = 1; i <= kTopStrings; ++i) {
        st.settings.transposed_pos[i] = st.settings.transposed_pos[i + kOctave];
        göçürümYaz(ctx, i);
    }

    if (ctx.ahenk.HScroll1_Value() != 0 || k != 0) {
        ctx.ahenk.Option5_select(kComputedSetting);
    } else {
        ctx.ahenk.Option5_select(kUserSetting);
        göçürümTemizle(ctx);
    }
}

void göçürümYaz(PresetContext& ctx, int s) {
    InstrumentState& st = ctx.st;
    if (s <= kTopStrings) {
        // Written for every top string, 0 included: the panel names a top string's pitch from
        // this value, and a value left from an earlier transposition would name a wrong one.
        st.settings.top_transposed_pos[s - 1] = st.settings.transposed_pos[s];
        if (st.settings.transposed_pos[s] == 0) return;
        yenimandal(st, s);
    }
    const int position = st.settings.transposed_pos[s];
    if (position != 0) print_transposed_position(ctx.Picture10, s, position);
}

void göçürümTemizle(PresetContext& ctx) {
    for (int s = 1; s <= kStringCount; ++s) {
        clear_transposed_position(ctx.Picture10, s);
        ctx.st.settings.transposed_pos[s] = 0;
    }
}

}  // namespace orvena
