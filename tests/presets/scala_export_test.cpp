// Scala files of the tuning and of a lever setting, read back by our own reader: every string
// plays on its key what the instrument sounds; the command line and the window entry write
// them or say why not.

#include <gtest/gtest.h>

#include <sstream>

#include "makam_fixture.h"
#include "presets/makam_format.h"
#include "presets/scala_command.h"
#include "presets/scala_export.h"
#include "presets/scala_menu.h"
#include "scala_reader.h"

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
        ASSERT_FALSE(write_scala_files(dir.path(), c.name, st, st.mandal_pos));

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
    ASSERT_FALSE(write_scala_files(dir.path(), "mandallar", shipped(), shipped().mandal_pos));
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
    std::vector<std::string> args;  // "DIR" stands for the folder written to
    std::optional<int> status;
    std::string files;  // written, in order; or the text the error message holds
};

TEST(ScalaExport, CommandLineWritesTheFilesOrSaysWhyNot) {
    const CommandCase cases[] = {
        {{"--help"}, std::nullopt, ""},
        {{"--export-scala", "DIR"}, 0, "mandallar.scl"},
        {{"--export-scala", "DIR", "--makam", "Saba"}, 0, "Saba.scl"},
        {{"--makam", "Saba.mkm", "--export-scala", "DIR"}, 0, "Saba.scl"},
        {{"--export-scala", "DIR", "--makam", "Yok"}, 1, "Yok.mkm"},
        {{"--export-scala", "DIR/none"}, 1, "no such folder"},
        {{"--export-scala"}, 2, "usage"},
        {{"--makam", "Rast"}, 2, "--makam goes with --export-scala"},
        {{"--export-scala", "DIR", "--loud"}, 2, "'--loud'"},
    };
    for (const CommandCase& c : cases) {
        test::TempDir dir;
        std::vector<std::string> args;
        for (std::string a : c.args)
            args.push_back(a.rfind("DIR", 0) == 0 ? dir.path().string() + a.substr(3) : a);
        std::ostringstream out, err;
        const auto status = run_scala_command(args, test::program_dir(), out, err);
        SCOPED_TRACE(c.args.front() + " " + err.str());
        ASSERT_EQ(status, c.status);
        if (status == 0) {
            EXPECT_TRUE(err.str().empty());
            for (const char* name : {"dizek.scl", "mandallar.scl", "Saba.scl"}) {
                const bool wanted =
                    name == std::string("dizek.scl") || c.files.find(name) != std::string::npos;
                EXPECT_EQ(fs::exists(dir / name), wanted) << name;
            }
        } else if (status) {
            EXPECT_NE(err.str().find(c.files), std::string::npos);
            EXPECT_FALSE(fs::exists(dir / "dizek.scl"));
        }
    }
}

// A finished export names its three files in a notice; a failed one says so in a message box.
TEST(ScalaExport, WindowEntryWritesToThePickedFolderOrSaysItCannot) {
    test::TempDir dir;
    test::RecordingDialogs dialogs;
    scala_export_Click(shipped(), dialogs, "a/b", [&] { return std::optional(dir.path()); });
    EXPECT_TRUE(fs::exists(dir / "mandallar.kbm"));  // not a plain file name
    const std::string folder = dir.path().string();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Scala dosyaları yazıldı:\r\n" + folder + "/dizek.scl\r\n" +
                                           folder + "/mandallar.scl\r\n" + folder +
                                           "/mandallar.kbm");
    EXPECT_FALSE(dialogs.shown()[0].modal);

    dialogs.clear();
    scala_export_Click(shipped(), dialogs, "Rast", [] { return fs::path("/proc/orvena-none"); });
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.texts()[0].rfind(kScalaWriteFailed, 0), 0u);
    EXPECT_TRUE(dialogs.shown()[0].modal);
}

}  // namespace
}  // namespace orvena
