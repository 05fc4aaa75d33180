// WAV export read back from the file: its format, every note's pitch, and what a cancel or a
// fault leaves.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <span>

#include "recording/render_command.h"
#include "recording/wav_export_menu.h"
#include "support/pitch.h"
#include "support/recording_dialogs.h"
#include "support/scratch_program.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
constexpr std::int64_t kFramesPerMs = 48;
constexpr std::int64_t kFadeFrames = 144;  // the mixer's 3 ms fade at 48 kHz

struct WavContents {
    SF_INFO info{};
    std::vector<float> frames;  // interleaved stereo
};

WavContents read_wav(const fs::path& file) {
    WavContents wav;
    if (SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &wav.info)) {
        wav.frames.resize(static_cast<std::size_t>(wav.info.frames * wav.info.channels));
        sf_readf_float(sound, wav.frames.data(), wav.info.frames);
        sf_close(sound);
    }
    return wav;
}

// Name, source file and text, accidentals, pitch level, a string's lever on the instrument
// (string, lever), the notes heard (at ms, sample string, lever, ms), the end in ms.
// A negative interval (an edited recording) takes no time; a sequence file is known by its
// extension in any case. Speed 40: an eighth lasts 8 units = 320 ms, a quarter 640 ms, the rest
// "26" 2 units = 80 ms.
// clang-format off
const std::tuple<const char*, const char*, const char*, AccidentalSource, int, std::pair<int, int>,
                 std::vector<std::array<int, 4>>, std::int64_t> kRenderCases[] = {
    {"recording_plays_the_instrument_levers_not_the_recorded_ones", "kayıt.txt", " 12 0 300\r\n 7 0 -40\r\n 5 3 250\r\n 20 0 400\r\n",
     AccidentalSource::File, 0, {5, 2}, {{0, 12, 0, 300}, {300, 5, 2, 250}, {550, 20, 0, 400}}, 950},
    {"recording_at_a_pitch_level_sounds_the_moved_string", "kayıt.txt", " 12 0 400\r\n 7 0 300\r\n",
     AccidentalSource::Instrument, 2, {12, 1}, {{0, 14, 1, 400}, {400, 9, 0, 300}}, 700},
    {"sequence_with_instrument_levers_skips_and_rests", "EZGI.SES", "0,5,4,0,0,0,0,0,0,0\r\n0,3,0,0,0,0,0,0,0,0\r\n"
     "0,26,0,0,0,0,0,0,0,0\r\n0,16,4,2,0,0,0,0,0,1\r\n0,0,3,0,0,0,0,0,0,0\r\n", AccidentalSource::Instrument, 0, {13, 1},
     {{0, 9, 0, 320}, {400, 13, 1, 320}, {720, 4, 0, 640}}, 1360},
};
// clang-format on

