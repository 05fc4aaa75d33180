// Makam files in a program folder of their own (a subfolder of a scratch folder, so a test sees
// nothing written beside it) and Scala files of a setting, written or refused with the reason.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <set>
#include <sstream>

#include "preset_fixture.h"
#include "presets/makam_files.h"
#include "presets/makam_format.h"
#include "presets/scala_command.h"
#include "presets/scala_export.h"
#include "presets/scala_menu.h"
#include "support/scratch_program.h"
#include "support/special_files.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

struct MakamBench : test::PresetBench, MakamControls {
    MakamBench() { std::filesystem::create_directory(folder); }
    std::string text1, file2_file_name;
    bool file2_visible = false;
    int file2_refreshes = 0;
    test::TempDir root;
    std::filesystem::path folder = root.path() / "orvena";
    MakamContext makam{ctx, *this, folder};

    std::string Text1_Text() const override { return text1; }
    void Text1_setText(const std::string& text) override { text1 = text; }
    void File2_setVisible(bool visible) override { file2_visible = visible; }
    void File2_Refresh() override { ++file2_refreshes; }
    std::string File2_FileName() const override { return file2_file_name; }
    void save_as(const std::string& name) { text1 = name, save_buton_Click(makam); }
    void load(const std::string& name) { file2_file_name = name, File2_Click(makam); }
};

std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string repeat(int count, const std::string& number) {
    std::string text;
    for (int i = 0; i < count; ++i) text += number;
    return text;
}

TEST(MakamFiles, SaveWritesTheLayoutAndLoadRestoresItRedrawingTheSelectedString) {
    MakamBench b;
    b.st.settings.mandal_pos[1] = -3;
    b.st.settings.mandal_pos[2] = 8;
    b.save_as("Uşşak");
    EXPECT_EQ(test::read_file_bytes(b.folder / "Uşşak.mkm"),
              "-3 \r\n 8 \r\n" + repeat(24, " 0 \r\n"));
    EXPECT_EQ(b.file2_refreshes, 1);
    b.st.settings.mandal_pos[1] = 4;  // saving again replaces the file
    b.save_as("Uşşak");
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Uşşak.mkm"});
    for (int s = 1; s <= kStringCount; ++s) b.st.settings.mandal_pos[s] = -1;
    b.st.selection.cur_string = 2;
    open_buton_Click(b.makam);
    EXPECT_TRUE(b.file2_visible);
    b.load("Uşşak.mkm");
    EXPECT_EQ(std::tuple(b.file2_visible, b.text1, b.st.settings.mandal_pos[1],
                         b.st.settings.mandal_pos[2], b.st.settings.mandal_pos[26]),
              std::tuple(false, "Uşşak", 4, 8, 0));
    EXPECT_TRUE(b.dialogs.texts().empty());
    test::Calls redrawn{"arıza_yaz 1", "arıza_yaz 2", "mandal_at", "porte", "etiket"};
    for (int s = 3; s <= kStringCount; ++s) redrawn.push_back("arıza_yaz " + std::to_string(s));
    EXPECT_EQ(b.views.calls, redrawn);
    for (const int level : {2, kSupurde}) {  // MANSUR or SÜPÜRDE, the computed levers in force:
        b.option1 = level, b.option5 = 2;    // back to SÜPÜRDE and the hand's levers first
        b.load("Uşşak.mkm");
        EXPECT_EQ(std::tuple(b.option1, b.option5, b.st.settings.mandal_pos[1]),
                  std::tuple(kSupurde, 1, 4));
    }
}

