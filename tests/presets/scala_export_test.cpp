// Scala files of the tuning and of a lever setting, read back by our own reader: every string
// plays on its key what the instrument sounds; the command line and the window entry write
// them or say why not.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <set>
#include <sstream>

#include "makam_fixture.h"
#include "presets/makam_format.h"
#include "presets/scala_command.h"
#include "presets/scala_export.h"
#include "presets/scala_menu.h"
#include "scala_reader.h"
#include "support/scratch_program.h"
#include "support/special_files.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

using test::shipped;

// A tuning whose pitches are whole cents: string s at p plays 100 (26 - s) + 10 p.
InstrumentState whole_cents() {
    InstrumentState st;
    set_lever_limits(st);
    for (int s = 1; s <= kStringCount; ++s)
        for (int p = kLeverLo; p <= kLeverHi; ++p) st.cents(s, p) = 100.0 * (26 - s) + 10.0 * p;
    return st;
}

struct SettingCase {
    const char* name;
    InstrumentState st;
    std::string makam;   // a shipped makam file to load, or none
    int akord_step = 0;  // fine tuning of string s: akord_step * (s % 5 - 2) cents
    int lever_step = 0;  // otherwise string s at lever_step * (s % 3 - 1), within limits
};

TEST(ScalaExport, EveryStringPlaysOnItsKeyWhatTheInstrumentSounds) {
    const SettingCase cases[] = {
        {"zero", shipped(), "", 0, 0},
        {"Hicaz", shipped(), "Hicaz", 0, 0},
        {"Hüzzam tuned", shipped(), "Hüzzam", 3, 0},
        {"levers far", shipped(), "", 5, 12},
        {"whole cents", whole_cents(), "", 0, 4},
    };
    for (const SettingCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstrumentState st = c.st;
        if (!c.makam.empty()) {
            const auto r = read_makam_file(test::program_dir() / (c.makam + ".mkm"), st);
            ASSERT_FALSE(r.error);
            for (int s = 1; s <= kStringCount; ++s) st.mandal_pos[s] = r.positions[s - 1];
        }
        for (int s = 1; s <= kStringCount; ++s) {
            st.akord_offset[s] = static_cast<std::int16_t>(c.akord_step * (s % 5 - 2));
            if (c.lever_step)
                st.mandal_pos[s] = static_cast<std::int16_t>(std::clamp(
                    c.lever_step * (s % 3 - 1), int{st.mandal_min[s]}, int{st.mandal_max[s]}));
        }
        test::TempDir dir;
        ASSERT_FALSE(write_scala_files(dir.path(), c.name, st, st.mandal_pos, test::program_dir()));

        const test::Scl scl = test::read_scl(dir / (std::string(c.name) + ".scl"));
        EXPECT_EQ(scl.description, std::string("ORVENA lever setting ") + c.name);
        for (const std::string& line : scl.raw)
            EXPECT_TRUE(line.find('.') != std::string::npos || line.find('/') != std::string::npos)
                << "a whole number would be read as a ratio: " << line;
        const auto f = test::key_frequencies(scl, dir / (std::string(c.name) + ".kbm"));
        for (int s = 1; s <= kStringCount; ++s) {
            const int key = kScalaFirstKey + kStringCount - s;
            ASSERT_GT(f[key], 0.0) << "string " << s;
            const double cents = 1200.0 * std::log2(f[key] / 262.0);
            EXPECT_NEAR(cents, sounding_cents(st, s, st.mandal_pos[s]), 0.001) << "string " << s;
        }
        EXPECT_EQ(f[kScalaFirstKey - 1], 0.0);
        EXPECT_EQ(f[kScalaFirstKey + kStringCount], 0.0);
    }
}

