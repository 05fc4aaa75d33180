#include <gtest/gtest.h>

#include "playing/lever_controls.h"
#include "playing/recording_views.h"

namespace orvena {
namespace {

struct Controls : test::RecordedPlay {
    Controls() {
        set_lever_limits(st);
        for (int s = 1; s <= kStringCount; ++s) {
            st.sample_cents[s] = static_cast<std::int16_t>(s);
            for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(s, p) = 100.0 * s + 15.0 * p;
        }
        derive_sample_rates(st);
    }
};

using test::Calls;

TEST(MandalReset, OnlyLeversThatMovedAreRedrawn) {
    Controls c;
    c.st.cur_string = 12;
    c.st.mandal_pos[5] = 3;
    Command9_Click(c.ctx);
    EXPECT_EQ(c.st.mandal_pos[5], 0);
    EXPECT_EQ(c.views.calls, (Calls{"arıza_yaz 5"}));

    c.views.calls.clear();
    c.st.mandal_pos[12] = -4;
    c.st.mandal_pos[20] = 7;
    Command9_Click(c.ctx);
    EXPECT_EQ(c.views.calls,
              (Calls{"arıza_yaz 12", "mandal_at", "porte", "etiket", "arıza_yaz 20"}));
    EXPECT_TRUE(c.sound.calls.empty());
}

TEST(AkordReset, ClearsEveryFineTuningAndRecomputesTheRates) {
    Controls c;
    const auto untuned = c.st.sample_rate;
    c.st.cur_string = 0;
    c.st.akord_offset[3] = 25;
    c.st.akord_offset[17] = -7;
    recompute_string_rates(c.st, 3, true);
    recompute_string_rates(c.st, 17, true);
    ASSERT_NE(c.st.sample_rate(3, 4), untuned(3, 4));
    Command8_Click(c.ctx);
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(c.st.akord_offset[s], 0);
        for (int p = kLeverLo; p <= kLeverHi; ++p) EXPECT_EQ(c.st.sample_rate(s, p), untuned(s, p));
    }
    EXPECT_EQ(c.views.calls, (Calls{"etiket"}));
    EXPECT_TRUE(c.sound.calls.empty());
}

}  // namespace
}  // namespace orvena