TEST(MakamFiles, HandEditedFilesLoadUpToTheirFirstFault) {
    const std::tuple<const char*, std::string, int> cases[] = {
        // what, the bytes ("" no file), how many strings take 2 (the rest: the fault message)
        {"commas on one line, text after the 26th", repeat(26, "2,") + "x", 26},
        {"fewer numbers", repeat(3, " 2 \r\n"), 3},
        {"a number beyond 16 bits", " 2 \r\n 2 \r\n 40000 \r\n", 2},
        {"above the levers", repeat(7, " 2 \r\n") + " 13 \r\n", 7},
        {"below the levers", " 2 \r\n -6 \r\n", 1},
        {"not a number", " 2 \r\n zwei \r\n", 1},
        {"a missing file", "", 0},
        {"a byte order mark first", "\xEF\xBB\xBF" + repeat(26, " 2 \r\n"), 26},
        {"a folder of that name", "<folder>", 0},
        {"a FIFO of that name", "<fifo>", 0},  // read, it would hold the window
        {"16 MB in all", (repeat(26, "2,") + "x").append((16u << 20) - 53, 'x'), 26},
        {"a byte more than 16 MB", (repeat(26, "2,") + "x").append((16u << 20) - 52, 'x'), 0}};
    for (const auto& [what, bytes, loaded] : cases) {
        SCOPED_TRACE(what);
        MakamBench b;
        for (int s = 1; s <= kStringCount; ++s) b.st.settings.mandal_pos[s] = -1;
        const auto file = b.folder / "Hicaz.mkm";
        if (bytes == "<folder>")
            std::filesystem::create_directory(file);
        else if (bytes == "<fifo>")
            ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
        else if (!bytes.empty())
            test::write_file_bytes(file, bytes);
        b.load("Hicaz.mkm");
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_EQ(b.st.settings.mandal_pos[s], s <= loaded ? 2 : -1) << "string " << s;
        EXPECT_EQ(b.dialogs.texts(), loaded < kStringCount
                                         ? std::vector<std::string>{kMakamFileFault}
                                         : std::vector<std::string>{});
    }
}

TEST(MakamFiles, NamesThatAreNotPlainFileNamesWriteNothingAnywhere) {
    const std::string refused = "\" makam ismi olarak kullanılamaz:\r\n";
    const std::string separator = "isimde / veya \\ işareti olamaz.";
    const std::string long_name(252, 'a');  // with ".mkm" one byte too many
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", kMakamNameMissing},
        {"../x", "\"../x" + refused + separator},
        {"a\\b", "\"a\\b" + refused + separator},
        {".gizli", "\".gizli" + refused + "isim nokta ile başlayamaz."},
        {"a\x1b[2Jb", "\"a\\x1B[2Jb" + refused + "isimde denetim karakteri olamaz."},
        {"a\x7f", "\"a\\x7F" + refused + "isimde denetim karakteri olamaz."},  // DEL
        {long_name, "\"" + long_name + refused + "isim çok uzun: en çok 251 bayt olabilir."},
        // The file system refuses it: a folder stands there.
        {"Saba", "\"Saba.mkm\" makam dosyası yazılamadı:\r\n"}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        MakamBench b;
        if (name == "Saba") std::filesystem::create_directory(b.folder / "Saba.mkm");
        b.save_as(name);
        ASSERT_EQ(b.dialogs.texts().size(), 1u);
        EXPECT_TRUE(b.dialogs.texts()[0].starts_with(message));
        EXPECT_EQ(files_in(b.folder), name == "Saba" ? std::vector<std::string>{"Saba.mkm"}
                                                     : std::vector<std::string>{});
        EXPECT_EQ(files_in(b.root.path()), std::vector<std::string>{"orvena"});
        EXPECT_EQ(b.file2_refreshes, 0);
    }
}

namespace fs = std::filesystem;
using test::shipped;