TEST(ScalaExport, TuningFileHoldsTheDegreesOfOneOctaveEndingOnTwoToOne) {
    test::TempDir dir;
    ASSERT_FALSE(write_scala_files(dir.path(), "mandallar", shipped(), shipped().mandal_pos,
                                   test::program_dir()));
    const std::string bytes = test::read_file_bytes(dir / "dizek.scl");
    EXPECT_EQ(bytes.rfind("! dizek.scl\r\n!\r\nORVENA tuning workbook dizek.xls\r\n 79\r\n", 0),
              0u);
    const test::Scl scl = test::read_scl(dir / "dizek.scl");
    ASSERT_EQ(scl.cents.size(), 79u);
    for (int d = 1; d < 79; ++d)
        EXPECT_NEAR(scl.cents[d - 1], shipped().degrees[d].degree_cents, 0.001) << d;
    EXPECT_EQ(scl.raw.back(), " 2/1");
    EXPECT_EQ(scl.raw.front(), " 15.189874");  // as the workbook stores it, in single precision
}

struct CommandCase {
    std::vector<std::string> args;  // "DIR" stands for the scratch folder
    std::optional<int> status;
    std::string said;  // status 0: the folder written (under DIR); else what the error says
    enum Spoil { none, kbm_on_full_device, small_disk } spoil = none;
};

// The command line writes the three files into the folder (made when missing) or says why
// not, in Turkish; it takes makam names as the window does, reads only regular makam files,
// and a failure leaves the files of an earlier export as they were.
TEST(ScalaExport, CommandLineWritesTheFilesOrSaysWhyNot) {
    using C = CommandCase;
    const std::string bad_name = " makam ismi olarak kullanılamaz: ";
    const std::string separator = "isimde / veya \\ işareti olamaz.";
    const CommandCase cases[] = {
        {{"--help"}, std::nullopt, ""},
        {{"--export-scala", "DIR"}, 0, "mandallar"},
        {{"--export-scala", "DIR", "--makam", "Saba"}, 0, "Saba"},
        {{"--makam", "Saba.mkm", "--export-scala", "DIR"}, 0, "Saba"},
        {{"--export-scala", "DIR/yeni/alt"}, 0, "yeni/alt/mandallar"},
        {{"--export-scala", "DIR", "--makam", "Yok"}, 1, "Yok.mkm\": böyle bir dosya yok"},
        {{"--export-scala", "DIR", "--makam", "boru"},
         1,
         "boru.mkm\": düzenli bir dosya değil (aygıt ya da FIFO)"},
        {{"--export-scala", "DIR", "--makam", "kısa"},
         1,
         "kısa.mkm\": satır 1: dosya bitti; tel 4 için sayı yok"},
        {{"--export-scala", "DIR/dosya"}, 1, "orvena: \"DIR/dosya\" bir klasör değil."},
        {{"--export-scala", "DIR", "--makam", "Saba"},
         1,
         "Saba.kbm\" yazılamadı: diskte yer kalmadı.",
         C::kbm_on_full_device},
        {{"--export-scala", "DIR", "--makam", "Saba"},
         1,
         "yazılamadı: dosya bu kadar büyüyemez.",
         C::small_disk},
        {{"--export-scala"},
         2,
         "orvena: --export-scala bir klasör ister\nkullanım: orvena "
         "--export-scala KLASÖR [--makam AD]\n"},
        {{"--export-scala", "DIR", "--makam"}, 2, "--makam bir makam adı ister"},
        {{"--makam", "Rast"}, 2, "--makam yalnız --export-scala ile kullanılır"},
        {{"--export-scala", "DIR", "--loud"}, 2, "beklenmeyen argüman \"--loud\""},
        {{"--export-scala", "DIR", "--makam", "/tmp/x/Evil"},
         2,
         "\"/tmp/x/Evil\"" + bad_name + separator},
        {{"--export-scala", "DIR", "--makam", "../x/Rast"},
         2,
         "\"../x/Rast\"" + bad_name + separator},
    };
    for (const CommandCase& c : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        test::write_file_bytes(program / "kısa.mkm", "0 0 0");
        ASSERT_EQ(::mkfifo((program / "boru.mkm").c_str(), 0644), 0);
        test::write_file_bytes(dir / "dizek.scl", "eski dizek");
        test::write_file_bytes(dir / "Saba.scl", "eski Saba");
        test::write_file_bytes(dir / "dosya", "bir dosya");
        if (c.spoil == C::kbm_on_full_device && !test::make_char_device(dir / "Saba.kbm", 1, 7))
            continue;  // device nodes need root
        const auto placed = [&](std::string text) {
            if (const auto at = text.find("DIR"); at != std::string::npos)
                text.replace(at, 3, dir.path().string());
            return text;
        };
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(placed(a));
        std::ostringstream out, err;
        std::optional<int> status;
        {
            std::optional<test::FileSizeLimit> small_disk;
            if (c.spoil == C::small_disk) small_disk.emplace(100);
            status = run_scala_command(args, program.path(), out, err);
        }
        SCOPED_TRACE(c.args.back() + " " + err.str());
        ASSERT_EQ(status, c.status);
        if (status == 0) {
            EXPECT_TRUE(err.str().empty());
            const fs::path written = fs::path(placed("DIR/" + c.said));
            const fs::path folder = written.parent_path();
            const std::string name = written.filename().string();
            for (const std::string& file : {std::string("dizek.scl"), name + ".scl", name + ".kbm"})
                EXPECT_EQ(test::read_file_bytes(folder / file).substr(0, 2), "! ") << file;
            EXPECT_EQ(out.str(), "orvena: dizek.scl, " + name + ".scl ve " + name + ".kbm \"" +
                                     folder.string() + "\" klasörüne yazıldı\n");
        } else if (status) {
            EXPECT_NE(err.str().find(placed(c.said)), std::string::npos);
            // Nothing of the export is left, and the earlier files are whole.
            std::set<std::string> names;
            for (const auto& entry : fs::directory_iterator(dir.path()))
                names.insert(entry.path().filename().string());
            EXPECT_EQ(names,
                      (c.spoil == C::kbm_on_full_device
                           ? std::set<std::string>{"Saba.kbm", "Saba.scl", "dizek.scl", "dosya"}
                           : std::set<std::string>{"Saba.scl", "dizek.scl", "dosya"}));
            EXPECT_EQ(test::read_file_bytes(dir / "dizek.scl"), "eski dizek");
            EXPECT_EQ(test::read_file_bytes(dir / "Saba.scl"), "eski Saba");
        }
    }
}

