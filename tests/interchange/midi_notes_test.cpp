// Which notes the MIDI export writes and how: the notes a recording or a sequence sounds in
// the WAV export (silent plucks left out, a note ending with its sample), their pitch and
// key, and the events of both tuning forms in the file.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "interchange/midi_file.h"
#include "interchange/played_notes.h"
#include "recording/render_command.h"
#include "smf_events.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

using Bytes = std::vector<std::uint8_t>;

InstrumentState started_instrument() {
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, test::program_dir()))
        ADD_FAILURE() << *problem;
    return st;
}

double key_of_hz(double hz) {
    return 69.0 + 12.0 * std::log2(hz / 440.0);
}

// Milliseconds the sample of string s lasts at rate_hz, rounded up, read with libsndfile.
std::int64_t sample_ms(const InstrumentState& st, int s, std::int32_t rate_hz) {
    SF_INFO info{};
    SNDFILE* f = sf_open((test::program_dir() / st.wav_files[s]).c_str(), SFM_READ, &info);
    if (f == nullptr) return -1;
    sf_close(f);
    return (info.frames * 1000 + rate_hz - 1) / rate_hz;
}

struct NotesCase {
    const char* name;
    bool sequence;
    const char* text;
    std::vector<std::array<std::int64_t, 3>>
        notes;  // start ms, end ms (-1: its sample's end), string
};

// Speed 40: a quarter 640 ms, an eighth 320, the rest "27" 4 units = 160 ms. String 7 is
// silenced (rate 0) and string 9's sample is missing in every case.
const NotesCase kNotesCases[] = {
    {"recording_cut_by_the_next_pluck_or_by_its_sample",
     false,
     " 12 0 300\r\n 5 0 5000\r\n 14 0 100\r\n",
     {{0, 300, 12}, {300, -1, 5}, {5300, 5400, 14}}},
    {"silent_plucks_leave_no_note_but_cut_the_one_before",
     false,
     " 12 0 300\r\n 7 0 200\r\n 9 0 200\r\n 13 0 100\r\n",
     {{0, 300, 12}, {700, 800, 13}}},
    {"sequence_rest_cuts_and_waits",
     true,
     "0,8,3,0,0,0,0,0,0,0\r\n0,27,0,0,0,0,0,0,0,0\r\n0,9,4,0,0,0,0,0,0,0\r\n",
     {{0, 640, 12}, {800, 1120, 13}}},
    {"sequence_note_of_no_time_is_left_out",
     true,
     "0,8,9,0,0,0,0,0,0,0\r\n0,9,4,0,0,0,0,0,0,0\r\n",
     {{0, 320, 13}}},
};

void PrintTo(const NotesCase& c, std::ostream* out) {
    *out << c.name;
}

class PlayedNotes : public testing::TestWithParam<NotesCase> {};