// Whole cents: string s at p plays 100 (26 - s) + 10 p; string s at 4 (s % 3 - 1).
TEST(ScalaExport, SettingFilesHoldEachStringAboveString26OnItsKey) {
    InstrumentState st;
    set_lever_limits(st.build);
    for (int s = 1; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p)
            st.tables.cents(s, p) = 100.0 * (26 - s) + 10.0 * p;
        st.settings.mandal_pos[s] = static_cast<std::int16_t>(4 * (s % 3 - 1));
    }
    test::TempDir dir;
    ASSERT_FALSE(
        write_scala_files(dir.path(), "tam", st, st.settings.mandal_pos, test::program_dir()));
    // Cents above string 26 (40 cents), whole octaves as ratios; the 26th degree: 4 octaves.
    std::string scl = "! tam.scl\r\n!\r\nORVENA lever setting tam\r\n 26\r\n!\r\n";
    for (int s = 25; s >= 1; --s) {
        const int cents = 100 * (26 - s) + 40 * (s % 3 - 1) - 40;
        scl += cents % 1200 ? " " + std::to_string(cents) + ".000000\r\n"
                            : " " + std::to_string(1 << (cents / 1200)) + "/1\r\n";
    }
    EXPECT_EQ(test::read_file_bytes(dir / "tam.scl"), scl + " 16/1\r\n");
    std::string kbm = test::read_file_bytes(dir / "tam.kbm");  // keys 45..70, 262 Hz + 40 cents
    for (const char* line :
         {"map\r\n26\r\n", "retune\r\n45\r\n", "retune\r\n70\r\n", "to\r\n45\r\n",
          "given\r\n45\r\n", "to\r\n268.123960\r\n", "octave\r\n26\r\n"})
        EXPECT_NE(kbm.find(line), std::string::npos) << line;
    EXPECT_TRUE(kbm.ends_with(
        "i\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n"
        "13\r\n14\r\n15\r\n16\r\n17\r\n18\r\n19\r\n20\r\n21\r\n22\r\n23\r\n24\r\n25\r\n"));
}

// Chosen as the tuning, an exported setting puts each lever 0 on the pitch it sounded, fine
// tuning (akord_step * (s % 5 - 2) cents on string s) included.
TEST(ScalaExport, ExportedSettingsComeBackToThePitchEveryStringSounded) {
    const std::pair<std::string, int> cases[] = {
        {"", 0}, {"Hicaz", 0}, {"Hüzzam", 3}, {"Mahur", -3}};
    for (const auto& [makam, akord_step] : cases) {
        SCOPED_TRACE(makam);
        InstrumentState st = shipped();
        if (!makam.empty()) {
            const auto r = read_makam_file(test::program_dir() / (makam + ".mkm"), st);
            ASSERT_FALSE(r.error);
            for (int s = 1; s <= kStringCount; ++s) st.settings.mandal_pos[s] = r.positions[s - 1];
        }
        for (int s = 1; s <= kStringCount; ++s)
            st.settings.akord_offset[s] = static_cast<std::int16_t>(akord_step * (s % 5 - 2));
        test::TempDir dir;
        ASSERT_FALSE(
            write_scala_files(dir.path(), "ayar", st, st.settings.mandal_pos, test::program_dir()));
        InstrumentState back = shipped();
        use_tuning_file(back, dir / "ayar.scl", test::program_dir());
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_NEAR(back.tables.cents(s, 0),
                        st.tables.cents(s, st.settings.mandal_pos[s]) + st.settings.akord_offset[s],
                        0.01)
                << "string " << s;
    }
}

// A makam's lever goes to its own string: string 1 (the highest, the 25th degree) moved alone
// changes that degree's line of the scale and no other.
TEST(ScalaExport, TheMakamsLeversGoToTheirOwnStrings) {
    const test::ScratchProgramFolder program;
    test::TempDir dir;
    test::write_file_bytes(program / "tek.mkm", " 2 \r\n" + repeat(25, " 0 \r\n"));
    std::ostringstream said;
    const auto degree_lines = [&](std::vector<std::string> args, const char* name) {
        args.insert(args.begin(), {"--export-scala", dir.path().string()});
        EXPECT_EQ(run_scala_command(args, program.path(), said, said), 0) << said.str();
        std::istringstream scl(test::read_file_bytes(dir / name));
        std::vector<std::string> lines;
        for (std::string line; std::getline(scl, line);) lines.push_back(line);
        return std::vector<std::string>(lines.begin() + 5, lines.end());  // after the header
    };
    const auto home = degree_lines({}, "mandallar.scl");
    const auto moved = degree_lines({"--makam", "tek"}, "tek.scl");
    ASSERT_EQ(moved.size(), 26u);
    for (std::size_t i = 0; i < moved.size(); ++i)
        EXPECT_EQ(moved[i] != home[i], i == 24) << "degree " << i + 1;
}