// A finished export names its three files in a notice; a failed one says so in a message box.
TEST(ScalaExport, WindowEntryWritesToThePickedFolderOrSaysItCannot) {
    test::TempDir dir;
    test::RecordingDialogs dialogs;
    scala_export_Click(
        shipped(), dialogs, "a/b", [&] { return std::optional(dir.path()); }, test::program_dir());
    EXPECT_TRUE(fs::exists(dir / "mandallar.kbm"));  // not a plain file name
    const std::string folder = dir.path().string();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Scala dosyaları yazıldı:\r\n" + folder + "/dizek.scl\r\n" +
                                           folder + "/mandallar.scl\r\n" + folder +
                                           "/mandallar.kbm");
    EXPECT_FALSE(dialogs.shown()[0].modal);

    dialogs.clear();
    scala_export_Click(
        shipped(), dialogs, ".gizli", [&] { return std::optional(dir.path()); },
        test::program_dir());
    EXPECT_FALSE(fs::exists(dir / ".gizli.kbm"));  // a hidden file, which no list would show
    ASSERT_EQ(::mkfifo((dir / "Rast.kbm").c_str(), 0644), 0);  // it would hold the window
    scala_export_Click(
        shipped(), dialogs, "Rast", [&] { return std::optional(dir.path()); }, test::program_dir());
    EXPECT_FALSE(fs::exists(dir / "Rast.scl"));
    scala_export_Click(
        shipped(), dialogs, "Rast", [] { return fs::path("/proc/orvena-none"); },
        test::program_dir());
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.texts()[1], std::string(kScalaWriteFailed) + "\r\n\"" +
                                      (dir / "Rast.kbm").string() +
                                      "\" düzenli bir dosya değil (aygıt ya da FIFO); buraya "
                                      "yazılamaz.");
    EXPECT_EQ(dialogs.texts()[2].rfind(kScalaWriteFailed, 0), 0u);
    EXPECT_TRUE(dialogs.shown()[2].modal);
}

}  // namespace
}  // namespace orvena
