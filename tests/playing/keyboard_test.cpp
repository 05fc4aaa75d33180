#include "playing/keyboard.h"

#include <gtest/gtest.h>

#include <functional>

#include "playing/recording_views.h"

namespace orvena {
namespace {

using test::Calls;

// An instrument after start-up, string 12 selected.
struct Keys : test::RecordedPlay {
    Keys() {
        set_lever_limits(st);
        set_names(st);
        for (int s = 0; s <= kStringCount; ++s) st.wav_files[s] = "wav" + std::to_string(s);
        st.manual_levers = true;
        st.cur_string = 12;
        st.last_string = 1;
    }
    void down(int key, bool repeat = false) { Form_KeyDown(ctx, key, repeat); }
    void up(int key, bool repeat = false) { Form_KeyUp(ctx, key, repeat); }
};

// Held letters sound together, each at its string's lever; a repeat asks for the note again
// (the sound refuses to reopen it) and only the real release stops it and selects its string.
TEST(LetterKeys, HeldKeysSoundTogetherAndOnlyTheRealReleaseStopsOne) {
    Keys k;
    k.st.mandal_pos[12] = -3;
    k.down('Q');
    k.down('S');
    EXPECT_TRUE(k.st.cur_string == 12 && k.st.last_string == 12);
    k.down('S', true);
    k.up('S', true);
    k.up('Q');
    EXPECT_EQ(k.st.cur_string, 1);
    EXPECT_EQ(k.sound.calls, (Calls{"on 1/0 E6", "on 12/-3 A4", "on 12/-3 A4", "off E6"}));
    EXPECT_EQ(k.views.calls, (Calls{"key down 1", "key down 12", "key down 12", "key up 1"}));
}

// Each key is pressed and released in turn: what sounded, showed and was said.
TEST(Keys, GatesDecideWhichKeysPlay) {
    const std::vector<int> all = {'Q', 'M', kKeyUp, kKeyDown, kKeyLeft, kKeyRight};
    struct Gate {
        const char* what;
        std::function<void(InstrumentState&)> set;
        std::vector<int> keys;
        Calls sound, views, messages;
    };
    using St = InstrumentState;
    // clang-format off
    const Gate gates[] = {
        {"recording", [](St& st) { st.recording = true; }, all},
        {"playing a sequence", [](St& st) { st.seq_playing = true; }, all},
        {"other keys", [](St&) {}, {16, 17, 18, 48, 57, 96, 105, 112, 13, 32, 27}},
        {"typing in the makam name box", [](St& st) { st.text1_has_focus = true; }, {'D'},
         {"off G4"}, {"key up 13"}},
        {"no string selected", [](St& st) { st.cur_string = 0; }, {kKeyRight}, {}, {},
         {"bir perde seçin"}},
        {"transposed setting refuses lever keys", [](St& st) { st.manual_levers = false; },
         {kKeyRight, kKeyLeft}},
        {"transposed setting plays letters and Up/Down", [](St& st) { st.manual_levers = false; },
         {'T', kKeyDown}, {"on 5/0 A5", "off A5", "6/0"},
         {"key down 5", "key up 5", "tel_çiz", "mandal_at", "porte", "etiket"}},
    };
    // clang-format on
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.what);
        Keys k;
        g.set(k.st);
        const int string_before = k.st.cur_string;
        for (int key : g.keys) k.down(key), k.up(key);
        EXPECT_EQ(k.sound.calls, g.sound);
        EXPECT_EQ(k.views.calls, g.views);
        EXPECT_EQ(k.dialogs.texts(), g.messages);
        EXPECT_EQ(k.st.mandal_pos[string_before], 0);
        if (g.sound.empty()) {
            EXPECT_EQ(k.st.cur_string, string_before);
        }
    }
}

// Up and Down walk the strings and pluck; Left and Right step the selected lever with sound,
// stop silently at its limits and pass string 26's silent levers 9..11.
TEST(ArrowKeys, WalkTheStringsAndStepTheLevers) {
    const Calls walk{"tel_çiz", "mandal_at", "porte", "etiket"};
    const auto step = [](int s) {
        return Calls{"mandal_at", "porte", "etiket", "arıza_yaz " + std::to_string(s)};
    };
    struct Case {
        int string, lever_string, lever;  // selected string; a lever set before
        std::vector<int> keys;
        int want_string, want_lever;  // selected string and its lever after
        Calls sound, views;
    };
    // clang-format off
    const Case cases[] = {
        {0, 11, -2, {kKeyUp}, 11, -2, {"11/-2"}, walk},
        {0, 13, 0, {kKeyDown}, 13, 0, {"13/0"}, walk},
        {1, 1, 0, {kKeyUp}, 1, 0, {"1/0"}, walk},
        {2, 1, 0, {kKeyUp}, 1, 0, {"1/0"}, walk},
        {26, 26, 0, {kKeyDown}, 26, 0, {"26/0"}, walk},
        {12, 12, 0, {kKeyRight}, 12, 1, {"12/1"}, step(12)},
        {12, 12, 2, {kKeyLeft}, 12, 1, {"12/1"}, step(12)},
        {1, 1, -5, {kKeyLeft}, 1, -5, {}, {}},
        {1, 1, 6, {kKeyRight}, 1, 6, {}, {}},
        {26, 26, 8, {kKeyRight, kKeyRight, kKeyRight}, 26, 11, {}, {}},
        {26, 26, 11, {kKeyRight}, 26, 12, {"26/12"}, step(26)},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "string " << c.string << " first key " << c.keys[0]);
        Keys k;
        k.st.cur_string = static_cast<std::int16_t>(c.string);
        k.st.mandal_pos[c.lever_string] = static_cast<std::int16_t>(c.lever);
        for (int key : c.keys) k.down(key);
        EXPECT_EQ((std::pair<int, int>(k.st.cur_string, k.st.mandal_pos[c.want_string])),
                  std::pair(c.want_string, c.want_lever));
        EXPECT_EQ(k.sound.calls, c.sound);
        EXPECT_EQ(k.views.calls, c.views);
        EXPECT_TRUE(k.dialogs.shown().empty());
        if (c.views == walk) {
            EXPECT_EQ(k.st.last_string, c.want_string);
        }
    }
}

}  // namespace
}  // namespace orvena