// The command line writes the three files (making the folder) or says why not, and a failure
// leaves the files of an earlier export as they were.
TEST(ScalaExport, CommandLineWritesTheFilesOrSaysWhyNot) {
    enum Spoil { none, kbm_on_full_device, small_disk };
    const std::string bad_name = " makam ismi olarak kullanılamaz: isimde / veya \\ işareti";
    const std::string longest(251, 'a');  // with ".mkm" the longest file name there can be
    // The arguments ("DIR": the scratch folder), the status, what is said (status 0: what is
    // written under DIR; else what the error says), how the folder is spoilt.
    // clang-format off
    const std::tuple<std::string, std::optional<int>, std::string, Spoil> cases[] = {
        {"--export-scala DIR", 0, "mandallar", none},
        {"--export-scala DIR --makam Saba", 0, "Saba", none},
        {"--export-scala DIR --makam Saba.mkm", 0, "Saba", none},
        {"--export-scala DIR --makam .mkm", 2, "\".mkm\" makam ismi olarak kullanılamaz: isim nokta ile başlayamaz.", none},
        {"--export-scala DIR --makam " + longest, 1, longest + ".mkm\": böyle bir dosya yok", none},
        {"--export-scala DIR --makam " + longest + "a", 2, "isim çok uzun: en çok 251 bayt olabilir.", none},
        {"--export-scala DIR/yeni/alt", 0, "yeni/alt/mandallar", none},
        {"--export-scala DIR --makam Yok", 1, "Yok.mkm\": böyle bir dosya yok", none},
        {"--export-scala DIR --makam boru", 1, "boru.mkm\": düzenli bir dosya değil (aygıt ya da FIFO)", none},
        {"--export-scala DIR --makam kısa", 1, "kısa.mkm\": satır 1: dosya bitti; tel 4 için sayı yok", none},
        {"--export-scala DIR --makam büyük", 1, "büyük.mkm\": satır 2: sayı 16 bite sığmıyor", none},
        {"--export-scala DIR/dosya", 1, "orvena: \"DIR/dosya\" bir klasör değil.", none},
        {"--export-scala DIR --makam Saba", 1, "Saba.kbm\" yazılamadı: diskte yer kalmadı.", kbm_on_full_device},
        {"--export-scala DIR --makam Saba", 1, "yazılamadı: dosya bu kadar büyüyemez.", small_disk},
        {"--export-scala DIR/yeni/alt", 1, "yazılamadı: dosya bu kadar büyüyemez.", small_disk},
        {"--export-scala", 2, "orvena: --export-scala bir klasör ister\nkullanım: orvena --export-scala KLASÖR [--makam AD]\n", none},
        {"--export-scala DIR --makam /tmp/x/Evil", 2, "\"/tmp/x/Evil\"" + bad_name, none},
    };
    // clang-format on
    for (const auto& [args_line, expected_status, said, spoil] : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        test::write_file_bytes(program / "kısa.mkm", "0 0 0");
        test::write_file_bytes(program / "büyük.mkm", "0\r\n40000\r\n");
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
        std::optional<test::FileSizeLimit> limit;
        if (spoil == small_disk) limit.emplace(100);
        const std::optional<int> status = run_scala_command(args, program.path(), out, err);
        limit.reset();
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
    EXPECT_TRUE(dialogs.texts()[2].starts_with(kScalaWriteFailed) && dialogs.shown()[2].modal);
}

}  // namespace
}  // namespace orvena
