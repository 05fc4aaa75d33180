// The mouse on the strings, the lever strip and the tuning peg, and the two reset buttons.

#include "playing/mouse.h"

#include <gtest/gtest.h>

#include <cmath>

#include "playing/lever_controls.h"
#include "playing/recording_views.h"

namespace orvena {
namespace {

using test::Calls;

// An instrument after start-up (string 12 selected), positions 17 cents apart; the
// performance recorder writes its steps among the drawings, so the order shows.
struct Mouse : test::RecordedPlay, PluckRecorder {
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
    void before_pluck() override { views.calls.push_back("record"); }
    void after_pluck() override { views.calls.push_back("timer"); }
    void click_string(double x, double y, int button = kLeftButton) {
        Picture2_MouseDown(ctx, *this, button, x, y);
    }
    // Every position of string 12 sounds `cents` above the same position in `before`.
    void expect_raised(const InstrumentState& before, double cents) const {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const double ratio = double(st.sample_rate(12, p)) / before.sample_rate(12, p);
            EXPECT_NEAR(1200 * std::log2(ratio), cents, 0.2) << "lever " << p;
        }
    }
};

double band(int n) {  // the middle of string n's band on the drawing
    return 29 + 15 * (n - 1);
}

// A left click inside the strings' area sounds its string before anything is drawn (and,
// while recording, between the recorder's two steps).
TEST(StringClicks, PluckOnlyWithTheLeftButtonInsideTheStringsArea) {
    struct Case {
        double x, y;
        int button, string;  // string 0: nothing happens
        const char* note;
        bool recording;
    };
    const Case cases[] = {{700, 20, 1, 0, "", true},
                          {700, 21, 1, 1, "E6", true},
                          {700, 36.5, 1, 1, "E6", false},
                          {700, 37, 1, 2, "D6", true},  // 14.5 rounds to 14
                          {700, 409, 1, 26, "A2", false},
                          {700, 410, 1, 0, "", false},
                          {623, 25, 1, 0, "", false},
                          {624, 25, 1, 1, "E6", false},
                          {730, 25, 1, 0, "", true},
                          {419, band(13), 1, 0, "", false},
                          {419.5, band(13), 1, 13, "G4", true},
                          {700, 25, 2, 0, "", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        Mouse m;
        m.st.recording = c.recording;
        m.st.mandal_pos[c.string] = -3;
        m.click_string(c.x, c.y, c.button);
        const std::string n = std::to_string(c.string);
        Calls sound, views{"tel_çiz", "key up " + n, "mandal_at", "porte", "etiket"};
        if (c.recording) views.insert(views.begin(), {"record", "timer"});
        if (c.string != 0) sound = {"off " + std::string(c.note), n + "/-3"};
        EXPECT_EQ(m.sound.calls, sound);
        EXPECT_EQ(m.views.calls, c.string == 0 ? Calls{} : views);
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
    EXPECT_EQ(m.sound.calls, (Calls{"6/0", "5/0"}));
    EXPECT_TRUE(m.views.calls.empty());  // "detay  göster" is off
    m.st.show_details = true;
    Picture2_MouseMove(m.ctx, kRightButton, band(7));
    EXPECT_EQ(m.views.calls, (Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
}

// String 12 runs -8..12: position i owns 151 + 16k < x < 167 + 16k, k = i + 8. MANDAL RESET
// then redraws the legend number of each moved lever, and the strip for the selected string.
TEST(LeverClicks, SetThePositionWhoseZoneIsHit) {
    struct Case {
        int string;
        double x;
        int position;  // the lever starts at 0
        bool sounds;
    };
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
    Mouse m;
    m.st.mandal_pos[5] = 3;
    m.st.mandal_pos[12] = -4;
    Command9_Click(m.ctx);
    EXPECT_TRUE(m.st.mandal_pos[5] == 0 && m.st.mandal_pos[12] == 0 && m.sound.calls.empty());
    EXPECT_EQ(m.views.calls,
              (Calls{"arıza_yaz 5", "arıza_yaz 12", "mandal_at", "porte", "etiket"}));
}

// The peg's left half raises, its right half lowers, the upper half by 5 cents, never beyond
// an octave; a refused turn is silent. AKORD RESET silently brings the string back.
TEST(FineTuning, ThePegTurnsTheStringAndTheResetUndoesIt) {
    struct Case {
        double x, y;
        int start, offset;
    };
    const Case cases[] = {{26.9, 44.9, 0, 5},    {0, 45, 0, 1},        {27, 0, 0, -5},
                          {54, 89, 0, -1},       {10, 10, 1195, 1200}, {10, 10, 1196, 1196},
                          {40, 60, -1200, -1200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y << " from " << c.start);
        Mouse m;
        const InstrumentState untouched = m.st;
        m.st.akord_offset[12] = static_cast<std::int16_t>(c.start);
        Picture5_MouseDown(m.ctx, c.x, c.y);
        EXPECT_EQ(m.st.akord_offset[12], c.offset);
        EXPECT_EQ(m.sound.calls.empty(), c.start == c.offset);
        m.expect_raised(untouched, c.start == c.offset ? 0 : c.offset);
        m.sound.calls.clear();
        m.views.calls.clear();
        Command8_Click(m.ctx);
        EXPECT_EQ(m.st.akord_offset[12], 0);
        m.expect_raised(untouched, 0);
        EXPECT_EQ(m.views.calls, (Calls{"etiket"}));
        EXPECT_TRUE(m.sound.calls.empty());
    }
}

// During a recording only the string click acts (and is recorded); during a sequence nothing.
TEST(MouseGates, NothingActsDuringARecordingOrSequenceButTheStringClick) {
    for (bool recording : {true, false}) {
        Mouse m;
        (recording ? m.st.recording : m.st.seq_playing) = true;
        Picture1_MouseDown(m.ctx, 287);
        Picture5_MouseDown(m.ctx, 10, 10);
        Picture2_MouseMove(m.ctx, kRightButton, band(3));
        m.click_string(700, band(4));
        EXPECT_EQ(m.sound.calls, (recording ? Calls{"off B5", "4/0"} : Calls{}));
        EXPECT_EQ(m.st.akord_offset[12], 0);
    }
}

}  // namespace
}  // namespace orvena
