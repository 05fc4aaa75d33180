// WAV export of recordings and sequence files, read back from the file: its format, the pitch
// of every note, each note starting on its own frame, and what a cancel or a fault leaves.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "recording/render_command.h"
#include "recording/wav_export_menu.h"
#include "sound/mixer.h"
#include "support/pitch.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

using test::TempDir;

constexpr std::int64_t kFramesPerMs = 48;
constexpr std::int64_t kFadeFrames = 144;  // the mixer's 3 ms fade at 48 kHz

struct WavContents {
    SF_INFO info{};
    std::vector<float> frames;  // interleaved stereo
};

WavContents read_wav(const std::filesystem::path& file) {
    WavContents wav;
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &wav.info);
    if (sound == nullptr) return wav;
    wav.frames.resize(static_cast<std::size_t>(wav.info.frames * wav.info.channels));
    sf_readf_float(sound, wav.frames.data(), wav.info.frames);
    sf_close(sound);
    return wav;
}

// One note on a mixer of its own, from its first frame: what the file must hold.
std::vector<float> note_alone(const InstrumentState& st, SampleBank& bank, int string, int lever,
                              std::int64_t frames) {
    Mixer mixer(48000.0);
    const SampleData* data = bank.get(st.wav_files[string]);
    if (data == nullptr) return {};
    mixer.start_pluck(*data, st.sample_rate(string, lever));
    std::vector<float> out(static_cast<std::size_t>(2 * frames));
    mixer.render(out.data(), static_cast<std::size_t>(frames));
    return out;
}

InstrumentState started_instrument() {
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, test::program_dir()))
        ADD_FAILURE() << *problem;
    return st;
}

struct Note {
    std::int64_t at_ms;
    int sample_string;
    int lever;
    std::int64_t ms;
};

struct RenderCase {
    const char* name;
    const char* file_name;
    const char* text;
    AccidentalSource levers;
    int ahenk_shift;
    std::vector<std::pair<int, int>> instrument_levers;  // string, lever
    std::vector<Note> notes;
    std::int64_t end_ms;
};

// Speed 40: an eighth lasts 8 units = 320 ms, a quarter 640 ms, the rest "26" 2 units = 80 ms.
const RenderCase kRenderCases[] = {
    {"recording_plays_the_instrument_levers_not_the_recorded_ones",
     "kayıt.txt",
     " 12 0 300\r\n 5 3 250\r\n 20 0 400\r\n",
     AccidentalSource::File,
     0,
     {{5, 2}},
     {{0, 12, 0, 300}, {300, 5, 2, 250}, {550, 20, 0, 400}},
     950},
    {"recording_at_a_pitch_level_sounds_the_moved_string",
     "kayıt.txt",
     " 12 0 400\r\n 7 0 300\r\n",
     AccidentalSource::Instrument,
     2,
     {{12, 1}},
     {{0, 14, 1, 400}, {400, 9, 0, 300}},
     700},
    {"sequence_with_instrument_levers_skips_and_rests",
     "ezgi.ses",
     "0,5,4,0,0,0,0,0,0,0\r\n0,3,0,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n"
     "0,16,4,2,0,0,0,0,0,1\r\n0,0,3,0,0,0,0,0,0,0\r\n",
     AccidentalSource::Instrument,
     0,
     {{13, 1}},
     {{0, 9, 0, 320}, {400, 13, 1, 320}, {720, 4, 0, 640}},
     1360},
    {"sequence_with_file_levers",
     "ezgi.ses",
     "0,5,4,-2,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n0,16,4,2,0,0,0,0,0,1\r\n",
     AccidentalSource::File,
     0,
     {{13, 1}},
     {{0, 9, -2, 320}, {400, 13, 2, 320}},
     720},
};

void PrintTo(const RenderCase& c, std::ostream* out) {
    *out << c.name;
}

class RenderedNotes : public testing::TestWithParam<RenderCase> {};

