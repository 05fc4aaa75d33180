// A MIDI keyboard playing the shipped instrument: held and released notes, the sustain
// pedal, the panic messages and the locks the letter keys obey.

#include <gtest/gtest.h>

#include <vector>

#include "playing/midi_player.h"
#include "playing/recording_views.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using test::Calls;
using test::SoundCall;
using Sounds = std::vector<SoundCall>;
using Message = std::vector<unsigned char>;

// Key 69 is A4 (string 12), key 60 C4 (string 17); key 61 has no string.
Message on(int key, int velocity = 100, int channel = 0) {
    return {static_cast<unsigned char>(0x90 | channel), static_cast<unsigned char>(key),
            static_cast<unsigned char>(velocity)};
}
Message off(int key) {
    return {0x80, static_cast<unsigned char>(key), 64};
}
Message pedal(int value) {
    return {0xB0, 64, static_cast<unsigned char>(value)};
}
const Message kAllNotesOff{0xB0, 123, 0};

struct MidiKeys : test::RecordedPlay {
    MidiKeys() {
        set_lever_limits(st);
        set_names(st);
        EXPECT_FALSE(import_tuning(st, test::source_dir() / "data" / "dizek.xls"));
        for (int s = 0; s <= kStringCount; ++s) st.wav_files[s] = "wav" + std::to_string(s);
        st.manual_levers = true;
        st.cur_string = 1;
    }
    void send(const std::vector<Message>& messages) {
        for (const Message& m : messages) player.receive(m);
    }
    bool box_open = false;
    MidiPlayer player{ctx, [this] { return box_open; }};
};

const SoundCall a4_on = SoundCall::alias_on("wav12", "A4");
const SoundCall a4_off = SoundCall::alias_off("A4");
const SoundCall c4_on = SoundCall::alias_on("wav17", "C4");
const SoundCall c4_off = SoundCall::alias_off("C4");

TEST(MidiKeys, HoldReleaseSustainAndPanic) {
    struct Case {
        const char* what;
        std::vector<Message> messages;
        Sounds sound;
    };
    // clang-format off
    const Case cases[] = {
        {"a key holds its string until released", {on(69), off(69)}, {a4_on, a4_off}},
        {"velocity 0 releases", {on(69), on(69, 0)}, {a4_on, a4_off}},
        {"every channel plays", {on(69, 90, 9), on(69, 0, 9)}, {a4_on, a4_off}},
        {"a key without a string is silent", {on(61), off(61)}, {}},
        {"a chord, released one by one", {on(69), on(60), off(60), off(69)},
         {a4_on, c4_on, c4_off, a4_off}},
        {"a second note-on of a held key does nothing", {on(69), on(69), off(69)},
         {a4_on, a4_off}},
        {"the pedal keeps a released note until it goes up",
         {on(69), pedal(127), off(69), pedal(0)}, {a4_on, a4_off}},
        // The second press asks for the open note again, which goes on sounding.
        {"a key pressed again under the pedal still holds at pedal up",
         {pedal(64), on(69), off(69), on(69), pedal(0), off(69)}, {a4_on, a4_on, a4_off}},
        {"below 64 the pedal is up", {pedal(63), on(69), off(69)}, {a4_on, a4_off}},
        {"all notes off stops held and kept notes",
         {pedal(127), on(69), off(69), on(60), kAllNotesOff, off(60), pedal(0)},
         {a4_on, c4_on, a4_off, c4_off}},
        {"short and unknown messages are ignored",
         {{0x90, 69}, {0xF8}, {}, {0xE0, 0, 64}, {0xB0, 1, 127}}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MidiKeys k;
        k.send(c.messages);
        // What the pedal kept stops only after the pedal message, so order is the test.
        EXPECT_EQ(k.sound.calls, c.sound);
    }
}

TEST(MidiKeys, ShowTheKeyAndSelectTheStringLikeALetterKey) {
    MidiKeys k;
    k.send({on(69)});
    EXPECT_EQ(k.st.cur_string, 12);
    EXPECT_EQ(k.st.last_string, 12);
    k.send({on(60), off(60)});
    EXPECT_EQ(k.views.calls, (Calls{"key down 12", "key down 17", "key up 17"}));
    EXPECT_EQ(k.st.cur_string, 17);
}

// The key-up stops the string the key started, though the levers moved it meanwhile.
TEST(MidiKeys, ReleaseStopsTheStringTheKeyStartedAfterALeverMoved) {
    MidiKeys k;
    k.send({on(69)});
    k.st.mandal_pos[12] = -8;  // A4 now sounds G#4 (key 68)
    k.send({off(69), on(68), off(68)});
    EXPECT_EQ(k.sound.calls, (Sounds{a4_on, a4_off, a4_on, a4_off}));
}

TEST(MidiKeys, PlayOnlyWhereALetterKeyWould) {
    struct Gate {
        const char* what;
        void (*set)(MidiKeys&);
        Sounds sound;
    };
    // clang-format off
    const Gate gates[] = {
        {"recording", [](MidiKeys& k) { k.st.recording = true; }, {}},
        {"a replay or a sequence playing", [](MidiKeys& k) { k.st.seq_playing = true; }, {}},
        {"a message box open", [](MidiKeys& k) { k.box_open = true; }, {}},
        // Typing a makam name takes letters, not the MIDI keyboard.
        {"the makam name box has the focus", [](MidiKeys& k) { k.st.text1_has_focus = true; },
         {a4_on, a4_off}},
    };
    // clang-format on
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.what);
        MidiKeys k;
        g.set(k);
        k.send({on(69), pedal(127), off(69), pedal(0)});
        EXPECT_EQ(k.sound.calls, g.sound);
        EXPECT_EQ(k.st.cur_string, g.sound.empty() ? 1 : 12);
    }
}

// A device that goes away mid-note leaves nothing sounding, even while a playback runs.
TEST(MidiKeys, ReleaseAllStopsHeldAndKeptNotesWhateverTheLocks) {
    MidiKeys k;
    k.send({on(60), pedal(127), on(69), off(69)});
    k.st.seq_playing = true;
    k.forget();
    k.player.release_all();
    EXPECT_EQ(k.sound.calls, (Sounds{a4_off, c4_off}));
    EXPECT_EQ(k.views.calls, (Calls{"key up 12", "key up 17"}));
    k.st.seq_playing = false;
    k.forget();
    k.send({pedal(0), off(60)});  // nothing is left to stop
    EXPECT_EQ(k.sound.calls, Sounds{});
}

}  // namespace
}  // namespace orvena
