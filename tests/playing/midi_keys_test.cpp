// A MIDI keyboard on the shipped instrument: keys, held and kept notes, locks, its saved port.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <sstream>

#include "playing/midi_player.h"
#include "playing/midi_settings.h"
#include "playing/recording_views.h"
#include "sound/sound_settings.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using test::Calls;
using Message = std::vector<int>;       // bytes
using KeyStrings = std::map<int, int>;  // key -> string, keys that play only

KeyStrings playing_keys(const MidiKeyMap& map) {
    KeyStrings keys;
    for (int k = 0; k < kMidiKeyCount; ++k)
        if (map[k] != 0) keys[k] = map[k];
    return keys;
}

struct Shipped : test::RecordedPlay {
    Shipped() {
        set_lever_limits(st.build);
        set_names(st.build);
        EXPECT_FALSE(import_tuning(st, test::source_dir() / "data" / "dizek.xls"));
        for (int s = 0; s <= kStringCount; ++s) st.build.wav_files[s] = "wav" + std::to_string(s);
    }
    void send(const Message& m) { player.receive(std::vector<unsigned char>(m.begin(), m.end())); }
    MidiPlayer player{ctx, nullptr};  // the message-box lock is the window's
};

// Pitches of strings 1, 2, .. (MIDI key numbers) and the keys they get.
TEST(MidiKeyMap, HalfWayCrowdedAndOutOfRangeStrings) {
    // clang-format off
    const std::pair<std::vector<double>, KeyStrings> cases[] = {
        // Half-way below each of the twelve notes, C# (1) .. D (122): to the upper key if white.
        {{0.5, 11.5, 22.5, 33.5, 44.5, 55.5, 66.5, 77.5, 88.5, 99.5, 110.5, 121.5}, {{0, 1}, {12, 2},
         {23, 3}, {33, 4}, {45, 5}, {55, 6}, {67, 7}, {77, 8}, {89, 9}, {100, 10}, {110, 11}, {122, 12}}},
        {{60.1, 59.8}, {{60, 1}, {59, 2}}},                 // the loser moves to its own side
        {{60.2, 60.2}, {{60, 1}, {61, 2}}},                 // a tie: the lower string number
        {{60.0, 60.3, 60.4}, {{60, 1}, {61, 2}}},           // no room left: no key
        {{60.0, 60.3, 61.0}, {{60, 1}, {61, 3}}},           // a key's own string keeps it
        {{127.2, 127.4, -0.4, 128.0}, {{127, 1}, {0, 3}}},  // the keyboard's ends
        {{-1.0, 60.0}, {{60, 2}}},                          // a string without a pitch: no key
    };
    // clang-format on
    for (const auto& [given, want] : cases) {
        StringKeyPitches pitches;
        pitches.fill(-1000.0);
        std::copy(given.begin(), given.end(), pitches.begin());
        EXPECT_EQ(playing_keys(midi_key_map(pitches)), want) << given[0] << " " << given[1];
    }
}