// Every note sounds its string and lever from its onset frame for its time, the file is
// 48 kHz 24-bit stereo, and it ends with the last note's 3 ms fade.
TEST_P(RenderedNotes, SoundTheirPitchFromTheirOwnFrame) {
    const RenderCase& c = GetParam();
    TempDir dir;
    InstrumentState st = started_instrument();
    st.ahenk_shift = static_cast<std::int16_t>(c.ahenk_shift);
    for (const auto& [string, lever] : c.instrument_levers)
        st.mandal_pos[string] = static_cast<std::int16_t>(lever);
    test::write_file_bytes(dir / c.file_name, c.text);
    const WavExportJob job{dir / c.file_name, dir / "out.wav", test::program_dir(), c.levers};
    ASSERT_EQ(export_wav(job, st).status, WavExportResult::Status::written);

    const WavContents wav = read_wav(job.out);
    EXPECT_EQ(wav.info.samplerate, 48000);
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    ASSERT_EQ(wav.info.frames, c.end_ms * kFramesPerMs + kFadeFrames);

    SampleBank bank(test::program_dir());
    for (const Note& n : c.notes) {
        SCOPED_TRACE(testing::Message() << "note at " << n.at_ms << " ms");
        const std::int64_t onset = n.at_ms * kFramesPerMs;
        const std::int64_t end = onset + n.ms * kFramesPerMs;
        const std::vector<float> note(wav.frames.begin() + 2 * onset, wav.frames.begin() + 2 * end);
        const double pitch = test::measure_fundamental(
            test::channel_of(std::span(note).subspan(2 * 20 * kFramesPerMs), 0), 48000.0);
        EXPECT_NEAR(test::cents_between(pitch, st.freq(n.sample_string, n.lever)), 0.0, 1.0);

        // Once the note before has faded, the file holds this note alone, frame for frame
        // (to the 24-bit step).
        const std::vector<float> alone =
            note_alone(st, bank, n.sample_string, n.lever, n.ms * kFramesPerMs);
        ASSERT_EQ(alone.size(), note.size());
        float worst = 0.0f;
        for (std::size_t i = 2 * kFadeFrames; i < note.size(); ++i)
            worst = std::max(worst, std::abs(note[i] - alone[i]));
        EXPECT_LT(worst, 1e-6f);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, RenderedNotes, testing::ValuesIn(kRenderCases),
                         [](const auto& row) { return std::string(row.param.name); });

enum class BackOut { none, at_source, at_output };

struct FaultCase {
    const char* name;
    const char* file_name;  // nullptr: the source does not exist
    const char* text;
    AccidentalSource levers;
    bool output_folder_missing;
    bool output_exists;
    bool cancel;
    BackOut back_out;
    const char* message;  // what the user is told ("" none); a prefix when it ends in ":"
    bool written;
};

// A two-second note gives the progress reporter more than one chance to cancel.
constexpr const char* kLongNote = " 12 0 2000\r\n";

const FaultCase kFaultCases[] = {
    {"bad_sequence_record_is_named", "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5,x,0,0,0,0,0,0,0\r\n",
     AccidentalSource::Instrument, false, true, false, BackOut::none,
     "2\r\nses dosyasından kaynaklanan bir hata oluştu.", false},
    {"file_lever_off_the_table_is_a_bad_record", "ezgi.ses", "0,5,4,40,0,0,0,0,0,0\r\n",
     AccidentalSource::File, false, false, false, BackOut::none,
     "1\r\nses dosyasından kaynaklanan bir hata oluştu.", false},
    {"recorded_string_off_the_instrument_is_named", "kayıt.txt", " 12 0 100\r\n 27 0 100\r\n",
     AccidentalSource::Instrument, false, true, false, BackOut::none,
     "2\r\nkayıt dosyasından kaynaklanan bir hata oluştu", false},
    {"empty_recording", "kayıt.txt", "", AccidentalSource::Instrument, false, false, false,
     BackOut::none, "kayıt.txt içinde çalınacak nota yok.", false},
    {"missing_source", nullptr, "", AccidentalSource::Instrument, false, false, false,
     BackOut::none, "yok.ses dosyası okunamadı.", false},
    {"output_folder_missing", "kayıt.txt", kLongNote, AccidentalSource::Instrument, true, false,
     false, BackOut::none, "WAV dosyası yazılamadı:", false},
    {"cancel_keeps_the_existing_file", "kayıt.txt", kLongNote, AccidentalSource::Instrument, false,
     true, true, BackOut::none, "", false},
    {"cancel_leaves_no_file", "kayıt.txt", kLongNote, AccidentalSource::Instrument, false, false,
     true, BackOut::none, "", false},
    {"backing_out_of_the_source_writes_nothing", "kayıt.txt", kLongNote,
     AccidentalSource::Instrument, false, true, false, BackOut::at_source, "", false},
    {"backing_out_of_the_output_writes_nothing", "kayıt.txt", kLongNote,
     AccidentalSource::Instrument, false, false, false, BackOut::at_output, "", false},
    {"an_existing_file_is_replaced", "kayıt.txt", kLongNote, AccidentalSource::Instrument, false,
     true, false, BackOut::none, "", true},
};

std::vector<std::string> folder_names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportFaults : public testing::TestWithParam<FaultCase> {};

// The menu entry's whole run: what the user is told, and that nothing but a finished export
// changes the folder.
TEST_P(ExportFaults, TellTheUserAndLeaveTheFolderAsItWas) {
    const FaultCase& c = GetParam();
    TempDir dir;
    const InstrumentState st = started_instrument();
    const std::filesystem::path source = dir / (c.file_name ? c.file_name : "yok.ses");
    if (c.file_name) test::write_file_bytes(source, c.text);
    const std::filesystem::path out = dir / (c.output_folder_missing ? "yok/out.wav" : "out.wav");
    const std::string old_bytes = "an earlier file that must survive";
    if (c.output_exists) test::write_file_bytes(out, old_bytes);
    const std::vector<std::string> before = folder_names(dir.path());

    WavExportQuestions ask;
    int reports = 0;
    ask.choose_source = [&]() -> std::optional<std::filesystem::path> {
        if (c.back_out == BackOut::at_source) return {};
        return source;
    };
    ask.choose_output = [&](const std::string& suggested) -> std::optional<std::filesystem::path> {
        EXPECT_EQ(suggested, source.stem().string() + ".wav");
        if (c.back_out == BackOut::at_output) return {};
        return out;
    };
    ask.show_progress = [&]() -> RenderProgress {
        return [&](double done) {
            EXPECT_GT(done, 0.0);
            EXPECT_LE(done, 1.0);
            ++reports;
            return !c.cancel;
        };
    };
    test::RecordingDialogs dialogs;
    wav_export_Click(st, dialogs, {test::program_dir(), c.levers}, ask);

    const std::string expected = c.message;
    if (expected.empty()) {
        EXPECT_TRUE(dialogs.texts().empty()) << dialogs.texts().front();
    } else {
        ASSERT_EQ(dialogs.texts().size(), 1u);
        if (expected.back() == ':') {
            EXPECT_EQ(dialogs.texts()[0].rfind(expected, 0), 0u) << dialogs.texts()[0];
        } else {
            EXPECT_EQ(dialogs.texts()[0], expected);
        }
    }
    if (c.cancel) {
        EXPECT_EQ(reports, 1);
    }
    std::vector<std::string> after = before;
    if (c.written && !c.output_exists) after.push_back("out.wav");
    std::sort(after.begin(), after.end());
    EXPECT_EQ(folder_names(dir.path()), after);
    if (c.written) {
        EXPECT_EQ(read_wav(out).info.frames, 2000 * kFramesPerMs + kFadeFrames);
    } else if (c.output_exists) {
        EXPECT_EQ(test::read_file_bytes(out), old_bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, ExportFaults, testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvena
