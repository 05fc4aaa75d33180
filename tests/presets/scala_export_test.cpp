// Scala files of the tuning and of a lever setting: their bytes, the pitches they give back
// when chosen as the tuning; the command line and the window entry write them or say why not.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>
#include <sstream>

#include "preset_fixture.h"
#include "presets/makam_format.h"
#include "presets/scala_command.h"
#include "presets/scala_export.h"
#include "presets/scala_menu.h"
#include "support/scratch_program.h"
#include "support/special_files.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using test::shipped;

// Whole cents: string s at p plays 100 (26 - s) + 10 p; string s at 4 (s % 3 - 1).
TEST(ScalaExport, SettingFilesHoldEachStringAboveString26OnItsKey) {
    InstrumentState st;
    set_lever_limits(st);
    for (int s = 1; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(s, p) = 100.0 * (26 - s) + 10.0 * p;
        st.mandal_pos[s] = static_cast<std::int16_t>(4 * (s % 3 - 1));
    }
    test::TempDir dir;
    ASSERT_FALSE(write_scala_files(dir.path(), "tam", st, st.mandal_pos, test::program_dir()));
    // Cents above string 26 (40 cents), whole octaves as ratios; the 26th degree: 4 octaves.
    std::string scl = "! tam.scl\r\n!\r\nORVENA lever setting tam\r\n 26\r\n!\r\n";
    for (int s = 25; s >= 1; --s) {
        const int cents = 100 * (26 - s) + 40 * (s % 3 - 1) - 40;
        scl += cents % 1200 ? " " + std::to_string(cents) + ".000000\r\n"
                            : " " + std::to_string(1 << (cents / 1200)) + "/1\r\n";
    }
    EXPECT_EQ(test::read_file_bytes(dir / "tam.scl"), scl + " 16/1\r\n");
    const std::string kbm = test::read_file_bytes(dir / "tam.kbm");  // 45..70, 262 Hz + 40 cents
    EXPECT_NE(kbm.find("\r\n26\r\n! First MIDI note number to retune\r\n45\r\n! Last MIDI note "
                       "number to retune\r\n70\r\n"),
              std::string::npos);
    EXPECT_NE(kbm.find("\r\n45\r\n! Frequency to tune the above note to\r\n268.123960\r\n"),
              std::string::npos);
    EXPECT_TRUE(kbm.ends_with(
        "\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n"
        "14\r\n15\r\n16\r\n17\r\n18\r\n19\r\n20\r\n21\r\n22\r\n23\r\n24\r\n25\r\n"));
}

// The workbook's scale starts with its first degree. Chosen as the tuning system, an exported
// setting puts every string's lever 0 on the pitch it sounded, fine tuning (akord_step *
// (s % 5 - 2) cents on string s) included.
TEST(ScalaExport, ExportedSettingsComeBackToThePitchEveryStringSounded) {
    const std::pair<std::string, int> cases[] = {
        {"", 0}, {"Hicaz", 0}, {"Hüzzam", 3}, {"Mahur", -3}};
    for (const auto& [makam, akord_step] : cases) {
        SCOPED_TRACE(makam);
        InstrumentState st = shipped();
        if (!makam.empty()) {
            const auto r = read_makam_file(test::program_dir() / (makam + ".mkm"), st);
            ASSERT_FALSE(r.error);
            for (int s = 1; s <= kStringCount; ++s) st.mandal_pos[s] = r.positions[s - 1];
        }
        for (int s = 1; s <= kStringCount; ++s)
            st.akord_offset[s] = static_cast<std::int16_t>(akord_step * (s % 5 - 2));
        test::TempDir dir;
        ASSERT_FALSE(write_scala_files(dir.path(), "ayar", st, st.mandal_pos, test::program_dir()));
        EXPECT_TRUE(test::read_file_bytes(dir / "dizek.scl")
                        .starts_with("! dizek.scl\r\n!\r\nORVENA tuning workbook dizek.xls\r\n"
                                     " 79\r\n!\r\n 15.189874\r\n"));  // as the workbook has it
        InstrumentState back = shipped();
        use_tuning_file(back, dir / "ayar.scl", test::program_dir());
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_NEAR(back.cents(s, 0), st.cents(s, st.mandal_pos[s]) + st.akord_offset[s], 0.01)
                << "string " << s;
    }
}