// At rest the strings lie on the white keys A2 (45) .. E6 (88): key 69 is A4 (string 12), 60
// C4 (string 17), 84 C6 (string 3); 61 has no string.
TEST(MidiKeys, HoldReleaseSustainPanicAndLocks) {
    const auto on = [](int key, int velocity = 100, int channel = 0) {
        return Message{0x90 | channel, key, velocity};
    };
    const auto off = [](int key) { return Message{0x80, key, 64}; };
    const auto pedal = [](int value) { return Message{0xB0, 64, value}; };
    const std::string a4_on = "on 12/0 A4", a4_off = "off A4", c4_on = "on 17/0 C4";
    using Set = std::function<void(Shipped&)>;
    // clang-format off
    const std::tuple<const char*, Set, std::vector<Message>, Calls> cases[] = {
        {"held until released", {}, {on(69), off(69)}, {a4_on, a4_off}},
        {"velocity 0 releases, any channel", {}, {on(69, 90, 9), on(69, 0, 9)}, {a4_on, a4_off}},
        {"a key without a string", {}, {on(61), off(61)}, {}},
        {"the lowest string too", {}, {on(45), off(45)}, {"on 26/0 A2", "off A2"}},
        {"the pedal keeps until up", {}, {on(69), pedal(127), off(69), pedal(0)}, {a4_on, a4_off}},
        {"pressed again under the pedal", {},
         {pedal(64), on(69), off(69), on(69), pedal(0), off(69)}, {a4_on, a4_on, a4_off}},
        {"below 64 the pedal is up", {}, {pedal(63), on(69), off(69)}, {a4_on, a4_off}},
        {"all notes off", {},
         {pedal(127), on(69), off(69), on(60), {0xB0, 123, 0}, off(60), pedal(0)},
         {a4_on, c4_on, a4_off, "off C4"}},
        {"all sound off", {}, {pedal(127), on(69), off(69), {0xB1, 120, 0}}, {a4_on, a4_off}},
        {"short and unknown messages", {}, {{0x90, 69}, {0xF8}, {}, {0xE0, 0, 64}, {0xB0, 1}}, {}},
        {"the key-up stops the string its key-down started",
         [&](Shipped& p) { p.send(on(69)), p.st.settings.mandal_pos[12] = -8; },  // A4 is on key 68 now
         {off(69), on(68)}, {a4_on, a4_off, "on 12/-8 A4"}},
        {"levers (hicaz) and fine tuning move strings to other keys",
         [](Shipped& p) { p.st.settings.mandal_pos[3] = 5, p.st.settings.akord_offset[12] = 60; },
         {on(84), on(85), on(69), on(70)}, {"on 3/5 C6", a4_on}},
        {"a replay or sequence", [](Shipped& p) { p.st.transport.seq_playing = true; }, {on(69)}, {}},
        {"typing a makam name takes letters, not MIDI",
         [](Shipped& p) { p.st.selection.text1_has_focus = true; }, {on(69), off(69)}, {a4_on, a4_off}},
    };
    // clang-format on
    for (const auto& [what, set, messages, sound] : cases) {
        SCOPED_TRACE(what);
        Shipped p;
        if (set) set(p);
        for (const Message& m : messages) p.send(m);
        EXPECT_EQ(p.sound.calls, sound);
    }
}

// The saved port is found again after a replug renumbers it; a name with control characters or
// a FIFO in place of the file gives no port; the sound settings stay; a name a user wrote
// with a comma and no quotes keeps its comma; a file that cannot be written says so.
TEST(MidiSettingsFile, ThePortIsReadBackSafelyAndFoundAfterAReplug) {
    const std::string port = "Keys:Keys MIDI 1 20:0";
    const std::vector<std::string> found{"Midi Through:Midi Through Port-0 14:0", port};
    EXPECT_EQ(
        std::pair(find_midi_port(found, port), find_midi_port(found, "Keys:Keys MIDI 1 24:0")),
        std::pair(std::optional(port), std::optional(port)));
    EXPECT_FALSE(find_midi_port(found, "Pads:Pads MIDI 1 28:0") || find_midi_port(found, ""));
    test::ensure_qt_app();
    test::TempDir dir;
    const auto file = dir / kSettingsFileName;
    std::ostringstream log;
    test::write_file_bytes(file, "[sound]\nbuffer_frames=256\n[midi]\nport=K\\x1b[2J\n");
    EXPECT_EQ(read_midi_port(file, log), "");
    EXPECT_NE(log.str().find("control characters; MIDI input is off"), std::string::npos);
    const std::string odd = "Çalgı, Port 1 \"2\" 24:0";
    ASSERT_TRUE(write_midi_port(file, odd));
    EXPECT_EQ(std::pair(read_midi_port(file, log), read_sound_settings(file, log).block_frames),
              std::pair(odd, 256u));
    test::write_file_bytes(file, "[midi]\nport=Keys, MIDI 1 20:0\n");  // edited by hand
    EXPECT_EQ(read_midi_port(file, log), "Keys,MIDI 1 20:0");
    std::filesystem::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    EXPECT_EQ(read_midi_port(file, log), "");
    test::write_file_bytes(dir / "plain", "");  // a file where the folder should be
    EXPECT_FALSE(write_midi_port(dir / "plain" / kSettingsFileName, port));
}

}  // namespace
}  // namespace orvena