// Every note sounds its string and lever from its onset frame for its time, the file is 48 kHz
// 24-bit stereo, and it ends with the last note's 3 ms fade.
TEST(WavExport, RenderedNotesSoundTheirPitchFromTheirOwnFrame) {
    for (const auto& [name, file_name, text, levers, ahenk_shift, held, notes, end_ms] :
         kRenderCases) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        InstrumentState st;
        ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
        st.settings.ahenk_shift = static_cast<std::int16_t>(ahenk_shift);
        st.settings.mandal_pos[held.first] = static_cast<std::int16_t>(held.second);
        test::write_file_bytes(dir / file_name, text);
        const WavExportJob job{dir / file_name, dir / "out.wav", test::program_dir(), levers};
        ASSERT_EQ(export_wav(job, st).status, WavExportResult::Status::written);
        const WavContents wav = read_wav(job.out);
        EXPECT_EQ(std::tuple(wav.info.samplerate, wav.info.channels, wav.info.format),
                  std::tuple(48000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_24));
        ASSERT_EQ(wav.info.frames, end_ms * kFramesPerMs + kFadeFrames);
        // At most half scale for a voice, faded to 1/144 in the last frame.
        EXPECT_LT(std::max(std::abs(wav.frames.back()), std::abs(wav.frames.end()[-2])), 0.0035f);
        const auto silent = [&wav](std::int64_t from, std::int64_t to) {  // frames
            return std::all_of(wav.frames.begin() + 2 * from, wav.frames.begin() + 2 * to,
                               [](float v) { return v == 0.0f; });
        };
        for (const auto& [at_ms, string, lever, ms] : notes) {
            // A note after silence sounds from its own frame, not a frame later.
            const std::int64_t onset = at_ms * kFramesPerMs;
            if (onset == 0 || silent(onset - 10 * kFramesPerMs, onset)) {
                EXPECT_FALSE(silent(onset, onset + 1)) << at_ms;
            }
            const auto note =
                std::span(wav.frames)
                    .subspan(2 * (at_ms + 20) * kFramesPerMs, 2 * (ms - 20) * kFramesPerMs);
            const double pitch = test::measure_fundamental(test::channel_of(note, 0), 48000.0);
            EXPECT_NEAR(test::cents_between(pitch, st.derived.freq(string, lever)), 0.0, 1.0)
                << at_ms;
        }
    }
}

enum class Out { fresh, existing, source };

// The test name, the source's name and text (nullptr: it does not exist), the output, a cancel
// at the first progress report, the last thing told ("" none; "<out>" the quoted WAV file; its
// start when it ends in "..."), the accidentals, a damaged 12-A4.wav in the program folder, and
// a disk on which no file may grow past 100 kB.
using FaultCase = std::tuple<const char*, const char*, const char*, Out, bool, const char*,
                             AccidentalSource, bool, bool>;

constexpr const char* kLongNote = " 12 0 2000\r\n";  // more than one chance to cancel
// A thousand notes of 2^31 - 1 ms: 618.5 TB of sound, more than any disk holds.
const std::string kEndlessRecording = [] {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += " 12 0 2147483647\r\n";
    return text;
}();

// clang-format off
const FaultCase kFaultCases[] = {
    {"bad_sequence_record_is_named", "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5,x,0,0,0,0,0,0,0\r\n", Out::existing, false, "2\r\nses dosyasından kaynaklanan bir hata oluştu.", AccidentalSource::Instrument, false, false},
    {"file_lever_off_the_table_is_a_bad_record", "ezgi.ses", "0,5,4,40,0,0,0,0,0,0\r\n", Out::fresh, false, "1\r\nses dosyasından kaynaklanan bir hata oluştu.", AccidentalSource::File, false, false},
    {"recorded_string_off_the_instrument_is_named", "kayıt.txt", " 12 0 100\r\n 27 0 100\r\n", Out::existing, false, "2\r\nkayıt dosyasından kaynaklanan bir hata oluştu", AccidentalSource::Instrument, false, false},
    {"empty_recording", "kayıt.txt", "", Out::fresh, false, "kayıt.txt içinde çalınacak nota yok.", AccidentalSource::Instrument, false, false},
    {"missing_source", "yok.ses", nullptr, Out::fresh, false, "yok.ses dosyası okunamadı.", AccidentalSource::Instrument, false, false},
    {"cancel_keeps_the_existing_file", "kayıt.txt", kLongNote, Out::existing, true, "", AccidentalSource::Instrument, false, false},
    {"cancel_leaves_no_file", "kayıt.txt", kLongNote, Out::fresh, true, "", AccidentalSource::Instrument, false, false},
    {"an_existing_file_is_replaced", "kayıt.txt", kLongNote, Out::existing, false, "", AccidentalSource::Instrument, false, false},
    {"the_source_is_refused", "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n", Out::source, false, "<out> okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.", AccidentalSource::Instrument, false, false},
    {"a_damaged_sample_is_named", "kayıt.txt", kLongNote, Out::existing, false, "\"12-A4.wav\" tel sesi (tel 12) okunamıyor ya da çalınabilir bir WAV dosyası değil.\r\nWAV dosyası yazılmadı.", AccidentalSource::Instrument, true, false},
    {"a_full_disk_keeps_the_old_file", "kayıt.txt", kLongNote, Out::existing, false, "<out> yazılamadı: dosya bu kadar büyüyemez.", AccidentalSource::Instrument, false, true},
    {"a_render_larger_than_the_disk_is_refused", "kayıt.txt", kEndlessRecording.c_str(), Out::fresh, false, "WAV dosyası 618,5 TB olacak, ama yazılacağı yerde yalnız ...", AccidentalSource::Instrument, false, false},
};
// clang-format on

