// --tuning for the windowless commands (the Scala export, the WAV render, the MIDI and
// MusicXML exports): they play the system it names, or end saying why not, and never write
// over the files of that system.

#include <gtest/gtest.h>

#include <sstream>

#include "interchange/export_command.h"
#include "presets/scala_command.h"
#include "recording/render_command.h"
#include "shell/windowless_commands.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct CommandCase {
    std::vector<std::string> args;  // "DIR/" is the test's folder
    const char* tuning;             // in DIR, else in the shipped akort folder
    int status;
    std::string said;
};

TEST(TuningCommandLine, CommandsPlayTheSystemNamedOrSayWhyNotAndNeverWriteOverIt) {
    std::vector<std::string> line = {"--render", "a.ses", "--tuning", "akort/x.scl", "b.wav"};
    EXPECT_EQ(take_tuning_option(line), fs::current_path() / "akort/x.scl");
    EXPECT_EQ(line, (std::vector<std::string>{"--render", "a.ses", "b.wav"}));
    EXPECT_FALSE(take_tuning_option(line));

    const std::string kbm = "0\n0\n127\n60\n60\n261.6256\n0\n";
    const std::string ses = "DIR/ezgi.ses", scl = "DIR/mandallar.scl";
    const std::string self = " okunan dosyanın kendisi; üzerine yazılamaz.";
    // clang-format off
    const CommandCase cases[] = {
        {{"--export-scala", "DIR/"}, "12-TET.scl", 0, ""},
        {{"--export-scala", "DIR/"}, "DIR/bozuk.scl", 1,
         "akort sistemi yüklenemedi: \"bozuk.scl\", satır 2: perde sayısı 2"},
        {{"--render", ses, "DIR/out.wav"}, "DIR/yok.scl", 1, "\"yok.scl\": böyle bir dosya yok"},
        {{"--export-scala", "DIR/"}, "DIR/mandallar.scl", 1, self},  // would write .scl and .kbm
        {{"--render", ses, scl}, "DIR/mandallar.scl", 1, self},
        {{"--export-midi", ses, "DIR/mandallar.kbm"}, "DIR/mandallar.scl", 1, self},
        {{"--export-musicxml", ses, scl}, "DIR/mandallar.scl", 1, self},
    };
    // clang-format on
    const std::string scale = test::read_file_bytes(test::program_dir() / "akort" / "41-EDO.scl");
    for (const CommandCase& c : cases) {
        test::TempDir dir;
        test::write_file_bytes(dir / "mandallar.scl", scale);
        test::write_file_bytes(dir / "mandallar.kbm", kbm);
        test::write_file_bytes(dir / "bozuk.scl", "bozuk\n2\n100.0\n");
        test::write_file_bytes(dir / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
        const auto placed = [&](std::string text) {
            return text.starts_with("DIR/") ? (dir / text.substr(4)).string() : text;
        };
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(placed(a));
        const std::string name = c.tuning;
        const fs::path tuning = name.starts_with("DIR/") ? fs::path(placed(name))
                                                         : test::program_dir() / "akort" / name;
        SCOPED_TRACE(args[0] + " " + name);
        std::ostringstream out, err;
        const std::string& command = args[0];
        const auto status = command == "--export-scala"
                                ? run_scala_command(args, test::program_dir(), out, err, tuning)
                            : command == "--render"
                                ? run_render_command(args, test::program_dir(), out, err, tuning)
                                : run_export_command(args, test::program_dir(), out, err, tuning);
        EXPECT_EQ(status, c.status) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        EXPECT_FALSE(fs::exists(dir / "out.wav"));
        if (c.status != 0) {
            EXPECT_EQ(test::read_file_bytes(dir / "mandallar.scl"), scale);
            EXPECT_EQ(test::read_file_bytes(dir / "mandallar.kbm"), kbm);
            EXPECT_FALSE(fs::exists(dir / "dizek.scl"));
            continue;
        }
        const std::string written = test::read_file_bytes(dir / "dizek.scl");
        EXPECT_NE(written.find("ORVENA tuning system 12-TET\r\n 12\r\n"), std::string::npos);
        EXPECT_NE(written.find(" 700.000000\r\n"), std::string::npos) << written;
    }
}

}  // namespace
}  // namespace orvena
