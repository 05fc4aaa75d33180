// WAV export of recordings and sequence files, read back from the file: its format, the pitch
// of every note, each note starting on its own frame, and what a cancel or a fault leaves.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
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
namespace fs = std::filesystem;

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

struct RenderCase {
    const char* name;
    const char* file_name;
    const char* text;
    AccidentalSource levers;
    int ahenk_shift;
    std::pair<int, int> instrument_lever;   // string, lever
    std::vector<std::array<int, 4>> notes;  // at ms, sample string, lever, ms
    std::int64_t end_ms;
};

// Speed 40: an eighth lasts 8 units = 320 ms, a quarter 640 ms, the rest "26" 2 units = 80 ms.
// clang-format off
const RenderCase kRenderCases[] = {
    {"recording_plays_the_instrument_levers_not_the_recorded_ones", "kayıt.txt",
     " 12 0 300\r\n 5 3 250\r\n 20 0 400\r\n", AccidentalSource::File, 0, {5, 2},
     {{0, 12, 0, 300}, {300, 5, 2, 250}, {550, 20, 0, 400}}, 950},
    {"recording_at_a_pitch_level_sounds_the_moved_string", "kayıt.txt",
     " 12 0 400\r\n 7 0 300\r\n",
     AccidentalSource::Instrument, 2, {12, 1}, {{0, 14, 1, 400}, {400, 9, 0, 300}}, 700},
    {"sequence_with_instrument_levers_skips_and_rests", "ezgi.ses",
     "0,5,4,0,0,0,0,0,0,0\r\n0,3,0,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n"
     "0,16,4,2,0,0,0,0,0,1\r\n0,0,3,0,0,0,0,0,0,0\r\n", AccidentalSource::Instrument, 0, {13, 1},
     {{0, 9, 0, 320}, {400, 13, 1, 320}, {720, 4, 0, 640}}, 1360},
};
// clang-format on

// Named tests: the parameters' bytes (pointers) would make a new test name on every build.
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
    st.mandal_pos[c.instrument_lever.first] = static_cast<std::int16_t>(c.instrument_lever.second);
    test::write_file_bytes(dir / c.file_name, c.text);
    const WavExportJob job{dir / c.file_name, dir / "out.wav", test::program_dir(), c.levers};
    ASSERT_EQ(export_wav(job, st).status, WavExportResult::Status::written);

    const WavContents wav = read_wav(job.out);
    EXPECT_EQ(wav.info.samplerate, 48000);
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    ASSERT_EQ(wav.info.frames, c.end_ms * kFramesPerMs + kFadeFrames);

    SampleBank bank(test::program_dir());
    for (const auto& [at_ms, string, lever, ms] : c.notes) {
        SCOPED_TRACE(testing::Message() << "note at " << at_ms << " ms");
        const std::int64_t onset = at_ms * kFramesPerMs;
        const std::int64_t end = onset + ms * kFramesPerMs;
        const std::vector<float> note(wav.frames.begin() + 2 * onset, wav.frames.begin() + 2 * end);
        const double pitch = test::measure_fundamental(
            test::channel_of(std::span(note).subspan(2 * 20 * kFramesPerMs), 0), 48000.0);
        EXPECT_NEAR(test::cents_between(pitch, st.freq(string, lever)), 0.0, 1.0);

        // Once the note before has faded, the file holds this note alone, frame for frame
        // (to the 24-bit step).
        const std::vector<float> alone = note_alone(st, bank, string, lever, ms * kFramesPerMs);
        ASSERT_EQ(alone.size(), note.size());
        float worst = 0.0f;
        for (std::size_t i = 2 * kFadeFrames; i < note.size(); ++i)
            worst = std::max(worst, std::abs(note[i] - alone[i]));
        EXPECT_LT(worst, 1e-6f);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, RenderedNotes, testing::ValuesIn(kRenderCases),
                         [](const auto& row) { return std::string(row.param.name); });

enum class Out { fresh, existing, in_a_missing_folder };

struct FaultCase {
    const char* name;
    const char* file_name;
    const char* text;  // nullptr: the source does not exist
    AccidentalSource levers;
    Out out;
    bool cancel;          // at the first progress report
    const char* message;  // what the user is told ("" none); a prefix when it ends in ":"
};

