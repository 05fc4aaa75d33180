#include <gtest/gtest.h>

#include <cstdlib>

#include "playing/lever_rules.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

// A computed step lands on the lever whose step in the shipped workbook is nearest to it;
// of two equally near, the one with the smaller step. Checked for every top string and
// every step, so a slip anywhere in the fitting table shows.
TEST(LeverFit, EveryStepLandsOnTheLeverWithTheNearestStep) {
    InstrumentState st;
    set_lever_limits(st);
    ASSERT_FALSE(import_tuning(st, test::source_dir() / "data" / "dizek.xls").has_value());
    for (int s = 1; s <= 7; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            int best = 0;
            for (int q = st.mandal_min[s]; q <= st.mandal_max[s]; ++q) {
                const int d = std::abs(st.mandal_step(s, q) - p);
                const int best_d = std::abs(st.mandal_step(s, best) - p);
                if (d < best_d || (d == best_d && std::abs(st.mandal_step(s, q)) <
                                                      std::abs(st.mandal_step(s, best)))) {
                    best = q;
                }
            }
            EXPECT_EQ(lever_fit(s, p), best) << "string " << s << " step " << p;
        }
    }
}

TEST(LeverFit, OtherStringsAndPositionsAreLeftAlone) {
    InstrumentState st;
    st.transposed_pos[8] = 12;
    st.transposed_pos[1] = 13;  // outside -8..12: not fitted
    st.transposed_pos[2] = -8;
    yenimandal(st, 8);
    yenimandal(st, 1);
    yenimandal(st, 2);
    EXPECT_EQ(st.transposed_pos[8], 12);
    EXPECT_EQ(st.transposed_pos[1], 13);
    EXPECT_EQ(st.transposed_pos[2], -5);
}

TEST(LeverSettings, SwitchingToTheTransposedSettingAndBackRestoresTheUsersLevers) {
    InstrumentState st;
    st.manual_levers = true;
    for (int s = 1; s <= kStringCount; ++s) {
        st.mandal_pos[s] = static_cast<std::int16_t>(s % 5 - 2);
        st.transposed_pos[s] = static_cast<std::int16_t>(s % 3);
    }
    Option5_Click(st, 2);
    EXPECT_FALSE(st.manual_levers);
    for (int s = 1; s <= kStringCount; ++s) EXPECT_EQ(st.mandal_pos[s], s % 3);
    Option5_Click(st, 1);
    EXPECT_TRUE(st.manual_levers);
    for (int s = 1; s <= kStringCount; ++s) EXPECT_EQ(st.mandal_pos[s], s % 5 - 2);
}

}  // namespace
}  // namespace orvena
