// --tuning on the command line: the window's parser takes it, and the windowless commands
// (the Scala export and the WAV render) play the system it names or end saying why not.

#include <gtest/gtest.h>

#include <sstream>

#include "interchange/export_command.h"
#include "presets/scala_command.h"
#include "recording/render_command.h"
#include "shell/command_line.h"
#include "shell/windowless_commands.h"
#include "support/temp_dir.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

TEST(TuningCommandLine, TheOptionNamesAFileForTheWindowAndForTheWindowlessCommands) {
    std::ostringstream out, err;
    const CommandLine line = parse_command_line({"orvena", "--tuning", "53-EDO.scl"}, out, err);
    EXPECT_FALSE(line.exit_status) << err.str();
    EXPECT_EQ(line.tuning, "53-EDO.scl");

    std::vector<std::string> args = {"--render", "a.ses", "--tuning", "akort/x.scl", "b.wav"};
    EXPECT_EQ(take_tuning_option(args), fs::current_path() / "akort/x.scl");
    EXPECT_EQ(args, (std::vector<std::string>{"--render", "a.ses", "b.wav"}));
    EXPECT_FALSE(take_tuning_option(args));
}

TEST(TuningCommandLine, TheScalaExportWritesTheSystemNamedOrSaysWhyNot) {
    test::TempDir dir;
    const fs::path twelve = test::program_dir() / "akort" / "12-TET.scl";
    test::write_file_bytes(dir / "bozuk.scl", "bozuk\n2\n100.0\n");
    std::ostringstream out, err;
    ASSERT_EQ(run_scala_command({"--export-scala", dir.path().string()}, test::program_dir(), out,
                                err, twelve),
              0)
        << err.str();
    const std::string scl = test::read_file_bytes(dir / "dizek.scl");
    EXPECT_NE(scl.find("ORVENA tuning system 12-TET\r\n 12\r\n"), std::string::npos) << scl;
    EXPECT_NE(scl.find(" 700.000000\r\n"), std::string::npos);

    fs::remove(dir / "dizek.scl");
    EXPECT_EQ(run_scala_command({"--export-scala", dir.path().string()}, test::program_dir(), out,
                                err, dir / "bozuk.scl"),
              1);
    EXPECT_NE(err.str().find("akort sistemi yüklenemedi: \"bozuk.scl\", satır 2: perde sayısı 2"),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(fs::exists(dir / "dizek.scl"));
}

TEST(TuningCommandLine, TheRenderPlaysInTheSystemNamedOrSaysWhyNot) {
    InstrumentState st;
    ASSERT_FALSE(start_render_instrument(st, test::program_dir(),
                                         test::program_dir() / "akort" / "12-TET.scl"));
    EXPECT_EQ(st.tables.name, "12-TET");
    EXPECT_DOUBLE_EQ(st.tables.cents(12, 2), 1100.0);

    test::TempDir dir;
    test::write_file_bytes(dir / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    std::ostringstream out, err;
    const auto status =
        run_render_command({"--render", (dir / "ezgi.ses").string(), (dir / "out.wav").string()},
                           test::program_dir(), out, err, dir / "yok.scl");
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("\"yok.scl\": böyle bir dosya yok"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

// The files of the system in force are what the command reads: no command writes over them.
TEST(TuningCommandLine, NoCommandWritesOverTheSystemItPlays) {
    test::TempDir dir;
    const std::string scale = test::read_file_bytes(test::program_dir() / "akort" / "41-EDO.scl");
    test::write_file_bytes(dir / "mandallar.scl", scale);
    test::write_file_bytes(dir / "mandallar.kbm", "0\n0\n127\n60\n60\n261.6256\n0\n");
    test::write_file_bytes(dir / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    const std::string ses = (dir / "ezgi.ses").string();
    const std::string scl = (dir / "mandallar.scl").string(),
                      kbm = (dir / "mandallar.kbm").string();
    const std::vector<std::string> commands[] = {
        {"--export-scala", dir.path().string()},  // would write mandallar.scl and .kbm
        {"--render", ses, scl},
        {"--export-midi", ses, kbm},
        {"--export-musicxml", ses, scl},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        std::ostringstream out, err;
        const fs::path tuning = dir / "mandallar.scl";
        const auto status = args[0] == "--export-scala"
                                ? run_scala_command(args, test::program_dir(), out, err, tuning)
                            : args[0] == "--render"
                                ? run_render_command(args, test::program_dir(), out, err, tuning)
                                : run_export_command(args, test::program_dir(), out, err, tuning);
        EXPECT_EQ(status, 1);
        EXPECT_NE(err.str().find(" okunan dosyanın kendisi; üzerine yazılamaz."), std::string::npos)
            << err.str();
        EXPECT_EQ(test::read_file_bytes(dir / "mandallar.scl"), scale);
        EXPECT_EQ(test::read_file_bytes(dir / "mandallar.kbm"), "0\n0\n127\n60\n60\n261.6256\n0\n");
        EXPECT_FALSE(fs::exists(dir / "dizek.scl"));
    }
}

}  // namespace
}  // namespace orvena
