// The mouse on the strings, the lever strip and the peg; the reset buttons; the strip's drawing.

#include "playing/mouse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "playing/lever_controls.h"
#include "playing/mandal_at.h"
#include "playing/recording_views.h"
#include "support/pictures.h"

namespace orvena {
namespace {

using test::Calls;

// String 12 selected, positions 17 cents apart; the recorder's steps go among the drawings.
struct Mouse : test::RecordedPlay, PluckRecorder {
    Mouse() {
        set_lever_limits(st.build);
        set_names(st.build);
        set_string_geometry(st.build);
        for (int s = 1; s <= kStringCount; ++s) {
            st.tables.sample_cents[s] = static_cast<std::int16_t>(s % 7 - 3);
            for (int p = kLeverLo; p <= kLeverHi; ++p)
                st.tables.cents(s, p) = 2400 - 50.0 * s + 17 * p;
        }
        derive_sample_rates(st);
        st.settings.manual_levers = true;
        st.selection.cur_string = 12;
        st.selection.last_string = 1;
    }
    void before_pluck() override { views.calls.push_back("record"); }
    void after_pluck() override { views.calls.push_back("timer"); }
};

const auto band = [](int n) { return 29.0 + 15 * (n - 1); };  // the middle of string n's band

// The string sounds before anything is drawn (while recording, between the recorder's two
// steps); during a sequence (the last row) nothing plays. y 36.5: 14.5 rounds to 14.
TEST(StringClicks, PluckOnlyWithTheLeftButtonInsideTheStringsArea) {
    // x, y, button, the string plucked (0: nothing happens), its note, recording.
    // clang-format off
    const std::tuple<double, double, int, int, const char*, bool> cases[] = {
        {700, 20, 1, 0, "", true},   {700, 21, 1, 1, "E6", true},    {700, 36.5, 1, 1, "E6", false},
        {700, 37, 1, 2, "D6", true}, {700, 409, 1, 26, "A2", false}, {700, 410, 1, 0, "", false},
        {623, 25, 1, 0, "", false},  {624, 25, 1, 1, "E6", false},   {730, 25, 1, 0, "", true},
        {419, band(13), 1, 0, "", false}, {419.5, band(13), 1, 13, "G4", true},
        {700, 25, 2, 0, "", true},   {700, 25, 1, 0, "", false}};
    // clang-format on
    for (const auto& c : cases) {
        const auto& [x, y, button, string, note, recording] = c;
        SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
        Mouse m;
        m.st.transport.recording = recording,
        m.st.transport.seq_playing = &c == std::end(cases) - 1;
        m.st.settings.mandal_pos[string] = -3;
        Picture2_MouseDown(m.ctx, m, button, x, y);
        const std::string n = std::to_string(string);
        Calls sound, views{"tel_çiz", "key up " + n, "mandal_at", "porte", "etiket"};
        if (recording) views.insert(views.begin(), {"record", "timer"});
        if (string != 0) sound = {"off " + std::string(note), n + "/-3"};
        EXPECT_EQ(std::tuple(m.sound.calls, m.views.calls, int{m.st.selection.cur_string}),
                  std::tuple(sound, string ? views : Calls{}, string ? string : 12));
    }
}

TEST(Sweep, PlucksEachBandOnceAsThePointerEntersIt) {
    Mouse m;
    m.st.selection.last_string = 5;
    for (double y : {band(5), band(5) + 3, band(6), band(6) - 2, band(5), 20.0, 410.0})
        Picture2_MouseMove(m.ctx, kRightButton, y);
    Picture2_MouseMove(m.ctx, kLeftButton | kRightButton, band(8));
    EXPECT_EQ(std::pair(m.sound.calls, m.views.calls), std::pair(Calls{"6/0", "5/0"}, Calls{}));
    m.st.selection.show_details = true;  // "detay  göster": the sweep redraws
    Picture2_MouseMove(m.ctx, kRightButton, band(7));
    EXPECT_EQ(m.views.calls, (Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
}

// String 12 runs -8..12: position i owns 151 + 16k < x < 167 + 16k, k = i + 8; 26's levers 9..11
// are silent. MANDAL RESET redraws the legend number of each moved lever, and the strip.
TEST(LeverClicks, SetThePositionWhoseZoneIsHit) {
    const std::tuple<int, double, int, bool> cases[] = {
        {12, 152, -8, true}, {12, 151, 0, false}, {12, 167, 0, false}, {12, 287, 0, true},
        {12, 472, 12, true}, {12, 487, 0, false}, {1, 152, -5, true},  {26, 447, 10, false},
        {26, 431, 9, false}, {26, 415, 8, true}};
    for (auto [s, x, position, sounds] : cases) {
        Mouse m;
        m.st.selection.cur_string = static_cast<std::int16_t>(s);
        Picture1_MouseDown(m.ctx, x);
        EXPECT_EQ(std::tuple(int{m.st.settings.mandal_pos[s]}, m.sound.calls.size(),
                             m.views.calls.size()),
                  std::tuple(position, sounds ? 2u : 0u, sounds ? 4u : 0u))
            << s << " x " << x;
    }
    Mouse m;
    for (int s : {1, 5, 12, 26}) m.st.settings.mandal_pos[s] = static_cast<std::int16_t>(s % 7 - 4);
    Command9_Click(m.ctx);
    const auto& pos = m.st.settings.mandal_pos;
    EXPECT_TRUE(pos[1] == 0 && pos[5] == 0 && pos[12] == 0 && pos[26] == 0 &&
                m.sound.calls.empty());
    EXPECT_EQ(m.views.calls, (Calls{"arıza_yaz 1", "arıza_yaz 5", "arıza_yaz 12", "mandal_at",
                                    "porte", "etiket", "arıza_yaz 26"}));
}

// The peg's left half raises, the right lowers, the upper half by 5 cents, never beyond an octave
// (refused silently); AKORD RESET silently undoes it, on every string. Cents: 1200 log2(rate /
// untouched rate).
TEST(FineTuning, ThePegTurnsTheStringAndTheResetUndoesIt) {
    const std::tuple<double, double, int, int> cases[] = {
        {26.9, 44.9, 0, 5},   {0, 45, 0, 1},        {27, 0, 0, -5},        {54, 89, 0, -1},
        {10, 10, 1195, 1200}, {10, 10, 1196, 1196}, {40, 60, -1200, -1200}};
    for (auto [x, y, start, offset] : cases) {
        SCOPED_TRACE(testing::Message() << "x " << x << " y " << y << " from " << start);
        Mouse m;
        const InstrumentState untouched = m.st;
        const auto expect_cents = [&](double cents) {
            for (int p = kLeverLo; p <= kLeverHi; ++p) {
                const double ratio =
                    double(m.st.derived.sample_rate(12, p)) / untouched.derived.sample_rate(12, p);
                EXPECT_NEAR(1200 * std::log2(ratio), cents, 0.2) << "lever " << p;
            }
        };
        m.st.settings.akord_offset[12] = static_cast<std::int16_t>(start);
        Picture5_MouseDown(m.ctx, x, y);
        EXPECT_EQ(std::pair(int{m.st.settings.akord_offset[12]}, m.sound.calls.empty()),
                  std::pair(offset, start == offset));
        expect_cents(start == offset ? 0 : offset);
        m.sound.calls.clear(), m.views.calls.clear();
        m.st.settings.akord_offset[1] = m.st.settings.akord_offset[26] = 40;
        Command8_Click(m.ctx);
        const auto& offsets = m.st.settings.akord_offset;
        EXPECT_EQ(std::tuple(offsets[1] | offsets[12] | offsets[26], m.sound.calls, m.views.calls),
                  std::tuple(0, Calls{}, Calls{"etiket"}));
        expect_cents(0);
    }
}

using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0), kBlack = 0, kBlue = rgb(0, 0, 255);
constexpr QRgb kGold = rgb(238, 201, 0), kGrey = rgb(224, 224, 224);

// The strip stands at x -100, as wide as the string's levers need. Levers up to the position
// are raised (a filled box from y 22 to the rail), those above it tilted (an outline: grey middle,
// slanted side in colour); the lowest is black, 0 blue, steps above 8 gold, the rest red. String
// 26's levers 9..12 vanish in the grey unless their steps are above 8, and a piece of rail covers
// their feet. Every position number stands under its lever, apart from its neighbours.
TEST(LeverStrip, ShowsTheSelectedStringsLeversAndTheirNumbers) {
    // String, its lowest and highest lever, position, the steps' cap, the strip's width.
    const std::tuple<int, int, int, int, int, int> cases[] = {
        {1, -5, 6, 0, 99, 372},    {2, -5, 8, 8, 99, 404},    {4, -5, 8, -1, 99, 404},
        {5, -7, 10, 3, 99, 468},   {8, -8, 12, 0, 99, 516},   {12, -8, 12, 12, 99, 516},
        {12, -8, 12, -8, 99, 516}, {26, -8, 12, 12, 99, 516}, {26, -8, 12, 0, 8, 516}};
    test::ensure_qt_app();
    Surface pic(485, kLeverStripHeight);
    for (const auto& [string, lo, hi, position, step_cap, width] : cases) {
        InstrumentState st;
        set_lever_limits(st.build);
        for (int p = kLeverLo; p <= kLeverHi; ++p)
            st.tables.mandal_step(string, p) = static_cast<std::int16_t>(std::min(p, step_cap));
        st.selection.cur_string = static_cast<std::int16_t>(string);
        st.settings.mandal_pos[string] = static_cast<std::int16_t>(position);
        const LeverStripPlacement placed = mandal_at(pic, st);
        EXPECT_EQ(std::tuple(placed.left, placed.width, pic.width()),
                  std::tuple(-100, width, width))
            << "string " << string;
        const auto ink = [&](int x1, int x2) {  // black in the numbers' band below the rail
            return test::has_colour(pic, QRect(QPoint(x1, 43), QPoint(x2, 58)), kBlack);
        };
        for (int i = lo; i <= hi; ++i) {
            SCOPED_TRACE(testing::Message() << "string " << string << " lever " << i);
            const int x = 156 + 16 * (i - lo);  // the lever's foot spans x..x+5
            const QRgb colour = i > 8 && step_cap > 8   ? kGold
                                : i > 8 && string == 26 ? kGrey
                                : i == 0                ? kBlue
                                : i == lo               ? kBlack
                                                        : kRed;
            if (i <= position) {
                EXPECT_EQ(std::tuple(pic.pixel(x, 22), pic.pixel(x + 2, 30), pic.pixel(x + 5, 37)),
                          std::tuple(colour, colour, colour));
            } else {
                EXPECT_EQ(std::pair(pic.pixel(x + 2, 30), pic.pixel(x + 5, 30)),
                          std::pair(kGrey, colour));
            }
            EXPECT_TRUE(ink(x - 3, x + 8)) << "no number under the lever";
            EXPECT_TRUE(i == hi || !ink(x + 9, x + 13)) << "runs into the next number";
        }
        // The foot of a tilted lever 9, or the rail piece over it.
        if (position < 9 && hi == 12) {
            EXPECT_EQ(pic.pixel(156 + 16 * 17 + 3, 40), string == 26 ? kBlack : kGold);
        }
    }
}

}  // namespace
}  // namespace orvena
