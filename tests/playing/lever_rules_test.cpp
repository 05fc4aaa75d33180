#include <gtest/gtest.h>

#include "playing/lever_rules.h"

namespace orvena {
namespace {

TEST(LeverFit, EveryResultLiesWithinTheStringsLimits) {
    for (int s = 1; s <= 7; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const int fitted = lever_fit(s, p);
            EXPECT_GE(fitted, lever_min_of(s)) << "string " << s << " position " << p;
            EXPECT_LE(fitted, lever_max_of(s)) << "string " << s << " position " << p;
        }
        EXPECT_EQ(lever_fit(s, 0), 0);
    }
}

TEST(LeverFit, TableRowsThatDifferBetweenStrings) {
    // Rows where the seven strings do not agree are where a slip in the table would hide.
    EXPECT_EQ(lever_fit(1, 12), 6);
    EXPECT_EQ(lever_fit(2, 12), 8);
    EXPECT_EQ(lever_fit(5, 12), 10);
    EXPECT_EQ(lever_fit(3, -4), -3);
    EXPECT_EQ(lever_fit(4, -4), -2);
    EXPECT_EQ(lever_fit(6, -5), -5);
    EXPECT_EQ(lever_fit(7, -5), -4);
    EXPECT_EQ(lever_fit(1, 2), 1);
    EXPECT_EQ(lever_fit(4, 2), 1);
    EXPECT_EQ(lever_fit(2, 2), 2);
    EXPECT_EQ(lever_fit(6, 10), 9);
    EXPECT_EQ(lever_fit(7, 10), 8);
    EXPECT_EQ(lever_fit(3, 11), 8);
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

TEST(LeverRules, OnlyString26HasSilentPositions) {
    EXPECT_TRUE(is_silent_position(26, 9));
    EXPECT_TRUE(is_silent_position(26, 11));
    EXPECT_FALSE(is_silent_position(26, 8));
    EXPECT_FALSE(is_silent_position(26, 12));
    EXPECT_FALSE(is_silent_position(25, 10));
}

}  // namespace
}  // namespace orvena
