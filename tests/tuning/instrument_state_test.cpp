#include <gtest/gtest.h>

#include "tuning/instrument_state.h"

namespace orvena {
namespace {

// Rates worked out by hand from 44100 * 2^(cents / 1200), rounded at each of the three steps.
TEST(DerivedTables, SampleRatesRoundTheHomeRateThenTheFineTuningThenEachPosition) {
    const struct {
        int sample_cents, offset;
        bool fine_tuning;
        double home_cents, cents;  // cents at position 0 and at p
        int p;
        std::int32_t rate;
    } cases[] = {
        {0, 0, true, 0, -800, -8, 27781},    {0, 0, true, 0, 1200, 12, 88200},
        {1200, 0, true, 500, 500, 5, 88200},  // the home pitch at another position
        {7, 0, true, 0, 200, 4, 49701},       // rounded home rate 44279, then the step
        {5, 5, true, 0, 0, 0, 44356},         // 44228 first; rounding once would give 44355
        {5, 5, true, 0, 100, 3, 46994},      {3, -5, true, 0, 0, 0, 44049},
        {5, 5, false, 0, 0, 0, 44228},  // AKORD RESET skips the fine-tuning step
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sample_cents << " " << c.offset << " p " << c.p);
        InstrumentState st;
        st.sample_cents[1] = static_cast<std::int16_t>(c.sample_cents);
        st.akord_offset[1] = static_cast<std::int16_t>(c.offset);
        st.cents(1, 0) = c.home_cents;
        st.cents(1, c.p) = c.cents;
        if (c.fine_tuning) {
            derive_sample_rates(st);
        } else {
            recompute_string_rates(st, 1, false);
        }
        EXPECT_EQ(st.sample_rate(1, c.p), c.rate);
        EXPECT_EQ(st.sample_rate(1, 13), 0);  // positions beyond the levers are never derived
    }
}

}  // namespace
}  // namespace orvena