class ExportFaults : public testing::TestWithParam<FaultCase> {};

// The menu entry's whole run: what is told, and only a finished export changes a folder.
TEST_P(ExportFaults, TellTheUserAndLeaveTheFolderAsItWas) {
    const auto& [test_name, file_name, text, out_kind, cancel, message, levers, damaged_sample,
                 small_disk] = GetParam();
    test::TempDir dir;
    const test::ScratchProgramFolder program;
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    const fs::path source = dir / file_name;
    const fs::path out = out_kind == Out::source ? source : dir / "out.wav";
    if (text) test::write_file_bytes(source, text);
    if (damaged_sample) program.damage("12-A4.wav", "bir ses değil");
    if (out_kind == Out::existing) test::write_file_bytes(out, "an earlier file that must survive");
    const std::string old_bytes = test::read_file_bytes(out);
    const auto entries = [](const fs::path& folder) {
        return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    };
    const auto before = entries(dir.path()), program_files = entries(program.path());
    int reports = 0;
    std::uint64_t announced = 0;
    std::vector<fs::path> offers;
    WavExportQuestions ask;
    ask.choose_source = [&](const std::vector<fs::path>& offered) {
        EXPECT_EQ(offered, std::vector{source});
        return std::optional(source);
    };
    ask.choose_output = [&](const fs::path& offer) {  // backs out when asked again
        offers.push_back(offer);
        return offers.size() == 1 ? std::optional(out) : std::nullopt;
    };
    ask.show_progress = [&](std::uint64_t bytes) -> RenderProgress {
        announced = bytes;
        return [&](double) { return ++reports, !cancel; };
    };
    test::RecordingDialogs dialogs;
    dialogs.default_answer = MessageAnswer::Yes;
    {
        std::optional<test::FileSizeLimit> limit;
        if (small_disk) limit.emplace(100000);
        wav_export_Click(st, dialogs,
                         {program.path(), levers, dir.path(), {dir / "oyun.scl"}, {source}}, ask);
    }
    std::string expected = message;
    if (const auto at = expected.find("<out>"); at != std::string::npos)
        expected.replace(at, 5, "\"" + out.string() + "\"");
    std::vector<std::string> messages, notices, asked, told;
    for (const test::ShownMessage& m : dialogs.shown())
        (m.modal ? messages : notices).push_back(m.text);
    if (out_kind == Out::existing) asked.push_back("out.wav zaten var. Üzerine yazılsın mı?");
    if (expected.ends_with("...")) {  // the room left on the disk is the machine's
        expected.resize(expected.size() - 3);
        if (!messages.empty()) messages.back() = messages.back().substr(0, expected.size());
    }
    if (!expected.empty()) asked.push_back(expected);
    const bool written = !cancel && expected.empty();
    if (written) told.push_back("WAV dosyası yazıldı:\r\n" + out.string());
    EXPECT_EQ(std::pair(messages, notices), std::pair(asked, told));
    // A refused file is refused before anything is read; the file dialog opens again on it.
    std::vector<fs::path> expected_offers{dir / (source.stem().string() + ".wav")};
    if (out_kind != Out::fresh && out_kind != Out::existing) expected_offers.push_back(out);
    EXPECT_EQ(offers, expected_offers);
    EXPECT_TRUE(!cancel || reports == 1);
    // Nothing else changes the folders: no partial or temporary file is left.
    EXPECT_EQ(entries(dir.path()), before + (written && out_kind == Out::fresh ? 1 : 0));
    EXPECT_EQ(entries(program.path()), program_files);
    if (written) {
        // 2000 ms and the fade, 6 bytes a frame, after a 44-byte header.
        EXPECT_EQ(announced, 44u + 6u * (2000u * 48u + 144u));
        EXPECT_EQ(read_wav(out).info.frames, 2000 * kFramesPerMs + kFadeFrames);
    } else {
        EXPECT_EQ(test::read_file_bytes(out), old_bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(WavExport, ExportFaults, testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

// With no recording and no sequence file the player is told so and asked nothing.
TEST(WavExport, WithoutASourceTheUserIsToldAndAskedNothing) {
    const WavExportQuestions ask;  // a question asked would throw
    test::RecordingDialogs dialogs;
    wav_export_Click(InstrumentState{}, dialogs, {}, ask);
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"Dışa aktarılacak bir kayıt ya da ses dosyası bulunamadı."});
}

// 44 header bytes and 6 a frame up to what a RIFF header's 32-bit sizes hold; RF64 (a 104-byte
// header) beyond, so a file above 4 GiB is neither refused nor written with wrapped sizes.
TEST(WavFile, SizeAndFormatFollowTheFrames) {
    // RIFF size fields of 4294967292 and 4294967298 at the boundary; one line "12 0 2147483647".
    // clang-format off
    const std::tuple<std::int64_t, std::uint64_t, bool, const char*> cases[] = {
        {0, 44, false, "1 kB"}, {48000, 288044, false, "288 kB"}, {8716667, 52300046, false, "52,3 MB"},
        {715827876, 4294967300, false, "4,3 GB"}, {715827877, 4294967366, true, "4,3 GB"},
        {103079215200, 618475291304, true, "618,5 GB"}};
    // clang-format on
    for (const auto& [frames, bytes, rf64, shown] : cases)
        EXPECT_EQ(
            std::tuple(wav_file_size(frames).bytes, wav_file_size(frames).rf64, size_text(bytes)),
            std::tuple(bytes, rf64, std::string(shown)));
    EXPECT_EQ(size_text(1000000) + " " + size_text(1000000000), "1,0 MB 1,0 GB");
    // Sample rates 1000 .. 1000000 Hz sound; a rest (0) and what lies beyond do not.
    EXPECT_TRUE(audible_rate(1000) && audible_rate(1000000) && !audible_rate(999) &&
                !audible_rate(1000001) && !audible_rate(0));
}

// The header gets its sizes when the file is closed: a write failing then (the descriptor made
// read-only at the first progress report, after 550 ms of sound in seven blocks and the fade in
// an eighth) fails the render instead of leaving a file whose sizes say it is empty.
TEST(WavRender, AHeaderThatCannotBeFinishedFailsTheFile) {
    test::TempDir dir;
    const fs::path file = dir / "ezgi.wav";
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    SampleBank bank(test::program_dir());
    OutputFile out(file, {});
    const RenderProgress spoil = [&](double done) {
        const int read_only = ::open(file.c_str(), O_RDONLY | O_CREAT, 0600);
        const bool swapped = ::dup2(read_only, out.handle()) == out.handle();
        return ::close(read_only) == 0 && swapped && done == 1.0;
    };
    ASSERT_FALSE(out.open());
    const RenderResult r =
        render_wav(schedule_recording(" 12 0 550\r\n", st), st, bank, out, spoil);
    EXPECT_EQ(r.outcome, RenderOutcome::unwritable);
    EXPECT_TRUE(r.why.starts_with('"' + file.string() + "\" yazılamadı: sistem hatası")) << r.why;
}

}  // namespace
}  // namespace orvena
