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
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using Status = ExportResult::Status;

enum class Out { fresh, existing, in_a_missing_folder };
enum class Kind { midi, score };

struct ExportCase {
    const char* name;
    Kind kind;
    const char* file_name;
    const char* text;  // nullptr: no source; "FIFO": a named pipe
    Out out;
    bool cancel;  // at the first progress report
    Status status;
    const char* message;  // the window's message, or its start when it ends in ':'
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
    {"midi_of_no_source", Kind::midi, "yok.ses", nullptr, Out::fresh, false, Status::unreadable_source, "yok.ses dosyası okunamadı."},
    {"midi_of_a_pipe", Kind::midi, "boru.txt", "FIFO", Out::fresh, false, Status::unreadable_source, "boru.txt dosyası okunamadı."},
    {"midi_beyond_the_ticks_of_a_file", Kind::midi, "kayıt.txt", " 12 0 2000000000\r\n 5 0 100\r\n", Out::existing, false, Status::too_long, "kayıt.txt MIDI dosyasına sığmayacak kadar uzun."},
    {"midi_into_a_missing_folder", Kind::midi, "ezgi.ses", kNote, Out::in_a_missing_folder, false, Status::unwritable_output, "MIDI dosyası yazılamadı:"},
    {"midi_cancelled", Kind::midi, "ezgi.ses", kNote, Out::existing, true, Status::cancelled, ""},
    {"score_of_a_sequence", Kind::score, "ezgi.ses", kNote, Out::fresh, false, Status::written, ""},
    {"score_of_rests_only", Kind::score, "ezgi.ses", "0,29,0,0,0,0,0,0,0,0\r\n", Out::existing, false, Status::written, ""},
    {"score_of_a_recording", Kind::score, "kayıt.txt", " 12 0 300\r\n", Out::existing, false, Status::not_a_sequence, "kayıt.txt bir ses dosyası değil; nota yalnızca ses dosyalarından yazılır."},
    {"score_names_the_bad_record", Kind::score, "ezgi.ses", kBadSecond, Out::existing, false, Status::bad_record, kSeqError},
    {"score_of_skipped_records_only", Kind::score, "ezgi.ses", "0,40,3,0,0,0,0,0,0,0\r\n", Out::fresh, false, Status::nothing_to_play, "ezgi.ses içinde çalınacak nota yok."},
    {"score_of_a_pipe", Kind::score, "boru.ses", "FIFO", Out::fresh, false, Status::unreadable_source, "boru.ses dosyası okunamadı."},
    {"score_into_a_missing_folder", Kind::score, "ezgi.ses", kNote, Out::in_a_missing_folder, false, Status::unwritable_output, "MusicXML dosyası yazılamadı:"},
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
    const fs::path source = dir / c.file_name;
    const fs::path out = dir / (c.out == Out::in_a_missing_folder ? "yok" : "") / "out.dosya";
    if (c.text != nullptr && std::string(c.text) == "FIFO") {
        ASSERT_EQ(mkfifo(source.c_str(), 0600), 0);
    } else if (c.text != nullptr) {
        test::write_file_bytes(source, c.text);
    }
    const std::string old_bytes = "an earlier file that must survive";
    if (c.out == Out::existing) test::write_file_bytes(out, old_bytes);
    const auto entries = [&dir] {
        return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    };
    const auto before = entries();

    int reports = 0;
    const ExportProgress progress = [&](double) { return ++reports, !c.cancel; };
    const ExportResult result =
        c.kind == Kind::midi
            ? export_midi({source, out, test::program_dir(), AccidentalSource::File}, st, progress)
            : export_musicxml({source, out, AccidentalSource::File}, st, progress);
    EXPECT_EQ(result.status, c.status) << result.detail;
    const std::string message =
        export_message(c.kind == Kind::midi ? "MIDI" : "MusicXML", source, out, result);
    const std::string expected = c.message;
    EXPECT_EQ(expected.ends_with(':') ? message.substr(0, expected.size()) : message, expected);
    if (c.cancel) {
        EXPECT_EQ(reports, 1);
    }

    const bool written = c.status == Status::written;
    EXPECT_EQ(entries(), before + (written && c.out == Out::fresh ? 1 : 0));
    const std::string bytes = test::read_file_bytes(out);
    if (written && c.kind == Kind::midi) {
        EXPECT_EQ(test::read_smf(bytes).format, 1);
    } else if (written) {
        EXPECT_NE(bytes.find("<score-partwise version=\"3.1\">"), std::string::npos);
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
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out"}, 0, "wrote", "MThd"},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"}, 0, "wrote", "MThd"},
        {{"--midi-tuning", "mts", "--export-midi", "DIR/ezgi.ses", "DIR/out"}, 0, "wrote", "MThd"},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out"}, 0, "wrote", "<?xml"},
        {{"--export-musicxml", "DIR/kayıt.txt", "DIR/out"}, 1, "not a sequence file", ""},
        {{"--export-midi", "DIR/bozuk.ses", "DIR/out"}, 1, "bozuk.ses: record 2:", ""},
        {{"--export-midi", "DIR/yok.ses", "DIR/out"}, 1, "cannot be read", ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/yok/out"}, 1, "cannot write", ""},
        {{"--export-midi", "DIR/ezgi.ses"}, 2, "usage", ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "cents"}, 2, "usage", ""},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"},
         2,
         "--midi-tuning goes with --export-midi",
         ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--export-musicxml", "a", "b"},
         2,
         "usage",
         ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--render"}, 2, "usage", ""},
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
    }
}

}  // namespace
}  // namespace orvena