// The command line writes the three files into the folder (made when missing) or says why
// not; it takes makam names as the window does, reads only regular makam files, and a
// failure leaves the files of an earlier export as they were.
TEST(ScalaExport, CommandLineWritesTheFilesOrSaysWhyNot) {
    enum Spoil { none, kbm_on_full_device, small_disk };
    const std::string bad_name = " makam ismi olarak kullanılamaz: isimde / veya \\ işareti";
    struct Case {
        std::string args;  // "DIR": the scratch folder
        std::optional<int> status;
        std::string said;  // status 0: what is written (under DIR); else what the error says
        Spoil spoil = none;
    };
    // clang-format off
    const Case cases[] = {
        {"--export-scala DIR", 0, "mandallar"},
        {"--export-scala DIR --makam Saba", 0, "Saba"},
        {"--export-scala DIR/yeni/alt", 0, "yeni/alt/mandallar"},
        {"--export-scala DIR --makam Yok", 1, "Yok.mkm\": böyle bir dosya yok"},
        {"--export-scala DIR --makam boru", 1, "boru.mkm\": düzenli bir dosya değil (aygıt ya da FIFO)"},
        {"--export-scala DIR --makam kısa", 1, "kısa.mkm\": satır 1: dosya bitti; tel 4 için sayı yok"},
        {"--export-scala DIR/dosya", 1, "orvena: \"DIR/dosya\" bir klasör değil."},
        {"--export-scala DIR --makam Saba", 1, "Saba.kbm\" yazılamadı: diskte yer kalmadı.", kbm_on_full_device},
        {"--export-scala DIR --makam Saba", 1, "yazılamadı: dosya bu kadar büyüyemez.", small_disk},
        {"--export-scala", 2, "orvena: --export-scala bir klasör ister\nkullanım: orvena --export-scala KLASÖR [--makam AD]\n"},
        {"--export-scala DIR --loud", 2, "beklenmeyen argüman \"--loud\""},
        {"--export-scala DIR --makam /tmp/x/Evil", 2, "\"/tmp/x/Evil\"" + bad_name},
    };
    // clang-format on
    for (const auto& [args_line, expected_status, said, spoil] : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        test::write_file_bytes(program / "kısa.mkm", "0 0 0");
        ASSERT_EQ(::mkfifo((program / "boru.mkm").c_str(), 0644), 0);
        test::write_file_bytes(dir / "dizek.scl", "eski dizek");
        test::write_file_bytes(dir / "Saba.scl", "eski Saba");
        test::write_file_bytes(dir / "dosya", "bir dosya");
        if (spoil == kbm_on_full_device && !test::make_char_device(dir / "Saba.kbm", 1, 7))
            continue;  // device nodes need root
        const auto placed = [&](std::string text) {
            if (const auto at = text.find("DIR"); at != std::string::npos)
                text.replace(at, 3, dir.path().string());
            return text;
        };
        std::vector<std::string> args;
        std::istringstream words(placed(args_line));
        for (std::string word; words >> word;) args.push_back(word);
        std::ostringstream out, err;
        std::optional<int> status;
        {
            std::optional<test::FileSizeLimit> limit;
            if (spoil == small_disk) limit.emplace(100);
            status = run_scala_command(args, program.path(), out, err);
        }
        SCOPED_TRACE(args_line + " " + err.str());
        ASSERT_EQ(status, expected_status);
        if (status == 0) {
            const fs::path written = fs::path(placed("DIR/" + said));
            const std::string folder = written.parent_path().string();
            const std::string name = written.filename().string();
            EXPECT_TRUE(test::read_file_bytes(folder + "/" + name + ".kbm").starts_with("! "));
            EXPECT_EQ(out.str() + err.str(), "orvena: dizek.scl, " + name + ".scl ve " + name +
                                                 ".kbm \"" + folder + "\" klasörüne yazıldı\n");
        } else if (status) {  // nothing of the export is left, the earlier files are whole
            EXPECT_NE(err.str().find(placed(said)), std::string::npos);
            std::set<std::string> files;
            for (const auto& entry : fs::directory_iterator(dir.path()))
                files.insert(entry.path().filename().string() + "=" +
                             (entry.is_regular_file() ? test::read_file_bytes(entry) : "aygıt"));
            std::set<std::string> before{"Saba.scl=eski Saba", "dizek.scl=eski dizek",
                                         "dosya=bir dosya"};
            if (spoil == kbm_on_full_device) before.insert("Saba.kbm=aygıt");
            EXPECT_EQ(files, before);
        }
    }
}

// A finished export names its three files in a notice; a failed one says so in a message box.
TEST(ScalaExport, WindowEntryWritesToThePickedFolderOrSaysItCannot) {
    test::TempDir dir;
    test::RecordingDialogs dialogs;
    const auto pick = [&] { return std::optional(dir.path()); };
    scala_export_Click(shipped(), dialogs, "a/b", pick, test::program_dir());  // not a file name
    const std::string folder = dir.path().string();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Scala dosyaları yazıldı:\r\n" + folder + "/dizek.scl\r\n" +
                                           folder + "/mandallar.scl\r\n" + folder +
                                           "/mandallar.kbm");
    EXPECT_FALSE(dialogs.shown()[0].modal);

    dialogs.clear();
    scala_export_Click(shipped(), dialogs, ".gizli", pick, test::program_dir());
    EXPECT_FALSE(fs::exists(dir / ".gizli.kbm"));  // a hidden file, which no list would show
    ASSERT_EQ(::mkfifo((dir / "Rast.kbm").c_str(), 0644), 0);  // it would hold the window
    scala_export_Click(shipped(), dialogs, "Rast", pick, test::program_dir());
    EXPECT_FALSE(fs::exists(dir / "Rast.scl"));
    scala_export_Click(
        shipped(), dialogs, "Rast", [] { return fs::path("/proc/orvena-none"); },
        test::program_dir());
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.texts()[1], std::string(kScalaWriteFailed) + "\r\n\"" + folder +
                                      "/Rast.kbm\" düzenli bir dosya değil (aygıt ya da FIFO); "
                                      "buraya yazılamaz.");
    EXPECT_TRUE(dialogs.texts()[2].starts_with(kScalaWriteFailed));
    EXPECT_TRUE(dialogs.shown()[2].modal);
}

}  // namespace
}  // namespace orvena
