// The MIDI and MusicXML exports as a whole: what a good source writes, what each fault tells
// the user, and that nothing but a finished export changes the folder.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <sstream>

#include "interchange/export_command.h"
#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "recording/render_command.h"
#include "smf_events.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using Status = ExportResult::Status;

// Where the export writes: a new name, an earlier file, a name in a folder that does not exist,
// a name the program owns in its folder (a folder of the test's), the source itself,
// a device that takes no bytes.
enum class Out { fresh, existing, in_a_missing_folder, owned, the_source, full_device };
enum class Kind { midi, score };

struct ExportCase {
    const char* name;
    Kind kind;
    const char* file_name;
    const char* text;  // nullptr: no source; "FIFO": a named pipe
    Out out;
    bool cancel;  // at the first progress report
    Status status;
    const char* message;  // the window's message; its start when it ends in ':', its end when
                          // it starts with '~'
    bool broken_sample = false;  // string 12's sample does not decode
};

constexpr const char* kNote = "0,8,3,0,0,0,0,0,0,0\r\n";
constexpr const char* kBadSecond = "0,8,3,0,0,0,0,0,0,0\r\n0,8,x,0,0,0,0,0,0,0\r\n";
constexpr const char* kSeqError = "2\r\nses dosyasından kaynaklanan bir hata oluştu.";

