#include <gtest/gtest.h>

#include <cmath>

#include "tuning/instrument_state.h"

namespace orvena {
namespace {

TEST(InstrumentState, NamesSplitFromTheirLiterals) {
    InstrumentState st;
    set_names(st);
    EXPECT_EQ(st.note_names[0], "--");
    EXPECT_EQ(st.key_names[0], "--");
    EXPECT_EQ(st.note_names[1], "E6");
    EXPECT_EQ(st.key_names[1], " Q");
    EXPECT_EQ(st.note_names[12], "A4");
    EXPECT_EQ(st.key_names[12], " S");
    EXPECT_EQ(st.note_names[26], "A2");
    EXPECT_EQ(st.key_names[26], " M");
}

TEST(InstrumentState, LeverLimitsAndStringGeometry) {
    InstrumentState st;
    set_lever_limits(st);
    set_string_geometry(st);
    EXPECT_EQ(st.mandal_min[1], -5);
    EXPECT_EQ(st.mandal_max[1], 6);
    EXPECT_EQ(st.mandal_max[4], 8);
    EXPECT_EQ(st.mandal_min[5], -7);
    EXPECT_EQ(st.mandal_max[7], 10);
    EXPECT_EQ(st.mandal_min[8], -8);
    EXPECT_EQ(st.mandal_max[26], 12);
    EXPECT_EQ(st.string_x[0], 640);
    EXPECT_EQ(st.string_x[1], 623);
    EXPECT_EQ(st.string_x[26], 198);
    EXPECT_EQ(st.marked_string_phase, 5);
}

TEST(InstrumentState, IndexesOutsideTheirTablesThrow) {
    InstrumentState st;
    EXPECT_THROW(st.mandal_pos[27], IndexOutOfRange);
    EXPECT_THROW(st.mandal_pos[-1], IndexOutOfRange);
    EXPECT_THROW(st.cents(0, 0), IndexOutOfRange);
    EXPECT_THROW(st.cents(1, 14), IndexOutOfRange);
    EXPECT_THROW(st.degrees[201], IndexOutOfRange);
    EXPECT_THROW(st.wav_files[57], IndexOutOfRange);
    EXPECT_NO_THROW(st.cents(26, -12));
    EXPECT_NO_THROW(st.degrees[-110]);
    EXPECT_EQ(st.degrees[-110].degree_name, std::string(30, '\0'));
}

TEST(DerivedTables, FrequencyFromCentsAboveC4) {
    InstrumentState st;
    st.cents(17, 0) = 0.0;
    st.cents(12, 0) = 900.0;
    st.cents(12, 3) = -1200.0;
    derive_freq(st);
    EXPECT_EQ(st.freq(17, 0), 262.0);
    EXPECT_DOUBLE_EQ(st.freq(12, 0), 262.0 * std::pow(2.0, 0.75));
    EXPECT_DOUBLE_EQ(st.freq(12, 3), 131.0);
    EXPECT_EQ(st.freq(5, 13), 0.0);  // positions beyond the levers are never derived
}

TEST(DerivedTables, SampleRatesScaleFromTheRoundedHomeRate) {
    InstrumentState st;
    st.sample_cents[1] = 0;
    st.sample_cents[2] = 1200;
    st.sample_cents[3] = 7;
    for (int p = kLeverLo; p <= kLeverHi; ++p) {
        st.cents(1, p) = 100.0 * p;
        st.cents(2, p) = 500.0;  // every position at the home pitch
        st.cents(3, p) = 50.0 * p;
    }
    derive_sample_rates(st);
    EXPECT_EQ(st.sample_rate(1, 0), 44100);
    EXPECT_EQ(st.sample_rate(2, 0), 88200);
    for (int p = kLeverLo; p <= kLeverHi; ++p) EXPECT_EQ(st.sample_rate(2, p), 88200);
    EXPECT_EQ(st.sample_rate(1, 12), 88200);
    EXPECT_EQ(st.sample_rate(1, -8), std::lround(44100 * std::pow(2.0, -800 / 1200.0)));
    const std::int32_t home3 = std::lround(44100 * std::pow(2.0, 7 / 1200.0));
    EXPECT_EQ(st.sample_rate(3, 0), home3);
    EXPECT_EQ(st.sample_rate(3, 4), std::lround(home3 * std::pow(2.0, 200 / 1200.0)));
    EXPECT_EQ(st.sample_rate(3, 13), 0);
}

TEST(DerivedTables, FineTuningIsASecondRoundingOfTheHomeRate) {
    InstrumentState st;
    st.sample_cents[4] = 3;
    st.akord_offset[4] = -5;
    for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(4, p) = 10.0 * p;
    recompute_string_rates(st, 4, true);
    const double first = std::nearbyint(44100 * std::pow(2.0, 3 / 1200.0));
    const double second = std::nearbyint(first * std::pow(2.0, -5 / 1200.0));
    EXPECT_EQ(st.sample_rate(4, 0), static_cast<std::int32_t>(second));
    recompute_string_rates(st, 4, false);  // AKORD RESET skips the fine-tuning step
    EXPECT_EQ(st.sample_rate(4, 0), static_cast<std::int32_t>(first));
}

}  // namespace
}  // namespace orvena
