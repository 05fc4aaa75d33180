#include "tuning/lever_rules.h"

#include <algorithm>
#include <array>

namespace orvena {

namespace {
// Rows: computed position -8..12; columns: strings 1..7.
constexpr std::array<std::array<std::int8_t, 7>, 21> kLeverFitTable = {{
    {-5, -5, -5, -5, -7, -7, -7},  // -8
    {-4, -4, -4, -4, -6, -6, -6},  // -7
    {-4, -4, -4, -4, -5, -5, -5},  // -6
    {-3, -3, -3, -3, -4, -5, -4},  // -5
    {-2, -2, -3, -2, -3, -4, -3},  // -4
    {-2, -2, -2, -2, -3, -3, -3},  // -3
    {-1, -1, -1, -1, -2, -2, -2},  // -2
    {-1, -1, -1, -1, -1, -1, -1},  // -1
    {0, 0, 0, 0, 0, 0, 0},         // 0
    {1, 1, 1, 1, 1, 1, 1},         // 1
    {1, 2, 2, 1, 2, 2, 2},         // 2
    {2, 2, 2, 2, 3, 3, 3},         // 3
    {3, 3, 3, 3, 4, 4, 3},         // 4
    {3, 4, 4, 4, 4, 4, 4},         // 5
    {4, 4, 5, 4, 5, 5, 5},         // 6
    {4, 5, 5, 5, 6, 6, 6},         // 7
    {5, 6, 6, 6, 7, 7, 7},         // 8
    {5, 6, 7, 6, 8, 8, 8},         // 9
    {6, 7, 7, 7, 8, 9, 8},         // 10
    {6, 7, 8, 7, 9, 9, 9},         // 11
    {6, 8, 8, 8, 10, 10, 10},      // 12
}};
}  // namespace

std::int16_t lever_fit(int s, int position) {
    if (s < 1 || s > 7 || position < kLeverLo || position > kLeverHi) {
        return static_cast<std::int16_t>(position);
    }
    return kLeverFitTable[static_cast<std::size_t>(position - kLeverLo)]
                         [static_cast<std::size_t>(s - 1)];
}

void yenimandal(InstrumentState& st, int s) {
    if (s < 1 || s > 7) return;
    // Under a scale the top strings step one degree per position like the others: a
    // position beyond their levers goes to the last one.
    st.settings.transposed_pos[s] = st.tables.scale_tuning
                                        ? std::clamp(st.settings.transposed_pos[s],
                                                     st.build.mandal_min[s], st.build.mandal_max[s])
                                        : lever_fit(s, st.settings.transposed_pos[s]);
}

bool is_silent_position(int s, int position) {
    return s == 26 && position >= 9 && position <= 11;
}

}  // namespace orvena
