// The bytes the MIDI export sends a synthesizer: tuning changes, registered parameters, pitch
// bends, variable-length times and the file's chunks. Expected bytes worked out by hand from
// the MIDI Tuning Standard (a key and 14 bits of a semitone) and the file format.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "interchange/midi_file.h"
#include "interchange/midi_tuning.h"
#include "interchange/smf_writer.h"

namespace orvena {
namespace {

using namespace std::string_literals;

struct TuningCase {
    double pitch;
    std::optional<MidiBytes> frequency;  // xx yy zz; nothing when the pitch cannot be sent
};

TEST(MidiTuning, FrequencyBytesCarryKeyAndFourteenBitsOfASemitone) {
    const TuningCase cases[] = {
        {69.0, MidiBytes{0x45, 0x00, 0x00}},
        {60.5, MidiBytes{0x3C, 0x40, 0x00}},   // 8192 / 16384
        {64.25, MidiBytes{0x40, 0x20, 0x00}},  // 4096
        {70.0 + 1.0 / 16384, MidiBytes{0x46, 0x00, 0x01}},
        {68.0 + 16383.0 / 16384, MidiBytes{0x44, 0x7F, 0x7F}},
        {61.99999, MidiBytes{0x3E, 0x00, 0x00}},  // rounds up to the next key
        {0.0, MidiBytes{0x00, 0x00, 0x00}},
        {127.0 + 16382.0 / 16384, MidiBytes{0x7F, 0x7F, 0x7E}},
        {127.0 + 16383.0 / 16384, std::nullopt},  // 7F 7F 7F means "no change"
        {127.99999, std::nullopt},                // rounds up beyond the last key
        {-0.01, std::nullopt},
        {std::nan(""), std::nullopt},
    };
    for (const TuningCase& c : cases) {
        SCOPED_TRACE(c.pitch);
        const auto bytes = mts_frequency(c.pitch);
        ASSERT_EQ(bytes.has_value(), c.frequency.has_value());
        if (bytes) {
            EXPECT_EQ(MidiBytes(bytes->begin(), bytes->end()), *c.frequency);
        }
    }
}

TEST(MidiTuning, NoteChangeIsAUniversalRealTimeSingleNoteMessage) {
    // Key 70 of program 2 to 69.75: key 69, 3/4 of 16384 = 12288 = 0x60 0x00.
    EXPECT_EQ(mts_note_change(2, 70, 69.75),
              (MidiBytes{0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x02, 0x01, 0x46, 0x45, 0x60, 0x00, 0xF7}));
    EXPECT_FALSE(mts_note_change(0, 60, 200.0));
}

TEST(MidiTuning, ChannelMessages) {
    const auto parameter = [](std::uint8_t ch, std::uint8_t lsb, std::uint8_t value) {
        const std::uint8_t cc = 0xB0 | ch;
        return MidiBytes{cc, 101, 0, cc, 100, lsb, cc, 6, value, cc, 101, 127, cc, 100, 127};
    };
    MidiBytes tuning = parameter(3, 4, 0);  // the bank, then the program that switches
    const MidiBytes program = parameter(3, 3, 5);
    tuning.insert(tuning.end(), program.begin(), program.end());
    EXPECT_EQ(select_tuning(3, 0, 5), tuning);
    EXPECT_EQ(bend_range(1, 2), parameter(1, 0, 2));
    // 8192 + semitones / range * 8192, low seven bits first.
    EXPECT_EQ(pitch_bend(2, 0.0, 2.0), (MidiBytes{0xE2, 0x00, 0x40}));
    EXPECT_EQ(pitch_bend(2, 0.5, 2.0), (MidiBytes{0xE2, 0x00, 0x50}));
    EXPECT_EQ(pitch_bend(2, -0.25, 2.0), (MidiBytes{0xE2, 0x00, 0x38}));
    EXPECT_EQ(pitch_bend(15, 2.0, 2.0), (MidiBytes{0xEF, 0x7F, 0x7F}));  // saturates
    EXPECT_EQ(pitch_bend(0, -3.0, 2.0), (MidiBytes{0xE0, 0x00, 0x00}));
}

TEST(SmfWriter, VariableLengthNumbers) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {0, "\x00"s},
        {0x7F, "\x7F"s},
        {0x80, "\x81\x00"s},
        {0x2000, "\xC0\x00"s},
        {0x3FFF, "\xFF\x7F"s},
        {0x4000, "\x81\x80\x00"s},
        {0x0FFFFFFF, "\xFF\xFF\xFF\x7F"s},
    };
    for (const auto& [value, bytes] : cases) EXPECT_EQ(midi_varlen(value), bytes) << value;
    EXPECT_THROW(midi_varlen(0x10000000), std::out_of_range);
}

TEST(SmfWriter, TrackKeepsTimeOrderAndTheOrderOfOneTick) {
    SmfTrack track;
    track.channel(200, {0x80, 60, 0});
    track.channel(0, {0x90, 60, 100, 0xC0, 15});  // two messages: split, full status each
    track.sysex(200, {0xF0, 0x7E, 0xF7});
    track.name("ab");
    track.time_signature(0, 4, 2);  // 4/4, 24 clocks a click, 8 32nds a quarter
    const std::string expected = "MTrk\x00\x00\x00\x23"s + "\x00\x90\x3C\x64"s + "\x00\xC0\x0F"s +
                                 "\x00\xFF\x03\x02"s + "ab" + "\x00\xFF\x58\x04\x04\x02\x18\x08"s +
                                 "\x81\x48\x80\x3C\x00"s +  // 200 ticks later
                                 "\x00\xF0\x02\x7E\xF7"s + "\x00\xFF\x2F\x00"s;
    EXPECT_EQ(track.chunk(), expected);
    EXPECT_THROW(track.sysex(0, {0xF0, 0x01}), std::invalid_argument);
    EXPECT_THROW(track.channel(0, {0x90, 60}), std::invalid_argument);
    EXPECT_THROW(track.channel(0, {0xF8}), std::invalid_argument);
    EXPECT_EQ(smf_file({}, 480), "MThd\x00\x00\x00\x06\x00\x01\x00\x00\x01\xE0"s);
}

struct TickCase {
    std::int64_t ms;
    int speed;
    std::uint32_t tick;
};

// 480 ticks to the quarter, a quarter of 16 units of `speed` ms: 30 ticks a unit.
TEST(MidiFile, TicksOfDottedTripletAndHeldDurations) {
    const TickCase cases[] = {
        {640, 40, 480},    // a quarter at the start speed
        {960, 40, 720},    // dotted quarter, 24 units
        {200, 40, 150},    // triplet eighth: the player's 5 units
        {120, 40, 90},     // triplet sixteenth, 3 units
        {1600, 40, 1200},  // a half tied to an eighth: 40 units
        {1, 40, 1},        // 0.75 of a tick
        {2, 40, 2},        // 1.5 ticks: a half rounds up
        {960, 60, 480},    // a quarter at speed 60
        {287, 40, 215},    // a recorded interval between ticks (215.25)
    };
    for (const TickCase& c : cases) EXPECT_EQ(midi_tick(c.ms, c.speed), c.tick) << c.ms;
    EXPECT_EQ(midi_tempo(40), 640000u);
    EXPECT_EQ(midi_tempo(30), 480000u);
    EXPECT_THROW(midi_tick(-1, 40), std::out_of_range);
    EXPECT_THROW(midi_tick(6'000'000'000'000, 40), std::out_of_range);
    EXPECT_THROW(midi_tick(100, 0), std::out_of_range);
}

}  // namespace
}  // namespace orvena
