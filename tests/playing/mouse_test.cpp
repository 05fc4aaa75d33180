#include "playing/mouse.h"

#include <gtest/gtest.h>

#include <cmath>

#include "playing/recording_views.h"

namespace orvena {
namespace {

using test::Calls;
using test::SoundCall;
using Sounds = std::vector<SoundCall>;

struct CountingRecorder : PluckRecorder {
    void before_pluck() override { calls.push_back("before"); }
    void after_pluck() override { calls.push_back("after"); }
    Calls calls;
};

// An instrument after start-up whose sound, views and messages are recorded.
struct Mouse : test::RecordedPlay {
    Mouse() {
        set_lever_limits(st);
        set_names(st);
        set_string_geometry(st);
        st.manual_levers = true;
        st.cur_string = 12;
        st.last_string = 1;
    }
    void click_string(double x, double y, int button = kLeftButton) {
        Picture2_MouseDown(ctx, recorder, button, x, y);
    }
    void sweep(double y, int buttons = kRightButton) { Picture2_MouseMove(ctx, buttons, y); }
    CountingRecorder recorder;
};

// y of the middle of string n's band on the drawing.
double band(int n) {
    return 29 + 15 * (n - 1);
}

TEST(StringClicks, PluckOnlyInsideTheStringsArea) {
    struct Case {
        double x, y;
        int string;  // 0: nothing happens
    };
    const Case cases[] = {{700, 20, 0},         {700, 21, 1},        {700, 36, 1},
                          {700, 36.5, 1},  // 14.5 rounds to 14
                          {700, 37, 2},         {700, 409, 26},      {700, 410, 0},
                          {623, 25, 0},  // string 1 from x 624
                          {624, 25, 1},         {729.5, 25, 1},      {730, 25, 0},
                          {198, band(26), 0},   {199, band(26), 26}, {419, band(13), 0},
                          {419.5, band(13), 13}};
    for (const Case& c : cases) {
        Mouse m;
        m.click_string(c.x, c.y);
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        if (c.string == 0) {
            EXPECT_TRUE(m.sound.calls.empty());
            EXPECT_TRUE(m.views.calls.empty());
            EXPECT_EQ(m.st.cur_string, 12);
        } else {
            EXPECT_EQ(m.st.cur_string, c.string);
            EXPECT_EQ(m.st.last_string, c.string);
            EXPECT_EQ(m.sound.calls.back(), SoundCall::tuned(c.string, 0));
        }
    }
}

TEST(StringClicks, StopTheHeldNoteUnmarkItsKeyPluckAndRedraw) {
    Mouse m;
    m.st.mandal_pos[5] = -3;
    m.click_string(700, band(5));
    EXPECT_EQ(m.sound.calls, (Sounds{SoundCall::alias_off("A5"), SoundCall::tuned(5, -3)}));
    EXPECT_EQ(m.views.calls, (Calls{"tel_çiz", "key up 5", "mandal_at", "porte", "etiket"}));
    EXPECT_TRUE(m.recorder.calls.empty());  // not recording

    m.st.recording = true;
    m.click_string(700, band(6));
    EXPECT_EQ(m.recorder.calls, (Calls{"before", "after"}));
}

TEST(StringClicks, OnlyTheLeftButtonAndNeverDuringASequence) {
    Mouse m;
    m.click_string(700, band(5), kRightButton);
    m.click_string(700, band(5), 4);
    m.st.seq_playing = true;
    m.click_string(700, band(5));
    EXPECT_TRUE(m.sound.calls.empty());
    EXPECT_TRUE(m.views.calls.empty());
}

TEST(Sweep, PlucksEachBandOnceAsThePointerEntersIt) {
    Mouse m;
    m.st.last_string = 5;
    for (double y : {band(5), band(5) + 3, band(6), band(6) - 2, band(5), 20.0, 410.0}) m.sweep(y);
    EXPECT_EQ(m.sound.calls, (Sounds{SoundCall::tuned(6, 0), SoundCall::tuned(5, 0)}));
    EXPECT_TRUE(m.views.calls.empty());  // "detay  göster" is off
    EXPECT_EQ(m.st.cur_string, 5);

    m.st.show_details = true;
    m.sweep(band(7));
    EXPECT_EQ(m.views.calls, (Calls{"mandal_at", "tel_çiz", "etiket", "porte"}));
}

TEST(Sweep, NeedsTheRightButtonAloneAndNoRecordingOrSequence) {
    Mouse m;
    m.sweep(band(8), kLeftButton);
    m.sweep(band(9), kLeftButton | kRightButton);
    m.st.recording = true;
    m.sweep(band(10));
    m.st.recording = false;
    m.st.seq_playing = true;
    m.sweep(band(11));
    EXPECT_TRUE(m.sound.calls.empty());
}

TEST(LeverClicks, SetThePositionWhoseZoneIsHit) {
    struct Case {
        int string;
        double x;
        int position;  // expected lever afterwards; the lever starts at 0
        bool sounds;
    };
    // String 12 runs -8..12: position i owns 151 + 16k < x < 167 + 16k with k = i + 8.
    const Case cases[] = {{12, 152, -8, true},  {12, 166.5, -8, true}, {12, 151, 0, false},
                          {12, 167, 0, false},  {12, 279, 0, false},   {12, 287, 0, true},
                          {12, 472, 12, true},  {12, 487, 0, false},   {12, 100, 0, false},
                          {1, 152, -5, true},   {26, 447, 10, false},  {26, 431, 9, false},
                          {26, 440, 10, false}, {26, 415, 8, true}};
    for (const Case& c : cases) {
        Mouse m;
        m.st.cur_string = static_cast<std::int16_t>(c.string);
        Picture1_MouseDown(m.ctx, c.x);
        SCOPED_TRACE(testing::Message() << "string " << c.string << " x " << c.x);
        EXPECT_EQ(m.st.mandal_pos[c.string], c.position);
        if (c.sounds) {
            EXPECT_EQ(m.sound.calls, (Sounds{SoundCall::alias_off(m.st.note_names[c.string]),
                                             SoundCall::tuned(c.string, c.position)}));
            EXPECT_EQ(m.views.calls.back(), "arıza_yaz " + std::to_string(c.string));
        } else {
            EXPECT_TRUE(m.sound.calls.empty());
            EXPECT_TRUE(m.views.calls.empty());  // string 26's strip still shows the old lever
        }
    }
}

TEST(LeverClicks, NeedASelectedStringTheUsersSettingAndNoRecordingOrSequence) {
    Mouse none;
    none.st.cur_string = 0;
    Picture1_MouseDown(none.ctx, 279);
    EXPECT_EQ(none.dialogs.texts(), (std::vector<std::string>{"bir perde seçin"}));

    for (int gate = 0; gate < 3; ++gate) {
        Mouse m;
        if (gate == 0) m.st.recording = true;
        if (gate == 1) m.st.seq_playing = true;
        if (gate == 2) m.st.manual_levers = false;
        Picture1_MouseDown(m.ctx, 200);
        Picture5_MouseDown(m.ctx, 10, 10);
        EXPECT_EQ(m.st.mandal_pos[12], 0);
        EXPECT_EQ(m.st.akord_offset[12], gate == 2 ? 5 : 0);  // the peg ignores the setting
        EXPECT_EQ(m.sound.calls.size(), gate == 2 ? 2u : 0u);
    }
}

// A tuning whose every string and position has its own cents.
struct TunedMouse : Mouse {
    TunedMouse() {
        for (int s = 1; s <= kStringCount; ++s) {
            st.sample_cents[s] = static_cast<std::int16_t>(s % 7 - 3);
            for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(s, p) = 2400 - 50.0 * s + 17 * p;
        }
        derive_sample_rates(st);
    }
};

TEST(TuningPeg, FourUpperLeftClicksRaiseEveryPositionBy20Cents) {
    for (int s : {1, 12, 26}) {
        TunedMouse m;
        m.st.cur_string = static_cast<std::int16_t>(s);
        m.st.mandal_pos[s] = -2;
        const InstrumentState before = m.st;
        for (int i = 0; i < 4; ++i) Picture5_MouseDown(m.ctx, 10, 20);
        EXPECT_EQ(m.st.akord_offset[s], 20);
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const double cents =
                1200 * std::log2(double(m.st.sample_rate(s, p)) / before.sample_rate(s, p));
            EXPECT_NEAR(cents, 20, 0.2) << "string " << s << " position " << p;
        }
        EXPECT_EQ(m.sound.calls.back(), SoundCall::tuned(s, -2));
        EXPECT_EQ(m.views.calls, (Calls(4, "etiket")));
        EXPECT_EQ(m.st.sample_rate(s + (s == 26 ? -1 : 1), 0),
                  before.sample_rate(s + (s == 26 ? -1 : 1), 0));  // no other string moves
    }
}

TEST(TuningPeg, QuadrantsStepBy5Or1AndStopAtAnOctave) {
    struct Case {
        double x, y;
        int start, offset;
    };
    const Case cases[] = {{26.9, 44.9, 0, 5},     {0, 45, 0, 1},         {27, 0, 0, -5},
                          {54, 89, 0, -1},        {10, 10, 1195, 1200},  {10, 10, 1196, 1196},
                          {40, 60, -1200, -1200}, {40, 60, -1199, -1200}};
    for (const Case& c : cases) {
        TunedMouse m;
        m.st.akord_offset[12] = static_cast<std::int16_t>(c.start);
        Picture5_MouseDown(m.ctx, c.x, c.y);
        EXPECT_EQ(m.st.akord_offset[12], c.offset) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(m.sound.calls.empty(), c.start == c.offset);  // a refused turn is silent
    }
    Mouse none;
    none.st.cur_string = 0;
    Picture5_MouseDown(none.ctx, 10, 10);
    EXPECT_EQ(none.dialogs.texts(), (std::vector<std::string>{"bir perde seçin"}));
}

}  // namespace
}  // namespace orvena
