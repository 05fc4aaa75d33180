// Transposition with the shipped workbook, as the user hears and sees it.

#include <gtest/gtest.h>

#include "display/etiket.h"
#include "preset_fixture.h"

namespace orvena {
namespace {

using test::shipped;

using test::red_in_row;

TEST(ShippedTransposition, SahFromOpenStringsFlattensTheBStringsOnly) {
    test::PresetBench b;
    b.st = shipped();
    b.Option1_select(1);

    EXPECT_TRUE(b.dialogs.texts().empty());
    EXPECT_EQ(b.st.ahenk_shift, 4);
    EXPECT_FALSE(b.st.manual_levers);
    for (int s = 1; s <= kStringCount; ++s) {
        const int expected = (s == 11 || s == 18 || s == 25) ? -6 : s == 4 ? lever_fit(4, -6) : 0;
        EXPECT_EQ(b.st.mandal_pos[s], expected) << "string " << s;
        EXPECT_EQ(red_in_row(b.Picture10, s), expected != 0) << "string " << s;
    }
    // The panel names the pitch as it was before the move: string 12 plays what string 8 did.
    b.st.cur_string = 12;
    EXPECT_EQ(panel_pitch_name(b.st), b.st.degrees[b.st.degree_at(8, 0)].degree_name);
}

// Whatever level came before, a level gives the same setting, list and panel as on its own.
TEST(ShippedTransposition, LevelsDoNotAccumulate) {
    for (int first = 1; first <= kPitchLevelCount; ++first) {
        for (int second = 1; second <= kPitchLevelCount; ++second) {
            if (first == second) continue;
            SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second));
            test::PresetBench both, alone;
            both.st = shipped();
            alone.st = shipped();
            both.Option1_select(first);
            both.dialogs.clear();
            both.Option1_select(second);
            if (second == kSupurde) alone.Option1_select(1);
            alone.dialogs.clear();
            alone.Option1_select(second);

            EXPECT_EQ(both.dialogs.texts(), alone.dialogs.texts());
            EXPECT_EQ(both.st.manual_levers, alone.st.manual_levers);
            EXPECT_EQ(both.st.transpose_shift, alone.st.transpose_shift);
            EXPECT_TRUE(both.Picture10.image() == alone.Picture10.image());
            for (int s = 1; s <= kStringCount; ++s) {
                EXPECT_EQ(both.st.mandal_pos[s], alone.st.mandal_pos[s]) << s;
                EXPECT_EQ(both.st.transposed_pos[s], alone.st.transposed_pos[s]) << s;
                both.st.cur_string = alone.st.cur_string = static_cast<std::int16_t>(s);
                EXPECT_EQ(panel_pitch_name(both.st), panel_pitch_name(alone.st)) << s;
            }
        }
    }
}

}  // namespace
}  // namespace orvena
