// Which string each key of a MIDI keyboard plays, with the shipped workbook and for the
// rule's edge cases.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "playing/midi_key_map.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using KeyStrings = std::map<int, int>;  // key -> string, only keys that play

KeyStrings playing_keys(const MidiKeyMap& map) {
    KeyStrings keys;
    for (int k = 0; k < kMidiKeyCount; ++k) {
        if (map[k] != 0) keys[k] = map[k];
    }
    return keys;
}

InstrumentState shipped_instrument() {
    InstrumentState st;
    set_lever_limits(st);
    EXPECT_FALSE(import_tuning(st, test::source_dir() / "data" / "dizek.xls"));
    return st;
}

// With every lever at 0 the strings lie on the white keys from A2 (45) to E6 (88); levers and
// fine tuning move them, and what moved leaves its key silent.
TEST(MidiKeyMap, FollowsTheLeversInForceOfTheShippedWorkbook) {
    const int white_keys[] = {88, 86, 84, 83, 81, 79, 77, 76, 74, 72, 71, 69, 67,
                              65, 64, 62, 60, 59, 57, 55, 53, 52, 50, 48, 47, 45};
    KeyStrings at_rest;
    for (int s = 1; s <= kStringCount; ++s) at_rest[white_keys[s - 1]] = s;

    struct Case {
        const char* what;
        std::function<void(InstrumentState&)> set;
        KeyStrings changed;  // keys that differ from levers at rest (string 0: silent)
    };
    // clang-format off
    const Case cases[] = {
        {"levers at 0", [](InstrumentState&) {}, {}},
        {"hicaz: C6 raised five steps, B5 lowered three",
         [](InstrumentState& st) { st.mandal_pos[3] = 5; st.mandal_pos[4] = -3; },
         {{84, 0}, {85, 3}, {83, 0}, {82, 4}}},
        {"A4 lowered to its lowest lever, G#4",
         [](InstrumentState& st) { st.mandal_pos[12] = -8; }, {{69, 0}, {68, 12}}},
        {"fine tuning of +60 cents moves A4 to A#4",
         [](InstrumentState& st) { st.akord_offset[12] = 60; }, {{69, 0}, {70, 12}}},
        {"E4 raised onto F4: the lower string number keeps F4, E4 moves up to F#4",
         [](InstrumentState& st) { st.mandal_pos[15] = 7; }, {{64, 0}, {66, 15}}},
        {"F4 raised a little, E4 onto F4: the nearer string keeps F4",
         [](InstrumentState& st) { st.mandal_pos[14] = 1; st.mandal_pos[15] = 7; },
         {{64, 0}, {65, 15}, {66, 14}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstrumentState st = shipped_instrument();
        c.set(st);
        KeyStrings want = at_rest;
        for (const auto& [key, s] : c.changed) {
            if (s == 0) {
                want.erase(key);
            } else {
                want[key] = s;
            }
        }
        EXPECT_EQ(playing_keys(midi_key_map(st)), want);
    }
}

// The rule on pitches given directly (fractional key numbers; strings not listed lie far out
// of the keyboard's range and play no key).
TEST(MidiKeyMap, HalfWayCrowdedAndOutOfRangeStrings) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, double>> pitches;  // string, pitch
        KeyStrings want;
    };
    // clang-format off
    const Case cases[] = {
        {"half-way between B and C takes C", {{1, 59.5}}, {{60, 1}}},
        {"half-way between C and C# takes C", {{1, 60.5}}, {{60, 1}}},
        {"half-way between F# and G takes G", {{1, 66.5}}, {{67, 1}}},
        {"equal distance: the lower string number keeps the key", {{5, 60.2}, {2, 60.2}},
         {{60, 2}, {61, 5}}},
        {"the loser moves to its own side", {{1, 60.1}, {2, 59.8}}, {{60, 1}, {59, 2}}},
        {"three on one key: the third finds its side taken",
         {{1, 60.0}, {2, 60.3}, {3, 60.4}}, {{60, 1}, {61, 2}}},
        {"a neighbour's own key is not taken from it", {{1, 60.0}, {2, 60.3}, {3, 61.0}},
         {{60, 1}, {61, 3}}},
        {"the keyboard's ends", {{1, 127.2}, {2, 127.4}, {3, -0.4}, {4, 128.0}},
         {{127, 1}, {0, 3}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StringKeyPitches pitches;
        pitches.fill(-1000.0);
        for (const auto& [s, pitch] : c.pitches) pitches[s - 1] = pitch;
        EXPECT_EQ(playing_keys(midi_key_map(pitches)), c.want);
    }
}

}  // namespace
}  // namespace orvena
