#include "playing/keyboard.h"

#include <gtest/gtest.h>

#include <functional>

#include "playing/recording_views.h"

namespace orvena {
namespace {

using test::Calls;

struct Keys : test::RecordedPlay {
    Keys() {
        set_lever_limits(st.build);
        set_names(st.build);
        for (int s = 0; s <= kStringCount; ++s) st.build.wav_files[s] = "wav" + std::to_string(s);
        st.settings.manual_levers = true;
        st.selection.cur_string = 12;
        st.selection.last_string = 1;
    }
    void down(int key, bool repeat = false) { Form_KeyDown(ctx, key, repeat); }
    void up(int key, bool repeat = false) { Form_KeyUp(ctx, key, repeat); }
};

// Held letters sound together at their levers; only the real release stops one and selects it.
TEST(LetterKeys, HeldKeysSoundTogetherAndOnlyTheRealReleaseStopsOne) {
    Keys k;
    k.st.settings.mandal_pos[12] = -3;
    k.down('Q'), k.down('S');
    EXPECT_TRUE(k.st.selection.cur_string == 12 && k.st.selection.last_string == 12);
    k.down('S', true), k.up('S', true), k.up('Q');
    EXPECT_EQ(k.st.selection.cur_string, 1);
    EXPECT_EQ(k.sound.calls, (Calls{"on 1/0 E6", "on 12/-3 A4", "on 12/-3 A4", "off E6"}));
    EXPECT_EQ(k.views.calls, (Calls{"key down 1", "key down 12", "key down 12", "key up 1"}));
}

// The letters in alphabetical order: rows Q..P, A..L and Z..M play strings 1..10, 11..19, 20..26;
// the key legend names each string by its letter.
TEST(LetterKeys, EveryLetterPlaysItsOwnStringAndTheLegendNamesIt) {
    const int strings[] = {11, 24, 22, 13, 3, 14, 15, 16, 8,  17, 18, 19, 26,
                           25, 9,  10, 1,  4, 12, 5,  7,  23, 2,  21, 6,  20};
    const Keys k;
    for (char key = 'A'; key <= 'Z'; ++key) {
        EXPECT_EQ(string_of_key(key), strings[key - 'A']) << key;
        EXPECT_EQ(k.st.build.key_names[strings[key - 'A']], std::string(" ") + key);
    }
}

TEST(Keys, GatesDecideWhichKeysPlay) {
    const std::vector<int> all = {'Q', 'M', kKeyUp, kKeyDown, kKeyLeft, kKeyRight};
    using St = InstrumentState;
    // clang-format off
    const std::tuple<const char*, std::function<void(St&)>, std::vector<int>, Calls, Calls, Calls>
        gates[] = {
        {"recording", [](St& st) { st.transport.recording = true; }, all, {}, {}, {}},
        {"playing a sequence", [](St& st) { st.transport.seq_playing = true; }, all, {}, {}, {}},
        {"other keys", [](St&) {}, {16, 17, 18, 48, 57, 96, 105, 112, 13, 32, 27}, {}, {}, {}},
        {"typing in the makam name box", [](St& st) { st.selection.text1_has_focus = true; }, {'D'},
         {"off G4"}, {"key up 13"}, {}},
        {"no string selected", [](St& st) { st.selection.cur_string = 0; }, {kKeyRight}, {}, {},
         {"bir perde seçin"}},
        {"transposed setting: letters and Up/Down play, lever keys do not",
         [](St& st) { st.settings.manual_levers = false; }, {kKeyRight, kKeyLeft, 'T', kKeyDown},
         {"on 5/0 A5", "off A5", "6/0"},
         {"key down 5", "key up 5", "tel_çiz", "mandal_at", "porte", "etiket"}, {}}};
    // clang-format on
    for (const auto& [what, set, keys, sound, views, messages] : gates) {
        SCOPED_TRACE(what);
        Keys k;
        set(k.st);
        const int string_before = k.st.selection.cur_string;
        for (int key : keys) k.down(key), k.up(key);
        EXPECT_EQ(std::tuple(k.sound.calls, k.views.calls, k.dialogs.texts()),
                  std::tuple(sound, views, messages));
        EXPECT_EQ(k.st.settings.mandal_pos[string_before], 0);
        EXPECT_TRUE(!sound.empty() || k.st.selection.cur_string == string_before);
    }
}

// Up and Down walk the strings (with none selected, from 12) and pluck, as far as strings 1 and
// 26; Left and Right step the lever with sound up to each string's limits (strings 1, 2..4,
// 5..7 and 8..26 differ), stop silently there and pass string 26's silent levers 9..11.
TEST(ArrowKeys, WalkTheStringsAndStepTheLevers) {
    const Calls walk{"tel_çiz", "mandal_at", "porte", "etiket"};
    const Calls step{"mandal_at", "porte", "etiket", "arıza_yaz "};  // + the string
    // The selected string and a lever set before, the keys, the selected string and its lever
    // after, the sound and the views.
    // clang-format off
    const std::tuple<int, int, int, std::vector<int>, int, int, Calls, Calls> cases[] = {
        {0, 11, -2, {kKeyUp}, 11, -2, {"11/-2"}, walk},
        {0, 13, 0, {kKeyDown}, 13, 0, {"13/0"}, walk}, {1, 1, 0, {kKeyUp}, 1, 0, {"1/0"}, walk},
        {2, 1, 0, {kKeyUp}, 1, 0, {"1/0"}, walk}, {25, 26, 0, {kKeyDown}, 26, 0, {"26/0"}, walk},
        {26, 26, 0, {kKeyDown}, 26, 0, {"26/0"}, walk}, {1, 1, -5, {kKeyLeft}, 1, -5, {}, {}},
        {1, 1, -4, {kKeyLeft}, 1, -5, {"1/-5"}, step},
        {12, 12, 0, {kKeyRight}, 12, 1, {"12/1"}, step}, {1, 1, 6, {kKeyRight}, 1, 6, {}, {}},
        {1, 1, 5, {kKeyRight}, 1, 6, {"1/6"}, step}, {4, 4, 8, {kKeyRight}, 4, 8, {}, {}},
        {5, 5, 9, {kKeyRight}, 5, 10, {"5/10"}, step}, {7, 7, 10, {kKeyRight}, 7, 10, {}, {}},
        {4, 4, -5, {kKeyLeft}, 4, -5, {}, {}}, {5, 5, -6, {kKeyLeft}, 5, -7, {"5/-7"}, step},
        {7, 7, -7, {kKeyLeft}, 7, -7, {}, {}}, {8, 8, -7, {kKeyLeft}, 8, -8, {"8/-8"}, step},
        {8, 8, -8, {kKeyLeft}, 8, -8, {}, {}}, {8, 8, 11, {kKeyRight}, 8, 12, {"8/12"}, step},
        {12, 12, 2, {kKeyLeft}, 12, 1, {"12/1"}, step},
        {26, 26, 11, {kKeyRight}, 26, 12, {"26/12"}, step},
        {26, 26, 8, {kKeyRight, kKeyRight, kKeyRight}, 26, 11, {}, {}}};
    // clang-format on
    for (auto [s, lever_string, lever, keys, want_string, want_lever, sound, views] : cases) {
        SCOPED_TRACE(testing::Message() << "string " << s << " first key " << keys[0]);
        if (views == step) views.back() += std::to_string(want_string);
        Keys k;
        k.st.selection.cur_string = static_cast<std::int16_t>(s);
        k.st.settings.mandal_pos[lever_string] = static_cast<std::int16_t>(lever);
        for (int key : keys) k.down(key);
        EXPECT_EQ(
            std::tuple(int{k.st.selection.cur_string}, int{k.st.settings.mandal_pos[want_string]},
                       k.sound.calls, k.views.calls, k.dialogs.texts()),
            std::tuple(want_string, want_lever, sound, views, Calls{}));
        EXPECT_TRUE(views != walk || k.st.selection.last_string == want_string);
    }
}

}  // namespace
}  // namespace orvena
