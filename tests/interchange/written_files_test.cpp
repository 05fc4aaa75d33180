// The MIDI and MusicXML files the exports write, read back apart from the writers; MIDI bytes
// worked out by hand from the MIDI Tuning Standard and the file format.

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "interchange/midi_file.h"
#include "interchange/midi_tuning.h"
#include "interchange/musicxml_score.h"
#include "interchange/played_notes.h"
#include "interchange/score_measures.h"
#include "interchange/smf_writer.h"
#include "interchange/staff_accidentals.h"
#include "recording/render_command.h"
#include "recording/render_schedule.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

using namespace std::string_literals;

// The events of a one-track Standard MIDI File with their absolute ticks, read apart from the
// writer; nothing when the header is not that of a format-1 file of 480 ticks a quarter.
using Bytes = std::vector<std::uint8_t>;
// The tick, then the status (or F0 / FF type) and data, no length bytes.
using SmfEvent = std::pair<std::uint32_t, Bytes>;

std::vector<SmfEvent> read_smf(const std::string& file) {
    std::vector<SmfEvent> events;
    if (!file.starts_with("MThd\0\0\0\x06\0\x01\0\x01\x01\xE0MTrk"s)) return events;
    std::size_t i = 18;
    const auto byte = [&file](std::size_t at) { return static_cast<std::uint8_t>(file.at(at)); };
    const auto varlen = [&] {
        std::uint32_t v = 0;
        for (std::uint8_t b = 0x80; b & 0x80; v = (v << 7) | (b & 0x7F)) b = byte(i++);
        return v;
    };
    const std::size_t end =
        22 + (std::uint32_t(byte(18)) << 24 | byte(19) << 16 | byte(20) << 8 | byte(21));
    std::uint32_t tick = 0;
    for (i = 22; i < end;) {
        tick += varlen();
        SmfEvent e{tick, {byte(i++)}};
        if (e.second[0] == 0xFF) e.second.push_back(byte(i++));
        const std::uint8_t kind = e.second[0] & 0xF0;
        const std::size_t size = e.second[0] >= 0xF0            ? varlen()
                                 : kind == 0xC0 || kind == 0xD0 ? 1
                                                                : 2;
        for (std::size_t k = 0; k < size; ++k) e.second.push_back(byte(i++));
        events.push_back(e);
    }
    return events;
}

// A recording's name and text, and its notes: start ms, end ms, string.
// String 7 is silenced (rate 0), string 9's sample is missing and string 26 plays at the
// highest playable rate, 1 MHz, in every case. The samples hold 132300 frames: 3 s at string
// 5's 44100 Hz, 132.3 ms at 1 MHz, of which the render reads the last in ms 133.
// clang-format off
const std::tuple<const char*, const char*, std::vector<std::array<std::int64_t, 3>>> kNotesCases[] = {
    {"recording_cut_by_the_next_pluck_or_by_its_sample", " 12 0 300\r\n 5 0 5000\r\n 14 0 100\r\n 26 0 500\r\n",
     {{0, 300, 12}, {300, 3300, 5}, {5300, 5400, 14}, {5400, 5533, 26}}},
    {"silent_or_at_once_cut_plucks_leave_no_note_but_cut_the_one_before", " 13 0 0\r\n 12 0 300\r\n 7 0 200\r\n 9 0 200\r\n 13 0 100\r\n",
     {{0, 300, 12}, {700, 800, 13}}},
};
// clang-format on

TEST(MidiExport, PlayedNotesAreTheSoundingPlucksOfTheWavExport) {
    for (const auto& [name, text, expected] : kNotesCases) {
        SCOPED_TRACE(name);
        InstrumentState st;
        ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
        st.derived.sample_rate(7, 0) = 0;
        st.build.wav_files[9] = "yok.wav";
        const double rate_26 = std::exchange(st.derived.sample_rate(26, 0), kMaxSampleRateHz);
        const RenderSchedule schedule = schedule_recording(text, st);
        SampleBank bank(test::program_dir());
        const std::vector<PlayedNote> notes = played_notes(schedule, st, bank);
        ASSERT_EQ(notes.size(), expected.size());
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const auto [start, end, string] = expected[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(std::tuple(notes[i].start_ms, notes[i].end_ms, notes[i].sample_string),
                      std::tuple(start, end, string));
            const double rate_ratio = string == 26 ? kMaxSampleRateHz / rate_26 : 1.0;
            const double pitch = 69 + 12 * std::log2(st.derived.freq(string, 0) * rate_ratio / 440);
            EXPECT_NEAR(notes[i].pitch, pitch, 0.001);
            EXPECT_EQ(notes[i].key, std::lround(pitch));
        }
    }
}

