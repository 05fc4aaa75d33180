#include "playing/mouse.h"

#include <gtest/gtest.h>

#include <cmath>

#include "playing/recording_views.h"

namespace orvena {
namespace {

using Sounds = std::vector<std::string>;

struct NoRecorder : PluckRecorder {
    void before_pluck() override {}
    void after_pluck() override {}
};

// An instrument after start-up (string 12 selected) whose sound, views and messages are
// recorded.
struct Mouse : test::RecordedPlay {
    Mouse() {
        set_lever_limits(st);
        set_names(st);
        set_string_geometry(st);
        for (int s = 1; s <= kStringCount; ++s) {
            st.sample_cents[s] = static_cast<std::int16_t>(s % 7 - 3);
            for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(s, p) = 2400 - 50.0 * s + 17 * p;
        }
        derive_sample_rates(st);
        st.manual_levers = true;
        st.cur_string = 12;
        st.last_string = 1;
    }
    void click_string(double x, double y, int button = kLeftButton) {
        Picture2_MouseDown(ctx, recorder, button, x, y);
    }
    NoRecorder recorder;
};

double band(int n) {  // the middle of string n's band on the drawing
    return 29 + 15 * (n - 1);
}

TEST(StringClicks, PluckOnlyWithTheLeftButtonInsideTheStringsArea) {
    struct Case {
        double x, y;
        int button, string;  // string 0: nothing happens
    };
    const Case cases[] = {
        {700, 20, 1, 0},       {700, 21, 1, 1},          {700, 36.5, 1, 1},  // 14.5 -> 14
        {700, 37, 1, 2},       {700, 409, 1, 26},        {700, 410, 1, 0},
        {623, 25, 1, 0},       {624, 25, 1, 1},          {730, 25, 1, 0},
        {419, band(13), 1, 0}, {419.5, band(13), 1, 13}, {700, 25, 2, 0}};
    for (const Case& c : cases) {
        Mouse m;
        m.st.mandal_pos[c.string] = -3;
        m.click_string(c.x, c.y, c.button);
        const Sounds expected = c.string == 0 ? Sounds{}
                                              : Sounds{"off " + m.st.note_names[c.string],
                                                       std::to_string(c.string) + "/-3"};
        EXPECT_EQ(m.sound.calls, expected) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(m.st.cur_string, c.string == 0 ? 12 : c.string);
    }
}

TEST(Sweep, PlucksEachBandOnceAsThePointerEntersIt) {
    Mouse m;
    m.st.last_string = 5;
    for (double y : {band(5), band(5) + 3, band(6), band(6) - 2, band(5), 20.0, 410.0}) {
        Picture2_MouseMove(m.ctx, kRightButton, y);
    }
    Picture2_MouseMove(m.ctx, kLeftButton | kRightButton, band(8));
    EXPECT_EQ(m.sound.calls, (Sounds{"6/0", "5/0"}));
    EXPECT_TRUE(m.views.calls.empty());  // "detay  göster" is off
    m.st.show_details = true;
    Picture2_MouseMove(m.ctx, kRightButton, band(7));
    EXPECT_EQ(m.views.calls, (test::Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
}

TEST(LeverClicks, SetThePositionWhoseZoneIsHit) {
    struct Case {
        int string;
        double x;
        int position;  // the lever starts at 0
        bool sounds;
    };
    // String 12 runs -8..12: position i owns 151 + 16k < x < 167 + 16k, k = i + 8.
    const Case cases[] = {{12, 152, -8, true}, {12, 151, 0, false},  {12, 167, 0, false},
                          {12, 287, 0, true},  {12, 472, 12, true},  {12, 487, 0, false},
                          {1, 152, -5, true},  {26, 447, 10, false}, {26, 431, 9, false},
                          {26, 415, 8, true}};
    for (const Case& c : cases) {
        Mouse m;
        m.st.cur_string = static_cast<std::int16_t>(c.string);
        Picture1_MouseDown(m.ctx, c.x);
        EXPECT_EQ(m.st.mandal_pos[c.string], c.position) << c.string << " x " << c.x;
        EXPECT_EQ(m.sound.calls.size(), c.sounds ? 2u : 0u);
        EXPECT_EQ(m.views.calls.size(), c.sounds ? 4u : 0u);  // 26's strip keeps the old lever
    }
}

TEST(TuningPeg, FourUpperLeftClicksRaiseEveryPositionBy20Cents) {
    for (int s : {1, 12, 26}) {
        Mouse m;
        m.st.cur_string = static_cast<std::int16_t>(s);
        const InstrumentState before = m.st;
        for (int i = 0; i < 4; ++i) Picture5_MouseDown(m.ctx, 10, 20);
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const double ratio = double(m.st.sample_rate(s, p)) / before.sample_rate(s, p);
            EXPECT_NEAR(1200 * std::log2(ratio), 20, 0.2) << "string " << s << " position " << p;
        }
    }
    struct Case {
        double x, y;
        int start, offset;
    };
    const Case cases[] = {{26.9, 44.9, 0, 5},    {0, 45, 0, 1},        {27, 0, 0, -5},
                          {54, 89, 0, -1},       {10, 10, 1195, 1200}, {10, 10, 1196, 1196},
                          {40, 60, -1200, -1200}};
    for (const Case& c : cases) {
        Mouse m;
        m.st.akord_offset[12] = static_cast<std::int16_t>(c.start);
        Picture5_MouseDown(m.ctx, c.x, c.y);
        EXPECT_EQ(m.st.akord_offset[12], c.offset) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(m.sound.calls.empty(), c.start == c.offset);  // a refused turn is silent
    }
}

TEST(MouseGates, NothingActsDuringARecordingOrSequenceButTheStringClick) {
    for (bool recording : {true, false}) {
        Mouse m;
        (recording ? m.st.recording : m.st.seq_playing) = true;
        Picture1_MouseDown(m.ctx, 287);
        Picture5_MouseDown(m.ctx, 10, 10);
        Picture2_MouseMove(m.ctx, kRightButton, band(3));
        m.click_string(700, band(4));
        EXPECT_EQ(m.sound.calls.size(), recording ? 2u : 0u);  // the recorded click alone
    }
}

}  // namespace
}  // namespace orvena