// clang-format off
const ExportCase kCases[] = {
    {"midi_of_a_recording", Kind::midi, "kayıt.txt", " 12 0 300\r\n 5 0 200\r\n", Out::fresh, false, Status::written, ""},
    {"midi_replaces_a_file", Kind::midi, "ezgi.ses", kNote, Out::existing, false, Status::written, ""},
    {"midi_names_the_bad_record", Kind::midi, "ezgi.ses", kBadSecond, Out::existing, false, Status::bad_record, kSeqError},
    {"midi_of_rests_only", Kind::midi, "ezgi.ses", "0,29,0,0,0,0,0,0,0,0\r\n", Out::fresh, false, Status::nothing_to_play, "ezgi.ses içinde çalınacak nota yok."},
    {"midi_of_no_source", Kind::midi, "yok.ses", nullptr, Out::fresh, false, Status::unreadable_source, "yok.ses dosyası okunamadı: böyle bir dosya yok."},
    {"midi_of_a_pipe", Kind::midi, "boru.txt", "FIFO", Out::fresh, false, Status::unreadable_source, "boru.txt dosyası okunamadı: düzenli bir dosya değil (aygıt ya da FIFO)."},
    {"midi_beyond_the_ticks_of_a_file", Kind::midi, "kayıt.txt", " 12 0 2000000000\r\n 5 0 100\r\n", Out::existing, false, Status::too_long, "kayıt.txt MIDI dosyasına sığmayacak kadar uzun."},
    {"midi_into_a_missing_folder", Kind::midi, "ezgi.ses", kNote, Out::in_a_missing_folder, false, Status::refused_output, "~out.dosya\" yazılamadı: klasörü yok."},
    {"midi_over_a_sample_name", Kind::midi, "ezgi.ses", kNote, Out::owned, false, Status::refused_output, "~x.wav\" adı ORVENA'nın kendi dosyalarına ayrılmıştır (tel sesi); bu ada yazılamaz. Başka bir ad ya da klasör seçin."},
    {"midi_over_its_source", Kind::midi, "kayıt.txt", " 12 0 300\r\n", Out::the_source, false, Status::refused_output, "~kayıt.txt\" okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
    {"midi_into_a_full_device", Kind::midi, "ezgi.ses", kNote, Out::full_device, false, Status::unwritable_output, "~full\" yazılamadı: diskte yer kalmadı."},
    {"midi_with_a_sample_that_does_not_decode", Kind::midi, "kayıt.txt", " 5 0 300\r\n 12 0 300\r\n", Out::existing, false, Status::unreadable_sample, "\"bozuk.wav\" tel sesi (tel 12) okunamıyor ya da çalınabilir bir WAV dosyası değil.\r\nMIDI dosyası yazılmadı.", true},
    {"midi_cancelled", Kind::midi, "ezgi.ses", kNote, Out::existing, true, Status::cancelled, ""},
    {"score_of_a_sequence", Kind::score, "ezgi.ses", kNote, Out::fresh, false, Status::written, ""},
    {"score_of_rests_only", Kind::score, "ezgi.ses", "0,29,0,0,0,0,0,0,0,0\r\n", Out::existing, false, Status::written, ""},
    {"score_of_a_recording", Kind::score, "kayıt.txt", " 12 0 300\r\n", Out::existing, false, Status::not_a_sequence, "kayıt.txt bir ses dosyası değil; nota yalnızca ses dosyalarından yazılır."},
    {"score_names_the_bad_record", Kind::score, "ezgi.ses", kBadSecond, Out::existing, false, Status::bad_record, kSeqError},
    {"score_of_skipped_records_only", Kind::score, "ezgi.ses", "0,40,3,0,0,0,0,0,0,0\r\n", Out::fresh, false, Status::nothing_to_play, "ezgi.ses içinde çalınacak nota yok."},
    {"score_of_a_pipe", Kind::score, "boru.ses", "FIFO", Out::fresh, false, Status::unreadable_source, "boru.ses dosyası okunamadı: düzenli bir dosya değil (aygıt ya da FIFO)."},
    {"score_into_a_missing_folder", Kind::score, "ezgi.ses", kNote, Out::in_a_missing_folder, false, Status::refused_output, "~out.dosya\" yazılamadı: klasörü yok."},
    {"score_over_its_source", Kind::score, "ezgi.ses", kNote, Out::the_source, false, Status::refused_output, "~ezgi.ses\" okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
    {"score_cancelled", Kind::score, "ezgi.ses", kNote, Out::fresh, true, Status::cancelled, ""},
};
// clang-format on

void PrintTo(const ExportCase& c, std::ostream* out) {
    *out << c.name;
}

class Exports : public testing::TestWithParam<ExportCase> {};

TEST_P(Exports, WriteAGoodSourceAndLeaveTheFolderAsItWasOtherwise) {
    const ExportCase& c = GetParam();
    test::TempDir dir;
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    st.speed = 50;  // a quarter of 16 units: 800 ms, 75 a minute
    fs::path samples = test::program_dir();
    if (c.broken_sample) {
        samples = dir / "orvena";
        fs::create_directory(samples);
        fs::copy_file(test::program_dir() / st.wav_files[5], samples / st.wav_files[5]);
        test::write_file_bytes(samples / "bozuk.wav", "RIFF, but nothing playable");
        st.wav_files[12] = "bozuk.wav";
    }
    const fs::path source = dir / c.file_name;
    const fs::path out = c.out == Out::owned                 ? dir / "orvena" / "x.wav"
                         : c.out == Out::the_source          ? source
                         : c.out == Out::full_device         ? dir / "full"
                         : c.out == Out::in_a_missing_folder ? dir / "yok" / "out.dosya"
                                                             : dir / "out.dosya";
    // A node of its own that behaves as /dev/full: should the program ever rename a file over
    // the device it was given, only the test's folder suffers.
    if (c.out == Out::full_device && !test::make_char_device(out, 1, 7)) {
        GTEST_SKIP() << "no device nodes without root";
    }
    if (c.text != nullptr && std::string(c.text) == "FIFO") {
        ASSERT_EQ(mkfifo(source.c_str(), 0600), 0);
    } else if (c.text != nullptr) {
        test::write_file_bytes(source, c.text);
    }
    fs::create_directory(dir / "orvena");
    const std::string old_bytes = "an earlier file that must survive";
    if (c.out == Out::existing) test::write_file_bytes(out, old_bytes);
    const auto entries = [&dir] {
        return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    };
    const auto before = entries();

    int reports = 0;
    const ExportProgress progress = [&](double) { return ++reports, !c.cancel; };
    const OutputRules rules{{dir / "orvena"}, {}, true};
    const ExportResult result =
        c.kind == Kind::midi
            ? export_midi({source, out, samples, AccidentalSource::File, MidiTuning::mts, rules},
                          st, progress)
            : export_musicxml({source, out, AccidentalSource::File, rules}, st, progress);
    EXPECT_EQ(result.status, c.status) << result.detail;
    const std::string message =
        export_message(c.kind == Kind::midi ? "MIDI" : "MusicXML", source, result);
    const std::string expected = c.message;
    if (expected.starts_with('~')) {
        EXPECT_TRUE(message.ends_with(expected.substr(1))) << message;
    } else {
        EXPECT_EQ(expected.ends_with(':') ? message.substr(0, expected.size()) : message, expected);
    }
    if (c.cancel) {
        EXPECT_EQ(reports, 1);
    }

    const bool written = c.status == Status::written;
    EXPECT_EQ(entries(), before + (written && c.out == Out::fresh ? 1 : 0));
    if (c.out == Out::the_source) {
        EXPECT_EQ(test::read_file_bytes(source), c.text);
    }
    const std::string bytes = fs::is_regular_file(out) ? test::read_file_bytes(out) : "";
    if (written && c.kind == Kind::midi) {
        EXPECT_EQ(test::read_smf(bytes).format, 1);
        EXPECT_NE(bytes.find(std::string("\xFF\x51\x03\x0C\x35\x00", 6)),
                  std::string::npos);  // 800000 us
    } else if (written) {
        EXPECT_NE(bytes.find("<score-partwise version=\"3.1\">"), std::string::npos);
        EXPECT_NE(bytes.find("<sound tempo=\"75\"/>"), std::string::npos);
    } else if (c.out == Out::existing) {
        EXPECT_EQ(bytes, old_bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Interchange, Exports, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct CommandCase {
    std::vector<std::string> args;  // "DIR/" stands for the test's folder
    int status;
    std::string said;  // on standard output for status 0, else on standard error
    std::string kind;  // what the written file starts with
};

TEST(ExportCommand, WritesTheFileOrSaysWhyNotWithItsStatus) {
    const CommandCase cases[] = {
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", "MThd"},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"},
         0,
         "yazıldı",
         "MThd"},
        {{"--midi-tuning", "mts", "--export-midi", "DIR/ezgi.ses", "DIR/out"},
         0,
         "yazıldı",
         "MThd"},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", "<?xml"},
        {{"--export-musicxml", "DIR/kayıt.txt", "DIR/out"}, 1, "bir ses dosyası (.ses) değil", ""},
        {{"--export-midi", "DIR/bozuk.ses", "DIR/out"}, 1, "bozuk.ses\", kayıt 2:", ""},
        {{"--export-midi", "DIR/yok.ses", "DIR/out"}, 1, "okunamadı: böyle bir dosya yok", ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/yok/out"}, 1, "yazılamadı: klasörü yok.", ""},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/ezgi.ses"}, 1, "okunan dosyanın kendisi", ""},
        {{"--export-midi", "DIR/ezgi.ses"}, 2, "kullanım", ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "cents"}, 2, "kullanım", ""},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"},
         2,
         "--midi-tuning yalnız --export-midi ile kullanılır",
         ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--export-musicxml", "a", "b"},
         2,
         "kullanım",
         ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--render"}, 2, "kullanım", ""},
    };
    std::ostringstream ignored;
    EXPECT_FALSE(run_export_command({"--render", "a", "b"}, test::program_dir(), ignored, ignored));
    for (const CommandCase& c : cases) {
        test::TempDir dir;
        test::write_file_bytes(dir / "ezgi.ses", kNote);
        test::write_file_bytes(dir / "kayıt.txt", " 12 0 300\r\n");
        test::write_file_bytes(dir / "bozuk.ses", kBadSecond);
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a.rfind("DIR/", 0) == 0 ? (dir / a.substr(4)).string() : a);
        std::ostringstream out, err;
        const auto status = run_export_command(args, test::program_dir(), out, err);
        SCOPED_TRACE(c.args.front() + " " + c.args.back() + ": " + err.str());
        EXPECT_EQ(status, c.status);
        EXPECT_NE((c.status == 0 ? out : err).str().find(c.said), std::string::npos);
        EXPECT_EQ(test::read_file_bytes(dir / "out").substr(0, c.kind.size()), c.kind);
        EXPECT_EQ(fs::exists(dir / "out"), c.status == 0);
        if (c.kind == "MThd") {  // tuning messages (F0 7F 7F 08 ..) unless bends were asked for
            const bool has_mts =
                test::read_file_bytes(dir / "out").find("\x7F\x7F\x08") != std::string::npos;
            EXPECT_EQ(has_mts, c.args.back() != "bend");
        }
    }
}

}  // namespace
}  // namespace orvena