// A two-second note gives the progress reporter more than one chance to cancel.
constexpr const char* kLongNote = " 12 0 2000\r\n";
constexpr auto kInstrument = AccidentalSource::Instrument;

// clang-format off
const FaultCase kFaultCases[] = {
    {"bad_sequence_record_is_named", "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5,x,0,0,0,0,0,0,0\r\n",
     kInstrument, Out::existing, false, "2\r\nses dosyasından kaynaklanan bir hata oluştu."},
    {"file_lever_off_the_table_is_a_bad_record", "ezgi.ses", "0,5,4,40,0,0,0,0,0,0\r\n",
     AccidentalSource::File, Out::fresh, false,
     "1\r\nses dosyasından kaynaklanan bir hata oluştu."},
    {"recorded_string_off_the_instrument_is_named", "kayıt.txt", " 12 0 100\r\n 27 0 100\r\n",
     kInstrument, Out::existing, false, "2\r\nkayıt dosyasından kaynaklanan bir hata oluştu"},
    {"empty_recording", "kayıt.txt", "", kInstrument, Out::fresh, false,
     "kayıt.txt içinde çalınacak nota yok."},
    {"missing_source", "yok.ses", nullptr, kInstrument, Out::fresh, false,
     "yok.ses dosyası okunamadı."},
    {"output_folder_missing", "kayıt.txt", kLongNote, kInstrument, Out::in_a_missing_folder, false,
     "WAV dosyası yazılamadı:"},
    {"cancel_keeps_the_existing_file", "kayıt.txt", kLongNote,
     kInstrument, Out::existing, true, ""},
    {"cancel_leaves_no_file", "kayıt.txt", kLongNote, kInstrument, Out::fresh, true, ""},
    {"an_existing_file_is_replaced", "kayıt.txt", kLongNote,
     kInstrument, Out::existing, false, ""},
};
// clang-format on

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
    const std::filesystem::path source = dir / c.file_name;
    const std::filesystem::path out =
        dir / (c.out == Out::in_a_missing_folder ? "yok" : "") / "out.wav";
    if (c.text) test::write_file_bytes(source, c.text);
    const std::string old_bytes = "an earlier file that must survive";
    if (c.out == Out::existing) test::write_file_bytes(out, old_bytes);
    const auto entries = [&dir] {
        return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    };
    const auto before = entries();

    int reports = 0;
    WavExportQuestions ask;
    ask.choose_source = [&] { return std::optional(source); };
    ask.choose_output = [&](const std::string& suggested) {
        EXPECT_EQ(suggested, source.stem().string() + ".wav");
        return std::optional(out);
    };
    ask.show_progress = [&]() -> RenderProgress {
        return [&](double) { return ++reports, !c.cancel; };
    };
    test::RecordingDialogs dialogs;
    wav_export_Click(st, dialogs, {test::program_dir(), c.levers}, ask);

    std::vector<std::string> messages, notices;
    for (const test::ShownMessage& m : dialogs.shown())
        (m.modal ? messages : notices).push_back(m.text);
    const std::string expected = c.message;
    const std::string told = messages.empty() ? "" : messages.back();
    EXPECT_LE(messages.size(), 1u);
    EXPECT_EQ(expected.ends_with(':') ? told.substr(0, expected.size()) : told, expected);
    if (c.cancel) {
        EXPECT_EQ(reports, 1);
    }
    const bool written = !c.cancel && expected.empty();
    // Only a finished file is told of, in a notice that names it.
    EXPECT_EQ(notices, written ? std::vector<std::string>{"WAV dosyası yazıldı:\r\n" + out.string()}
                               : std::vector<std::string>{});
    // Nothing else changes the folder: no partial or temporary file is left.
    EXPECT_EQ(entries(), before + (written && c.out == Out::fresh ? 1 : 0));
    if (written) {
        EXPECT_EQ(read_wav(out).info.frames, 2000 * kFramesPerMs + kFadeFrames);
    } else if (c.out == Out::existing) {
        EXPECT_EQ(test::read_file_bytes(out), old_bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, ExportFaults, testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvena
