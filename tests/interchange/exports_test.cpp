// The window's MIDI and MusicXML entries and the command line: what is offered and asked, the
// refusals, backing out, every fault's message, and that only a finished export is written.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <sstream>

#include "interchange/export_command.h"
#include "interchange/export_menu.h"
#include "recording/render_command.h"
#include "support/recording_dialogs.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

enum class Entry { midi, score };
enum class Step { none, source, tuning, output, progress };  // where the user backs out

// The test name, the entry, the source chosen in the test's program folder, its bytes when not the
// usual ones ("FIFO" a named pipe), the file named for the output ("@null" a device node), where
// the user backs out, the answer to "zaten var" ("ezgi.mid" exists), the one message shown (""
// none; its end when it starts with '~'), what the file starts with afterwards ("" not there),
// whether the MIDI file carries pitch bends, string 12's sample does not decode, and the folder
// holds only the source's text, if any.
using MenuCase = std::tuple<const char*, Entry, const char*, const char*, const char*, Step,
                            MessageAnswer, const char*, const char*, bool, bool, bool>;

constexpr const char* kEarlier = "earlier";
constexpr const char* kNote = "0,8,3,0,0,0,0,0,0,0\r\n";
constexpr auto kNo = MessageAnswer::No, kYes = MessageAnswer::Yes;
constexpr const char* kReadFile =
    "~okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.";

