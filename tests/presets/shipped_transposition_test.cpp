// Transposition with the shipped workbook, as the user hears and sees it.

#include <gtest/gtest.h>

#include "display/etiket.h"
#include "preset_fixture.h"

namespace orvena {
namespace {

using test::shipped;

TEST(ShippedTransposition, SahFromOpenStringsFlattensTheBStringsOnly) {
    test::PresetBench b;
    b.st = shipped();
    b.Option1_select(1);
    EXPECT_TRUE(b.dialogs.texts().empty());
    EXPECT_EQ(std::tuple(b.st.ahenk_shift, b.st.manual_levers), std::tuple(4, false));
    for (int s = 1; s <= kStringCount; ++s) {
        // B strings 11, 18, 25 at -6; string 4 (B5) at its nearest lever, -4.
        const int expected = (s == 11 || s == 18 || s == 25) ? -6 : s == 4 ? -4 : 0;
        EXPECT_EQ(b.st.mandal_pos[s], expected) << "string " << s;
        EXPECT_EQ(test::red_in_row(b.Picture10, s), expected != 0) << "string " << s;
    }
}

// Whatever level came before, a level gives the same setting, list and panel as on its own.
TEST(ShippedTransposition, LevelsDoNotAccumulate) {
    for (int first = 1; first <= kPitchLevelCount; ++first) {
        for (int second = 1; second <= kPitchLevelCount; ++second) {
            if (first == second) continue;
            SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second));
            test::PresetBench both, alone;
            both.st = alone.st = shipped();
            both.Option1_select(first);
            if (second == kSupurde) alone.Option1_select(1);
            both.dialogs.clear();
            alone.dialogs.clear();
            both.Option1_select(second);
            alone.Option1_select(second);
            EXPECT_EQ(
                std::tuple(both.dialogs.texts(), both.st.manual_levers, both.st.transpose_shift),
                std::tuple(alone.dialogs.texts(), alone.st.manual_levers,
                           alone.st.transpose_shift));
            EXPECT_TRUE(both.Picture10.image() == alone.Picture10.image());
            for (int s = 1; s <= kStringCount; ++s) {
                both.st.cur_string = alone.st.cur_string = static_cast<std::int16_t>(s);
                EXPECT_EQ(std::tuple(both.st.mandal_pos[s], both.st.transposed_pos[s],
                                     panel_pitch_name(both.st)),
                          std::tuple(alone.st.mandal_pos[s], alone.st.transposed_pos[s],
                                     panel_pitch_name(alone.st)))
                    << s;
            }
        }
    }
}

}  // namespace
}  // namespace orvena
