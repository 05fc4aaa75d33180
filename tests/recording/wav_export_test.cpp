// WAV export of recordings and sequence files, read back from the file: its format, the pitch
// of every note, each note starting on its own frame, and what a cancel or a fault leaves.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

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
#include "support/scratch_program.h"
#include "support/special_files.h"
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

enum class Out {
    fresh,
    existing,
    in_a_missing_folder,
    program_sample,  // 12-A4.wav of the program folder
    source,          // the file being exported
    fifo,
    played_scale,  // the Scala scale the instrument plays
};

struct FaultCase {
    const char* name;
    const char* file_name;
    const char* text;  // nullptr: the source does not exist
    AccidentalSource levers;
    Out out;
    bool cancel;          // at the first progress report
    const char* message;  // the last thing the user is told ("" none); "<out>" stands for the
                          // quoted WAV file; a prefix when it ends in "..."
    const char* damaged_sample = nullptr;  // replaced by text in the program folder
    bool small_disk = false;               // no file may grow past 100 kB
};

// A two-second note gives the progress reporter more than one chance to cancel.
constexpr const char* kLongNote = " 12 0 2000\r\n";
constexpr auto kInstrument = AccidentalSource::Instrument;
// A thousand notes of 2^31 - 1 ms: 618.5 TB of sound, more than any disk holds.
const std::string kEndlessRecording = [] {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += " 12 0 2147483647\r\n";
    return text;
}();
constexpr const char* kOwnFile = "<out> adı ORVENA'nın kendi dosyalarına ayrılmıştır (";

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
     "<out> yazılamadı: klasörü yok."},
    {"cancel_keeps_the_existing_file", "kayıt.txt", kLongNote,
     kInstrument, Out::existing, true, ""},
    {"cancel_leaves_no_file", "kayıt.txt", kLongNote, kInstrument, Out::fresh, true, ""},
    {"an_existing_file_is_replaced", "kayıt.txt", kLongNote,
     kInstrument, Out::existing, false, ""},
    {"a_sample_of_the_program_is_refused", "kayıt.txt", kLongNote, kInstrument,
     Out::program_sample, false, "<out> adı ORVENA'nın kendi dosyalarına ayrılmıştır (tel sesi); "
     "bu ada yazılamaz. Başka bir ad ya da klasör seçin."},
    {"the_source_is_refused", "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n", kInstrument, Out::source,
     false, "<out> okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
    {"the_scale_played_is_refused", "kayıt.txt", kLongNote, kInstrument, Out::played_scale,
     false, "<out> okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
    {"a_fifo_is_refused_in_the_window", "kayıt.txt", kLongNote, kInstrument, Out::fifo, false,
     "<out> düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz."},
    {"a_damaged_sample_is_named", "kayıt.txt", kLongNote, kInstrument, Out::existing, false,
     "\"12-A4.wav\" tel sesi (tel 12) okunamıyor ya da çalınabilir bir WAV dosyası değil.\r\n"
     "WAV dosyası yazılmadı.", "12-A4.wav"},
    {"a_full_disk_keeps_the_old_file", "kayıt.txt", kLongNote, kInstrument, Out::existing, false,
     "<out> yazılamadı: dosya bu kadar büyüyemez.", nullptr, true},
    {"a_render_larger_than_the_disk_is_refused", "kayıt.txt", kEndlessRecording.c_str(),
     kInstrument, Out::fresh, false,
     "WAV dosyası 618,5 TB olacak, ama yazılacağı yerde yalnız ..."},
};
// clang-format on

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportFaults : public testing::TestWithParam<FaultCase> {};

std::filesystem::path out_path(Out out, const fs::path& dir, const fs::path& program,
                               const fs::path& source) {
    switch (out) {
        case Out::in_a_missing_folder:
            return dir / "yok" / "out.wav";
        case Out::program_sample:
            return program / "12-A4.wav";
        case Out::source:
            return source;
        case Out::played_scale:
            return dir / "oyun.scl";
        case Out::fifo:
            EXPECT_EQ(::mkfifo((dir / "boru.wav").c_str(), 0644), 0);
            return dir / "boru.wav";
        default:
            return dir / "out.wav";
    }
}

// The menu entry's whole run: what the user is told, and that nothing but a finished export
// changes the folder or any file of the program.
TEST_P(ExportFaults, TellTheUserAndLeaveTheFolderAsItWas) {
    const FaultCase& c = GetParam();
    TempDir dir;
    const test::ScratchProgramFolder program;
    const InstrumentState st = started_instrument();
    const std::filesystem::path source = dir / c.file_name;
    const std::filesystem::path out = out_path(c.out, dir.path(), program.path(), source);
    if (c.text) test::write_file_bytes(source, c.text);
    const std::string scale_bytes = "! oyun.scl\n12-TET\n1\n2/1\n";
    test::write_file_bytes(dir / "oyun.scl", scale_bytes);
    if (c.damaged_sample) program.damage(c.damaged_sample, "bir ses değil");
    const std::string old_bytes = "an earlier file that must survive";
    if (c.out == Out::existing) test::write_file_bytes(out, old_bytes);
    const auto entries = [](const fs::path& folder) {
        return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    };
    const auto before = entries(dir.path());
    const auto program_files = entries(program.path());
    const bool own_file = c.out == Out::program_sample;
    const std::string own_bytes = own_file ? test::read_file_bytes(out) : "";

    int reports = 0;
    std::vector<fs::path> suggestions;
    WavExportQuestions ask;
    ask.choose_source = [&] { return std::optional(source); };
    ask.choose_output = [&](const fs::path& suggested) {
        suggestions.push_back(suggested);
        // After a refusal the user backs out of the second file dialog.
        return suggestions.size() == 1 ? std::optional(out) : std::nullopt;
    };
    std::uint64_t announced = 0;
    ask.show_progress = [&](std::uint64_t bytes) -> RenderProgress {
        announced = bytes;
        return [&](double) { return ++reports, !c.cancel; };
    };
    test::RecordingDialogs dialogs;
    dialogs.default_answer = MessageAnswer::Yes;
    {
        std::optional<test::FileSizeLimit> small_disk;
        if (c.small_disk) small_disk.emplace(100000);
        wav_export_Click(st, dialogs, {program.path(), c.levers, dir.path(), {dir / "oyun.scl"}},
                         ask);
    }

    std::string expected = c.message;
    if (const auto at = expected.find("<out>"); at != std::string::npos)
        expected.replace(at, 5, "\"" + out.string() + "\"");
    std::vector<std::string> messages, notices;
    for (const test::ShownMessage& m : dialogs.shown())
        (m.modal ? messages : notices).push_back(m.text);
    if (c.out == Out::existing) {
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.front(), "out.wav zaten var. Üzerine yazılsın mı?");
        messages.erase(messages.begin());
    }
    EXPECT_LE(messages.size(), 1u);
    const std::string told = messages.empty() ? "" : messages.back();
    const bool prefix = expected.ends_with("...");
    if (prefix) expected.resize(expected.size() - 3);
    EXPECT_EQ(prefix ? told.substr(0, expected.size()) : told, expected);
    // A WAV file the export may not write is refused before anything is read, and the file
    // dialog opens again on it.
    EXPECT_EQ(suggestions.front(), dir / (source.stem().string() + ".wav"));
    const bool refused = c.out != Out::fresh && c.out != Out::existing;
    EXPECT_EQ(suggestions.size(), refused ? 2u : 1u);
    if (refused) {
        EXPECT_EQ(suggestions.back(), out);
    }
    if (c.cancel) {
        EXPECT_EQ(reports, 1);
    }
    const bool written = !c.cancel && expected.empty();
    // Only a finished file is told of, in a notice that names it.
    EXPECT_EQ(notices, written ? std::vector<std::string>{"WAV dosyası yazıldı:\r\n" + out.string()}
                               : std::vector<std::string>{});
    // Nothing else changes the folders: no partial or temporary file is left.
    EXPECT_EQ(entries(dir.path()), before + (written && c.out == Out::fresh ? 1 : 0));
    EXPECT_EQ(entries(program.path()), program_files);
    if (own_file) {
        EXPECT_EQ(test::read_file_bytes(out), own_bytes);
    }
    if (c.out == Out::fifo) {
        EXPECT_TRUE(fs::is_fifo(out));
    }
    if (c.out == Out::source) {
        EXPECT_EQ(test::read_file_bytes(out), c.text);
    }
    EXPECT_EQ(test::read_file_bytes(dir / "oyun.scl"), scale_bytes);
    if (written) {
        // 2000 ms and the fade, 6 bytes a frame, after a 44-byte header.
        EXPECT_EQ(announced, 44u + 6u * (2000u * 48u + 144u));
        EXPECT_EQ(read_wav(out).info.frames, 2000 * kFramesPerMs + kFadeFrames);
    } else if (c.out == Out::existing) {
        EXPECT_EQ(test::read_file_bytes(out), old_bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, ExportFaults, testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The size of the file a render writes, worked out before it starts: 44 header bytes and 6
// bytes a frame, up to the largest sizes a RIFF header's 32-bit fields hold; RF64 (a 104-byte
// header) beyond, so a file above 4 GiB is neither refused nor written with wrapped sizes.
TEST(WavFile, SizeAndFormatFollowTheFrames) {
    struct SizeCase {
        std::int64_t frames;
        std::uint64_t bytes;
        bool rf64;
        const char* shown;
    };
    const SizeCase cases[] = {
        {0, 44, false, "1 kB"},
        {48000, 288044, false, "288 kB"},
        {8716667, 52300046, false, "52,3 MB"},
        {715827876, 4294967300, false, "4,3 GB"},        // RIFF size field 4294967292
        {715827877, 4294967366, true, "4,3 GB"},         // it would be 4294967298
        {103079215200, 618475291304, true, "618,5 GB"},  // one line "12 0 2147483647"
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.frames);
        EXPECT_EQ(wav_file_size(c.frames).bytes, c.bytes);
        EXPECT_EQ(wav_file_size(c.frames).rf64, c.rf64);
        EXPECT_EQ(size_text(c.bytes), c.shown);
    }
}

// Both formats the writer chooses are read back as written.
TEST(WavFile, WriterWritesBothFormats) {
    TempDir dir;
    const std::vector<float> frames(2 * 1000, 0.25f);
    for (const bool rf64 : {false, true}) {
        OutputFile out(dir / "out.wav", {});
        ASSERT_EQ(out.open(), std::nullopt);
        WavFileWriter writer(out);
        ASSERT_TRUE(writer.open({0, rf64}) && writer.write(frames.data(), 1000) && writer.close());
        ASSERT_EQ(out.commit(), std::nullopt);
        const WavContents wav = read_wav(dir / "out.wav");
        EXPECT_EQ(wav.info.format, (rf64 ? SF_FORMAT_RF64 : SF_FORMAT_WAV) | SF_FORMAT_PCM_24);
        EXPECT_EQ(wav.info.frames, 1000);
    }
}

}  // namespace
}  // namespace orvena