Bytes joined(const std::vector<SmfEvent>& events, std::size_t from, std::size_t to) {
    Bytes out;
    for (std::size_t i = from; i < to; ++i)
        out.insert(out.end(), events[i].second.begin(), events[i].second.end());
    return out;
}

std::vector<SmfEvent> note_events(const std::string& file) {
    std::vector<SmfEvent> out;
    for (const SmfEvent& e : read_smf(file)) {
        const std::uint8_t kind = e.second[0] & 0xF0;
        if (kind == 0x80 || kind == 0x90 || kind == 0xE0 || e.second[0] == 0xF0) out.push_back(e);
    }
    return out;
}

// 480 ticks to the quarter of 16 units of 40 ms: a note ending at 701 ms ends 525.75 ticks in.
// Each key is retuned to its note's pitch: 68.99 is key 68 and 16220/16384 of a semitone,
// 81.2 key 81 and 3277/16384, 61.99999 rounds up to key 62.
TEST(MidiFile, TuningStandardRetunesEachKeyBeforeItsNote) {
    const std::vector<PlayedNote> notes = {
        {0, 640, 12, 68.99, 69}, {640, 701, 5, 81.2, 81}, {701, 750, 3, 61.99999, 62}};
    const std::string file = midi_file(notes, 40, MidiTuning::mts, "ezgi");
    const auto head = read_smf(file);
    ASSERT_GE(head.size(), 14u);
    EXPECT_EQ(head[0].second, (Bytes{0xFF, 0x03, 'e', 'z', 'g', 'i'}));
    EXPECT_EQ(head[1].second, (Bytes{0xFF, 0x51, 0x09, 0xC4, 0x00}));  // 640000 us a quarter
    // 4/4, 24 clocks a click, 8 32nds a quarter
    EXPECT_EQ(head[2].second, (Bytes{0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}));
    EXPECT_EQ(head[3].second, (Bytes{0xC0, 15}));
    // Tuning bank 0 (parameter 4), then tuning program 0 (parameter 3), each closed by 7F 7F.
    EXPECT_EQ(joined(head, 4, 14),
              (Bytes{0xB0, 101, 0, 0xB0, 100, 4, 0xB0, 6, 0, 0xB0, 101, 127, 0xB0, 100, 127,
                     0xB0, 101, 0, 0xB0, 100, 3, 0xB0, 6, 0, 0xB0, 101, 127, 0xB0, 100, 127}));
    // clang-format off
    const std::vector<SmfEvent> expected = {
        {0, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 69, 68, 0x7E, 0x5C, 0xF7}}, {0, {0x90, 69, 100}},
        {480, {0x80, 69, 0}},
        {480, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 81, 81, 0x19, 0x4D, 0xF7}}, {480, {0x90, 81, 100}},
        {526, {0x80, 81, 0}},
        {526, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 62, 62, 0x00, 0x00, 0xF7}}, {526, {0x90, 62, 100}},
        {563, {0x80, 62, 0}}};
    // clang-format on
    EXPECT_EQ(note_events(file), expected);
}

TEST(MidiFile, PitchBendFormDealsNotesToChannelsWithoutTheDrumChannel) {
    std::vector<PlayedNote> notes;
    for (int i = 0; i < 16; ++i) notes.push_back({i * 100, i * 100 + 100, 12, 60.25, 60});
    const std::string file = midi_file(notes, 40, MidiTuning::bend, "ezgi");
    // Channel 1 announces 15 member channels (parameter 6); each gets the program and a bend
    // range of 2 semitones (parameter 0).
    EXPECT_EQ(
        joined(read_smf(file), 3, 14),
        (Bytes{0xB0, 101, 0, 0xB0, 100, 6, 0xB0, 6, 15, 0xB0, 101, 127, 0xB0, 100, 127, 0xC1, 15,
               0xB1, 101, 0, 0xB1, 100, 0, 0xB1, 6, 2,  0xB1, 101, 127, 0xB1, 100, 127}));
    const auto events = note_events(file);
    ASSERT_EQ(events.size(), 3u * notes.size());
    const int channels[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 1, 2};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const auto ch = static_cast<std::uint8_t>(channels[i]);
        // +0.25 semitone of a 2-semitone range: 8192 + 1024 = 9216 = 0x48 0x00.
        EXPECT_EQ(events[3 * i].second, (Bytes{std::uint8_t(0xE0 | ch), 0x00, 0x48}));
        EXPECT_EQ(events[3 * i + 1].second, (Bytes{std::uint8_t(0x90 | ch), 60, 100}));
        EXPECT_EQ(events[3 * i + 2].second, (Bytes{std::uint8_t(0x80 | ch), 60, 0}));
    }
    // A bend at or beyond the range stays at its end (16383 = 7F 7F, 0 = 00 00).
    EXPECT_EQ(pitch_bend(1, 2.0, 2.0), (Bytes{0xE1, 0x7F, 0x7F}));
    EXPECT_EQ(pitch_bend(1, -3.0, 2.0), (Bytes{0xE1, 0x00, 0x00}));
    EXPECT_EQ(midi_varlen(0x0FFFFFFF), "\xFF\xFF\xFF\x7F");  // the longest delta time
    EXPECT_THROW(midi_varlen(0x10000000), std::out_of_range);
}

// Each staff sign by the commas (1200/53 cents) of its name against its steps (1200/79 cents):
// a name fits within half a step, the Arel-Ezgi-Uzdilek names before the numbered ones.
TEST(StaffAccidentals, NameEverySignThatAMusicXmlNameFits) {
    // clang-format off
    const char* const names[] = {  // steps -13 to 13
        "", "double-slash-flat", "", "", "", "", "flat", "slash-flat", "", "flat-3", "flat-2", "",
        "flat-1", "", "sharp-1", "", "sharp-2", "sharp-3", "", "sharp", "slash-quarter-sharp", "",
        "", "", "", "slash-sharp", ""};
    // clang-format on
    for (int step = -13; step <= 13; ++step)
        EXPECT_STREQ(musicxml_accidental(step), *names[step + 13] ? names[step + 13] : nullptr)
            << step;
}

// What a score editor reads, in order: "|" and its number where a measure starts; for each note
// a step count printed before it, its step, alter, octave, duration, ties, type, dot,
// accidental, triplet and bracket.
std::vector<std::string> read_notes(const QByteArray& xml) {
    const std::set<std::string> texts = {"words",      "step",         "alter",
                                         "octave",     "duration",     "type",
                                         "accidental", "actual-notes", "normal-notes"};
    std::vector<std::string> notes;
    std::string note;
    for (QXmlStreamReader r(xml); !r.atEnd();) {
        r.readNext();
        const std::string name = r.name().toString().toStdString();
        const QXmlStreamAttributes at = r.attributes();
        const std::string type = at.value("type").toString().toStdString();
        if (r.isEndElement() && name == "note") notes.push_back(note.substr(1)), note.clear();
        if (!r.isStartElement()) continue;
        if (name == "measure") notes.push_back("|" + at.value("number").toString().toStdString());
        if (name == "rest" || name == "dot") note += " " + name;
        if (name == "tie" || name == "tuplet") note += " " + name + "-" + type;
        if (texts.contains(name)) note += " " + r.readElementText().toStdString();
    }
    return notes;
}

TEST(MusicXmlScore, SpellsTiesAndBracketsAsTheStaffDrawsThem) {
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    // A4 quarter (its triplet flag only for eighths and sixteenths), B4 six low, B4, F4 five high
    // (eighths), three triplet eighths D5 (its dot not played, so not written) C5+6 D5, G4 quarter
    // over the bar line, a quarter rest, A4 whole over the next one, an A4 thirty-second.
    const std::string text =
        "1,8,3,0,0,0,0,0,0,0\n0,7,4,-6,0,0,0,0,0,1\n0,7,4,0,0,0,0,0,0,0\n0,10,4,5,0,0,0,0,0,1\n"
        "1,5,4,0,1,0,0,0,0,0\n1,6,4,6,0,0,0,0,0,1\n1,5,4,0,0,0,0,0,0,0\n0,9,3,0,0,0,0,0,0,0\n"
        "0,29,0,0,0,0,0,0,0,0\n0,8,1,0,0,0,0,0,0,0\n0,8,6,0,0,0,0,0,0,0\n";
    ScoreSheet sheet{"ezgi", 93.75, score_events(text, st, AccidentalSource::File), {}};
    sheet.measures = score_measures(sheet.events);
    const QByteArray xml = musicxml_score(sheet);
    // Measure by measure.
    // clang-format off
    const std::vector<std::string> expected = {
        "|1", "A -0.01 4 48 quarter", "B -0.95 4 24 eighth slash-flat",
        "B -0.04 4 24 eighth natural", "+5 F 0.80 4 24 eighth", "D 0 5 16 eighth 3 2 tuplet-start",
        "C 0.94 5 16 eighth sharp 3 2", "D 0 5 16 eighth 3 2 tuplet-stop",
        "G 0.01 4 24 tie-start eighth",
        "|2", "G 0.01 4 24 tie-stop eighth", "rest 48 quarter", "A -0.01 4 96 tie-start half",
        "A -0.01 4 24 tie-stop tie-start eighth",
        "|3", "A -0.01 4 72 tie-stop quarter dot", "A -0.01 4 6 32nd"};
    // clang-format on
    EXPECT_EQ(read_notes(xml), expected);
    for (const char* part :
         {"<score-partwise version=\"3.1\">", "<divisions>48</divisions>",
          "-//Recordare//DTD MusicXML 3.1 Partwise//EN", "<sound tempo=\"93.75\"/>",
          "<beat-unit>quarter</beat-unit>", "<work-title>ezgi</work-title>"})
        EXPECT_TRUE(xml.contains(part)) << part;
}

// Four triplet eighths make two brackets, a plain eighth closes one on the triplet before it;
// a rest no value makes up is a 64th; each type's name; a lever's sign only when its step
// points the lever's way.
TEST(MusicXmlScore, BracketsValuesNamesAndSigns) {
    const ScoreEvent triplet{false, 12, 0, 69, {3, false, true}, 16},
        plain{false, 12, 0, 69, {3, false, false}, 24};
    std::string marks;
    for (const auto& run :
         {std::vector{triplet, triplet, triplet, triplet}, {triplet, triplet, plain, triplet}}) {
        const auto measures = score_measures(run);
        for (const ScorePiece& p : measures[0])
            marks += std::to_string(p.tuplet_start + 2 * p.tuplet_stop);
        marks += " ";
    }
    EXPECT_EQ(marks, "1023 1203 ");  // 1 start, 2 stop
    EXPECT_EQ(values_making_up(1, false), (std::vector<NoteValue>{{6, false, false}}));
    std::string names;
    for (int type = 0; type <= 7; ++type) names += value_type_name(type) + " "s;
    EXPECT_EQ(names, "whole half quarter eighth 16th 32nd 64th 64th ");
    TuningTables t;
    std::string signs;
    for (const auto& [step, lever] : {std::pair{-3, -2}, {-1, -1}, {2, 1}, {-1, 1}, {1, -1}}) {
        t.mandal_step(5, lever) = static_cast<std::int16_t>(step);
        signs += std::to_string(staff_sign_step(t, 5, lever)) + " ";
    }
    EXPECT_EQ(signs + std::to_string(staff_sign_step(t, 5, 0)), "-3 -1 2 0 0 0");
}

}  // namespace
}  // namespace orvena