TEST_P(PlayedNotes, AreTheSoundingPlucksOfTheWavExport) {
    const NotesCase& c = GetParam();
    InstrumentState st = started_instrument();
    st.sample_rate(7, 0) = 0;
    st.wav_files[9] = "yok.wav";
    const RenderSchedule schedule = c.sequence
                                        ? schedule_sequence(c.text, st, AccidentalSource::File)
                                        : schedule_recording(c.text, st);
    SampleBank bank(test::program_dir());
    const std::vector<PlayedNote> notes = played_notes(schedule, st, bank);
    ASSERT_EQ(notes.size(), c.notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const auto [start, end, string] = c.notes[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(notes[i].start_ms, start);
        EXPECT_EQ(notes[i].end_ms, end >= 0 ? end : start + sample_ms(st, 5, st.sample_rate(5, 0)));
        EXPECT_EQ(notes[i].sample_string, string);
        EXPECT_NEAR(notes[i].pitch, key_of_hz(st.freq(string, 0)), 0.001);
    }
}

INSTANTIATE_TEST_SUITE_P(MidiExport, PlayedNotes, testing::ValuesIn(kNotesCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The pitch follows the rate the pluck is played at (fine tuning included), and the key is the
// one the MIDI keyboard gives the string.
TEST(PlayedNotes, PitchFollowsTheRateAndTheKeyTheKeyboardMap) {
    InstrumentState st = started_instrument();
    st.akord_offset[12] = 10;
    recompute_string_rates(st, 12, true);
    EXPECT_NEAR(pluck_pitch(st, 12, st.sample_rate(12, 0)), key_of_hz(st.freq(12, 0)) + 0.10,
                0.0005);
    EXPECT_NEAR(pluck_pitch(st, 12, st.sample_rate(12, 0) * 2), key_of_hz(st.freq(12, 0)) + 12.1,
                0.0005);
    EXPECT_TRUE(std::isnan(pluck_pitch(st, 12, 0)));
    // Strings 3 (C6) and 12 (A4) at lever 0 sit on their white keys; C6 six steps high (the
    // raised C of hicaz) moves to C#6.
    EXPECT_EQ(played_key(st, 3, key_of_hz(st.freq(3, 0))), 84);
    EXPECT_EQ(played_key(st, 12, key_of_hz(st.freq(12, 0))), 69);
    EXPECT_EQ(played_key(st, 3, key_of_hz(st.freq(3, 6))), 85);
    // A4 pulled a semitone down lands on G#4's key, which no string holds.
    EXPECT_EQ(played_key(st, 12, key_of_hz(st.freq(12, 0)) - 1.0), 68);
}

std::vector<test::SmfEvent> note_events(const std::string& file) {
    const test::SmfContents smf = test::read_smf(file);
    EXPECT_EQ(smf.format, 1);
    EXPECT_EQ(smf.division, 480);
    EXPECT_EQ(smf.tracks.size(), 1u);
    std::vector<test::SmfEvent> out;
    for (const test::SmfEvent& e : smf.tracks.at(0)) {
        const std::uint8_t kind = e.bytes[0] & 0xF0;
        if (kind == 0x80 || kind == 0x90 || kind == 0xE0 || e.bytes[0] == 0xF0) out.push_back(e);
    }
    return out;
}

TEST(MidiFile, TuningStandardRetunesEachKeyBeforeItsNote) {
    const std::vector<PlayedNote> notes = {{0, 640, 12, 68.99, 69}, {640, 700, 5, 81.2, 81}};
    const std::string file = midi_file(notes, 40, MidiTuning::mts, "ezgi");
    const test::SmfContents smf = test::read_smf(file);
    const auto& head = smf.tracks.at(0);
    ASSERT_GE(head.size(), 4u);
    EXPECT_EQ(head[0].bytes, (Bytes{0xFF, 0x03, 'e', 'z', 'g', 'i'}));
    EXPECT_EQ(head[1].bytes, (Bytes{0xFF, 0x51, 0x09, 0xC4, 0x00}));  // 640000 us a quarter
    EXPECT_EQ(head[3].bytes, (Bytes{0xC0, 15}));
    // 68.99: key 68 and 16220/16384; 81.2: key 81 and 3277/16384.
    const std::vector<std::pair<std::uint32_t, Bytes>> expected = {
        {0, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 69, 68, 0x7E, 0x5C, 0xF7}},
        {0, {0x90, 69, 100}},
        {480, {0x80, 69, 0}},
        {480, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 81, 81, 0x19, 0x4D, 0xF7}},
        {480, {0x90, 81, 100}},
        {525, {0x80, 81, 0}},
    };
    const auto events = note_events(file);
    ASSERT_EQ(events.size(), expected.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].tick, expected[i].first) << i;
        EXPECT_EQ(events[i].bytes, expected[i].second) << i;
    }
}

TEST(MidiFile, PitchBendFormDealsNotesToChannelsWithoutTheDrumChannel) {
    std::vector<PlayedNote> notes;
    for (int i = 0; i < 16; ++i) notes.push_back({i * 100, i * 100 + 100, 12, 60.25, 60});
    const auto events = note_events(midi_file(notes, 40, MidiTuning::bend, "ezgi"));
    ASSERT_EQ(events.size(), 3u * notes.size());
    const int channels[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 1, 2};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const auto ch = static_cast<std::uint8_t>(channels[i]);
        // +0.25 semitone of a 2-semitone range: 8192 + 1024 = 9216 = 0x48 0x00.
        EXPECT_EQ(events[3 * i].bytes, (Bytes{static_cast<std::uint8_t>(0xE0 | ch), 0x00, 0x48}));
        EXPECT_EQ(events[3 * i + 1].bytes, (Bytes{static_cast<std::uint8_t>(0x90 | ch), 60, 100}));
        EXPECT_EQ(events[3 * i + 2].bytes, (Bytes{static_cast<std::uint8_t>(0x80 | ch), 60, 0}));
    }
}

}  // namespace
}  // namespace orvena
