// The window's MIDI and MusicXML entries without the window: which sources are offered, the
// name suggested, the refusals and the question before a file is replaced, backing out and
// cancelling, and what is written.

#include <gtest/gtest.h>

#include "interchange/export_menu.h"
#include "recording/render_command.h"
#include "smf_events.h"
#include "support/recording_dialogs.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

enum class Entry { midi, score };
enum class Step { none, source, tuning, output, progress };  // where the user backs out

struct MenuCase {
    const char* name;
    Entry entry;
    const char* source;  // chosen among the offered ones
    const char* out;     // the file named, in the program folder; "@null" a device node there
    Step back_out;
    MessageAnswer replace;  // to "zaten var" when the file exists ("ezgi.mid" does)
    const char* told;       // the one message shown ("" none); its end when it starts with '~'
    const char* written;    // what the file starts with afterwards ("" not there)
    bool bends;             // the MIDI file carries pitch bends
};

constexpr const char* kEarlier = "earlier";
constexpr auto kNo = MessageAnswer::No;
constexpr auto kYes = MessageAnswer::Yes;

// clang-format off
const MenuCase kCases[] = {
    {"midi_of_the_recording", Entry::midi, "kayıt.txt", "yeni.mid", Step::none, kNo, "", "MThd", false},
    {"midi_in_pitch_bends", Entry::midi, "ezgi.ses", "yeni.mid", Step::none, kNo, "", "MThd", true},
    {"midi_replaces_when_asked_to", Entry::midi, "ezgi.ses", "ezgi.mid", Step::none, kYes, "ezgi.mid zaten var. Üzerine yazılsın mı?", "MThd", false},
    {"midi_keeps_the_file_on_no", Entry::midi, "ezgi.ses", "ezgi.mid", Step::none, kNo, "ezgi.mid zaten var. Üzerine yazılsın mı?", kEarlier, false},
    {"midi_refuses_a_sample_name", Entry::midi, "ezgi.ses", "26-A2.wav", Step::none, kNo, "~(tel sesi); bu ada yazılamaz. Başka bir ad ya da klasör seçin.", kEarlier, false},
    {"midi_refuses_a_device", Entry::midi, "ezgi.ses", "@null", Step::none, kNo, "~düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz.", "", false},
    {"midi_backed_out_of_the_tuning", Entry::midi, "ezgi.ses", "yeni.mid", Step::tuning, kNo, "", "", false},
    {"midi_backed_out_of_the_file", Entry::midi, "ezgi.ses", "yeni.mid", Step::output, kNo, "", "", false},
    {"midi_cancelled", Entry::midi, "ezgi.ses", "yeni.mid", Step::progress, kNo, "", "", false},
    {"midi_refuses_the_scale_played", Entry::midi, "ezgi.ses", "oyun.scl", Step::none, kNo, "~okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.", kEarlier, false},
    {"score_refuses_the_scale_played", Entry::score, "ezgi.ses", "oyun.kbm", Step::none, kNo, "~okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.", kEarlier, false},
    {"score_of_a_sequence", Entry::score, "ezgi.ses", "yeni.musicxml", Step::none, kNo, "", "<?xml", false},
    {"score_refuses_its_source", Entry::score, "ezgi.ses", "ezgi.ses", Step::none, kNo, "~(ses dosyası); bu ada yazılamaz. Başka bir ad ya da klasör seçin.", "0,8", false},
    {"score_of_a_bad_file", Entry::score, "bozuk.ses", "yeni.musicxml", Step::none, kNo, "1\r\nses dosyasından kaynaklanan bir hata oluştu.", "", false},
    {"score_backed_out_of_the_source", Entry::score, "ezgi.ses", "yeni.musicxml", Step::source, kNo, "", "", false},
};
// clang-format on

void PrintTo(const MenuCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportMenu : public testing::TestWithParam<MenuCase> {};

TEST_P(ExportMenu, AsksThenWritesOrTellsWhy) {
    const MenuCase& c = GetParam();
    test::TempDir dir;
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    test::write_file_bytes(dir / "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n");
    test::write_file_bytes(dir / "bozuk.ses", "0,8,3\r\n");
    test::write_file_bytes(dir / "kayıt.txt", " 12 0 300\r\n");
    test::write_file_bytes(dir / "ezgi.mid", kEarlier);
    test::write_file_bytes(dir / "26-A2.wav", kEarlier);
    test::write_file_bytes(dir / "oyun.scl", kEarlier);  // the scale the instrument plays
    test::write_file_bytes(dir / "oyun.kbm", kEarlier);
    // A device node of the test's own that behaves as /dev/null: should the program ever rename
    // a file over the device it was given, only the test's folder suffers.
    const bool device = c.out[0] == '@';
    const fs::path out = dir / (device ? c.out + 1 : c.out);
    if (device && !test::make_char_device(out, 1, 3))
        GTEST_SKIP() << "no device nodes without root";

    std::vector<std::string> offered;
    std::vector<fs::path> suggested;  // each time the file dialog opens
    bool tuning_asked = false;
    ExportQuestions ask;
    ask.choose_source = [&](const std::vector<fs::path>& sources) -> std::optional<fs::path> {
        for (const auto& s : sources) offered.push_back(s.filename().string());
        if (c.back_out == Step::source) return std::nullopt;
        return dir / c.source;
    };
    ask.choose_tuning = [&]() -> std::optional<MidiTuning> {
        tuning_asked = true;
        if (c.back_out == Step::tuning) return std::nullopt;
        return c.bends ? MidiTuning::bend : MidiTuning::mts;
    };
    // The user names the file once and backs out when the dialog opens again on a refusal.
    ask.choose_output = [&](const fs::path& offer) -> std::optional<fs::path> {
        suggested.push_back(offer);
        if (c.back_out == Step::output || suggested.size() > 1) return std::nullopt;
        return out;
    };
    ask.show_progress = [&]() -> ExportProgress {
        return [&](double) { return c.back_out != Step::progress; };
    };
    test::RecordingDialogs dialogs;
    dialogs.answer_next(c.replace);
    const ExportPlace place{dir.path(),          dir / "kayıt.txt",
                            test::program_dir(), AccidentalSource::Instrument,
                            dir / "müzik",       {dir / "oyun.scl", dir / "oyun.kbm"}};
    (c.entry == Entry::midi ? midi_export_Click : musicxml_export_Click)(st, dialogs, place, ask);

    const std::vector<std::string> sequences = {"bozuk.ses", "ezgi.ses"};
    std::vector<std::string> all = {"kayıt.txt"};
    all.insert(all.end(), sequences.begin(), sequences.end());
    EXPECT_EQ(offered, c.entry == Entry::midi ? all : sequences);
    EXPECT_EQ(tuning_asked, c.entry == Entry::midi && c.back_out != Step::source);
    const bool refused = std::string(c.told).starts_with('~');
    if (c.back_out == Step::none || c.back_out >= Step::output) {
        ASSERT_EQ(suggested.size(), refused ? 2u : 1u);
        EXPECT_EQ(suggested[0], dir / "müzik" /
                                    (fs::path(c.source).stem().string() +
                                     (c.entry == Entry::midi ? ".mid" : ".musicxml")));
        if (refused) {
            EXPECT_EQ(suggested[1], out);  // opens again on the refused name
        }
    }
    std::vector<std::string> messages, notices;
    for (const test::ShownMessage& m : dialogs.shown()) {
        (m.modal ? messages : notices).push_back(m.text);
    }
    const std::string told = messages.empty() ? "" : messages.back();
    const std::string expected = c.told;
    EXPECT_LE(messages.size(), 1u);
    const bool written = c.written == std::string("MThd") || c.written == std::string("<?xml");
    const std::string kind = c.entry == Entry::midi ? "MIDI" : "MusicXML";
    EXPECT_EQ(notices, written ? std::vector{kind + " dosyası yazıldı:\r\n" + out.string()}
                               : std::vector<std::string>{});
    if (expected.starts_with('~')) {
        EXPECT_TRUE(told.ends_with(expected.substr(1))) << told;
    } else {
        EXPECT_EQ(told, expected);
    }
    const std::string bytes = fs::is_regular_file(out) ? test::read_file_bytes(out) : "";
    EXPECT_EQ(bytes.substr(0, std::string(c.written).size()), c.written);
    EXPECT_EQ(bytes.empty(), std::string(c.written).empty());
    if (c.entry == Entry::midi && bytes.starts_with("MThd")) {
        bool bends = false;
        const test::SmfContents smf = test::read_smf(bytes);
        for (const auto& e : smf.tracks.at(0)) bends |= (e.bytes[0] & 0xF0) == 0xE0;
        EXPECT_EQ(bends, c.bends);
    }
}

INSTANTIATE_TEST_SUITE_P(Interchange, ExportMenu, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ExportMenu, SaysSoWhenThereIsNothingToExport) {
    test::TempDir dir;
    const InstrumentState st;
    ExportQuestions ask;
    ask.choose_source = [](const auto&) -> std::optional<fs::path> {
        ADD_FAILURE() << "nothing to choose from";
        return std::nullopt;
    };
    test::RecordingDialogs dialogs;
    test::write_file_bytes(dir / "kayıt.txt", " 12 0 300\r\n");  // a recording is not a score
    const ExportPlace place{dir.path(), dir / "kayıt.txt", dir.path(), AccidentalSource::Instrument,
                            dir.path()};
    musicxml_export_Click(st, dialogs, place, ask);
    fs::remove(dir / "kayıt.txt");
    midi_export_Click(st, dialogs, place, ask);
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{kNoMusicXmlSourceMessage, kNoMidiSourceMessage}));
}

}  // namespace
}  // namespace orvena