// clang-format off
const MenuCase kCases[] = {
    {"midi_of_the_recording", Entry::midi, "kayıt.txt", nullptr, "yeni.mid", Step::none, kNo, "", "MThd", false, false, false},
    {"midi_in_pitch_bends", Entry::midi, "ezgi.ses", nullptr, "yeni.mid", Step::none, kNo, "", "MThd", true, false, false},
    {"midi_replaces_when_asked_to", Entry::midi, "ezgi.ses", nullptr, "ezgi.mid", Step::none, kYes, "ezgi.mid zaten var. Üzerine yazılsın mı?", "MThd", false, false, false},
    {"midi_keeps_the_file_on_no", Entry::midi, "ezgi.ses", nullptr, "ezgi.mid", Step::none, kNo, "ezgi.mid zaten var. Üzerine yazılsın mı?", kEarlier, false, false, false},
    {"midi_refuses_a_sample_name", Entry::midi, "ezgi.ses", nullptr, "26-A2.wav", Step::none, kNo, "~(tel sesi); bu ada yazılamaz. Başka bir ad ya da klasör seçin.", kEarlier, false, false, false},
    {"midi_refuses_a_device", Entry::midi, "ezgi.ses", nullptr, "@null", Step::none, kNo, "~düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz.", "", false, false, false},
    {"midi_refuses_the_scale_played", Entry::midi, "ezgi.ses", nullptr, "oyun.scl", Step::none, kNo, kReadFile, kEarlier, false, false, false},
    {"midi_into_a_missing_folder", Entry::midi, "ezgi.ses", nullptr, "yok/yeni.mid", Step::none, kNo, "~yeni.mid\" yazılamadı: klasörü yok.", "", false, false, false},
    {"midi_backed_out_of_the_tuning", Entry::midi, "ezgi.ses", nullptr, "yeni.mid", Step::tuning, kNo, "", "", false, false, false},
    {"midi_backed_out_of_the_file", Entry::midi, "ezgi.ses", nullptr, "yeni.mid", Step::output, kNo, "", "", false, false, false},
    {"midi_cancelled", Entry::midi, "ezgi.ses", nullptr, "ezgi.mid", Step::progress, kYes, "ezgi.mid zaten var. Üzerine yazılsın mı?", kEarlier, false, false, false},
    {"midi_names_the_bad_record", Entry::midi, "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n0,8,x,0,0,0,0,0,0,0\r\n", "yeni.mid", Step::none, kNo, "2\r\nses dosyasından kaynaklanan bir hata oluştu.", "", false, false, false},
    {"midi_of_rests_only", Entry::midi, "ezgi.ses", "0,29,0,0,0,0,0,0,0,0\r\n", "yeni.mid", Step::none, kNo, "ezgi.ses içinde çalınacak nota yok.", "", false, false, false},
    {"midi_of_no_source", Entry::midi, "yok.ses", nullptr, "yeni.mid", Step::none, kNo, "yok.ses dosyası okunamadı: böyle bir dosya yok.", "", false, false, false},
    {"midi_of_a_pipe", Entry::midi, "boru.txt", "FIFO", "yeni.mid", Step::none, kNo, "boru.txt dosyası okunamadı: düzenli bir dosya değil (aygıt ya da FIFO).", "", false, false, false},
    {"midi_beyond_the_ticks_of_a_file", Entry::midi, "kayıt.txt", " 12 0 2000000000\r\n 5 0 100\r\n", "yeni.mid", Step::none, kNo, "kayıt.txt MIDI dosyasına sığmayacak kadar uzun.", "", false, false, false},
    {"midi_with_a_sample_that_does_not_decode", Entry::midi, "kayıt.txt", " 5 0 300\r\n 12 0 300\r\n", "yeni.mid", Step::none, kNo, "\"bozuk.wav\" tel sesi (tel 12) okunamıyor ya da çalınabilir bir WAV dosyası değil.\r\nMIDI dosyası yazılmadı.", "", false, true, false},
    {"score_of_a_sequence", Entry::score, "ezgi.ses", nullptr, "yeni.musicxml", Step::none, kNo, "", "<?xml", false, false, false},
    {"score_of_a_bad_file", Entry::score, "bozuk.ses", nullptr, "yeni.musicxml", Step::none, kNo, "1\r\nses dosyasından kaynaklanan bir hata oluştu.", "", false, false, false},
    {"score_of_skipped_records_only", Entry::score, "ezgi.ses", "0,40,3,0,0,0,0,0,0,0\r\n", "yeni.musicxml", Step::none, kNo, "ezgi.ses içinde çalınacak nota yok.", "", false, false, false},
    {"score_of_a_recording", Entry::score, "kayıt.txt", nullptr, "yeni.musicxml", Step::none, kNo, "kayıt.txt bir ses dosyası değil; nota yalnızca ses dosyalarından yazılır.", "", false, false, false},
    {"score_backed_out_of_the_source", Entry::score, "ezgi.ses", nullptr, "yeni.musicxml", Step::source, kNo, "", "", false, false, false},
    {"midi_with_nothing_to_export", Entry::midi, "", nullptr, "", Step::none, kNo, kNoMidiSourceMessage, "", false, false, true},
    {"score_of_a_folder_with_only_the_recording", Entry::score, "kayıt.txt", " 12 0 300\r\n", "", Step::none, kNo, kNoMusicXmlSourceMessage, "", false, false, true},
    {"score_cancelled", Entry::score, "ezgi.ses", nullptr, "yeni.musicxml", Step::progress, kNo, "", "", false, false, false},
};
// clang-format on

class ExportMenu : public testing::TestWithParam<MenuCase> {};

TEST_P(ExportMenu, AsksThenWritesOrTellsWhy) {
    const auto& [test_name, entry, source, given, named, back_out, replace, message, starts, bends,
                 broken_sample, bare] = GetParam();
    test::TempDir dir;
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir()));
    st.transport.speed = 50;  // a quarter of 16 units: 800 ms, 75 a minute
    for (const char* name : {"ezgi.mid", "26-A2.wav", "oyun.scl", "oyun.kbm"})  // oyun.*: the
        if (!bare) test::write_file_bytes(dir / name, kEarlier);  // scale the instrument plays
    for (const auto& [name, text] :
         {std::pair{"ezgi.ses", kNote}, {"bozuk.ses", "0,8,3\r\n"}, {"kayıt.txt", " 12 0 300\r\n"}})
        if (!bare) test::write_file_bytes(dir / name, text);
    if (given && given == "FIFO"s)
        ASSERT_EQ(mkfifo((dir / source).c_str(), 0600), 0);
    else if (given)
        test::write_file_bytes(dir / source, given);
    fs::path samples = test::program_dir();
    if (broken_sample) {
        samples = dir / "tel";
        fs::create_directory(samples);
        fs::copy_file(test::program_dir() / st.build.wav_files[5], samples / st.build.wav_files[5]);
        test::write_file_bytes(samples / "bozuk.wav", "RIFF, but nothing playable");
        st.build.wav_files[12] = "bozuk.wav";
    }
    // A device node of the test's own as /dev/null: a file renamed over it harms nothing.
    const bool device = named[0] == '@';
    const fs::path out = dir / (device ? named + 1 : named);
    if (device && !test::make_char_device(out, 1, 3))
        GTEST_SKIP() << "no device nodes without root";
    const auto entries = [&dir] { return std::distance(fs::directory_iterator(dir.path()), {}); };
    const auto before = entries();
    std::vector<std::string> offered;
    std::vector<fs::path> suggested;  // each time the file dialog opens
    bool tuning_asked = false;
    int reports = 0;
    ExportQuestions ask;
    ask.choose_source = [&](const std::vector<fs::path>& sources) -> std::optional<fs::path> {
        for (const auto& s : sources) offered.push_back(s.filename().string());
        return back_out == Step::source ? std::nullopt : std::optional(dir / source);
    };
    ask.choose_tuning = [&]() -> std::optional<MidiTuning> {
        tuning_asked = true;
        return back_out == Step::tuning ? std::nullopt
                                        : std::optional(bends ? MidiTuning::bend : MidiTuning::mts);
    };
    // The user names the file once and backs out when the dialog opens again on a refusal.
    ask.choose_output = [&](const fs::path& offer) -> std::optional<fs::path> {
        suggested.push_back(offer);
        return back_out == Step::output || suggested.size() > 1 ? std::nullopt : std::optional(out);
    };
    ask.show_progress = [&]() -> ExportProgress {
        return [&](double) { return ++reports, back_out != Step::progress; };
    };
    test::RecordingDialogs dialogs;
    dialogs.answer_next(replace);
    const ExportPlace place{dir.path(),    dir / "kayıt.txt",
                            samples,       AccidentalSource::Instrument,
                            dir / "müzik", {dir / "oyun.scl", dir / "oyun.kbm"}};
    (entry == Entry::midi ? midi_export_Click : musicxml_export_Click)(st, dialogs, place, ask);
    std::vector<std::string> sources{"bozuk.ses", "ezgi.ses"};
    if (entry == Entry::midi) sources.insert(sources.begin(), "kayıt.txt");
    if (bare) sources.clear();
    EXPECT_EQ(offered, sources);
    EXPECT_EQ(tuning_asked, entry == Entry::midi && back_out != Step::source && !bare);
    const bool refused = message[0] == '~';
    const fs::path first_offer =
        dir / "müzik" /
        (fs::path(source).stem().string() + (entry == Entry::midi ? ".mid" : ".musicxml"));
    if (back_out != Step::source && back_out != Step::tuning && !bare) {
        std::vector<fs::path> offers{first_offer};
        if (refused) offers.push_back(out);
        EXPECT_EQ(suggested, offers);
    }
    EXPECT_TRUE(back_out != Step::progress || reports == 1);
    std::vector<std::string> messages, notices;
    for (const test::ShownMessage& m : dialogs.shown())
        (m.modal ? messages : notices).push_back(m.text);
    const std::string told = messages.empty() ? "" : messages.back();
    EXPECT_LE(messages.size(), 1u);
    const bool written = starts == "MThd"s || starts == "<?xml"s;
    const std::string kind = entry == Entry::midi ? "MIDI" : "MusicXML";
    EXPECT_EQ(notices, written ? std::vector{kind + " dosyası yazıldı:\r\n" + out.string()}
                               : std::vector<std::string>{});
    EXPECT_TRUE(refused ? told.ends_with(message + 1) : told == message) << told;
    // Nothing but a finished export changes the folder: no partial or temporary file.
    EXPECT_EQ(entries(), before + (written && out.filename().string().starts_with("yeni")));
    const std::string bytes = fs::is_regular_file(out) ? test::read_file_bytes(out) : "";
    EXPECT_EQ(bytes.substr(0, std::string(starts).size()), starts);
    EXPECT_EQ(bytes.empty(), std::string(starts).empty());
    if (written && entry == Entry::midi) {  // a quarter of 800000 us; tuning messages
        EXPECT_NE(bytes.find("\xFF\x51\x03\x0C\x35\x00"s), std::string::npos);
        EXPECT_EQ(bytes.find("\x7F\x7F\x08") == std::string::npos, bends);
    } else if (written) {
        EXPECT_NE(bytes.find("<sound tempo=\"75\"/>"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Interchange, ExportMenu, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

TEST(ExportCommand, WritesTheFileOrSaysWhyNotWithItsStatus) {
    // Arguments ("DIR/" the test's folder; "full" a device that takes no bytes), the exit
    // status, what it says (on standard output for 0, else on standard error) and what the
    // file "out" starts with.
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", "MThd"},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"}, 0, "yazıldı", "MThd"},
        {{"--midi-tuning", "mts", "--export-midi", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", "MThd"},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", "<?xml"},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/full"}, 1, "yazılamadı: diskte yer kalmadı.", ""},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/ezgi.ses"}, 1, "okunan dosyanın kendisi", ""},
        {{"--export-midi", "DIR/ezgi.ses"}, 2, "kullanım", ""},
        {{"--export-musicxml", "DIR/ezgi.ses", "DIR/out", "--midi-tuning", "bend"}, 2, "--midi-tuning yalnız --export-midi ile kullanılır", ""},
        {{"--export-midi", "DIR/ezgi.ses", "DIR/out", "--render"}, 2, "kullanım", ""},
        {{"--export-midi", "DIR/yok.ses", "DIR/out"}, 1, "yok.ses\" okunamadı: ", ""},
        {{"--export-musicxml", "DIR/ezgi.mkm", "DIR/out"}, 1, "ezgi.mkm\" bir ses dosyası (.ses) değil", ""},
        {{"--export-midi", "DIR/bozuk.ses", "DIR/out"}, 1, "bozuk.ses\", kayıt 1: alan 2, satır 1: sayı 16 bite sığmıyor", ""},
    };
    // clang-format on
    for (const auto& [given, status, said, kind] : cases) {
        test::TempDir dir;
        test::write_file_bytes(dir / "ezgi.ses", kNote);
        test::write_file_bytes(dir / "ezgi.mkm", kNote);
        test::write_file_bytes(dir / "bozuk.ses", "0,40000\r\n");
        // A node of its own as /dev/full: a file renamed over it harms nothing.
        const bool full = given.back() == "DIR/full";
        if (full && !test::make_char_device(dir / "full", 1, 7)) continue;  // not root
        std::vector<std::string> args;
        for (const std::string& a : given)
            args.push_back(a.starts_with("DIR/") ? (dir / a.substr(4)).string() : a);
        std::ostringstream out, err;
        SCOPED_TRACE(given.front() + " " + given.back());
        EXPECT_EQ(run_export_command(args, test::program_dir(), out, err), status) << err.str();
        EXPECT_NE((status == 0 ? out : err).str().find(said), std::string::npos);
        const std::string bytes = test::read_file_bytes(dir / "out");
        EXPECT_EQ(bytes.substr(0, kind.size()), kind);
        EXPECT_EQ(fs::exists(dir / "out"), status == 0);
        EXPECT_TRUE(!full || fs::is_character_file(dir / "full"));
        // Tuning messages (F0 7F 7F 08 ..) only in a MIDI file, and not when bends were asked for.
        EXPECT_EQ(bytes.find("\x7F\x7F\x08") != std::string::npos,
                  kind == "MThd" && given.back() != "bend");
    }
}

}  // namespace
}  // namespace orvena
