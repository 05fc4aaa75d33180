// The player's sound choice: the settings file in the program folder and the command line.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "shell/command_line.h"
#include "shell/sound_settings.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

struct SettingsCase {
    const char* name;
    std::string file;  // contents of orvena.ini; "-" for no file
    std::string api;
    std::string device;
    unsigned block;
    std::string log_has;  // "" for a silent read
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

class SoundSettingsFile : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SoundSettingsFile, BrokenOrUnknownValuesFallBackToTheDefaultWithAMessage) {
    ensure_qt_app();
    const SettingsCase& c = GetParam();
    TempDir dir;
    if (c.file != "-") write_file_bytes(dir / kSettingsFileName, c.file);
    std::ostringstream log;
    const AudioChoice choice = read_sound_settings(dir / kSettingsFileName, log);
    EXPECT_EQ(api_setting_name(choice), c.api);
    EXPECT_EQ(choice.device, c.device);
    EXPECT_EQ(choice.block_frames, c.block);
    if (c.log_has.empty()) {
        EXPECT_EQ(log.str(), "");
    } else {
        EXPECT_NE(log.str().find(c.log_has), std::string::npos) << log.str();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SoundSettingsFile,
    ::testing::Values(
        SettingsCase{"NoFile", "-", "auto", "", 128, ""},
        SettingsCase{"Chosen", "[sound]\napi=alsa\ndevice=hw:1,0\nbuffer_frames=256\n", "alsa",
                     "hw:1,0", 256, ""},
        SettingsCase{"Silent", "[sound]\napi=none\n", "none", "", 128, ""},
        SettingsCase{"UnknownSystem", "[sound]\napi=coreaudio\nbuffer_frames=64\n", "auto", "", 64,
                     "unknown sound system 'coreaudio'"},
        SettingsCase{"BlockNotANumber", "[sound]\napi=pulse\nbuffer_frames=12x\n", "pulse", "", 128,
                     "buffer_frames '12x'"},
        SettingsCase{"BlockTooLarge", "[sound]\nbuffer_frames=1000000\n", "auto", "", 128,
                     "buffer_frames '1000000'"},
        SettingsCase{"Garbage", std::string("\x01\xff[[[\n=\n\0\0api", 13), "auto", "", 128, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SoundSettingsFile, IsWrittenWholeAndReadBackAndAFailedWriteLeavesTheOldFile) {
    ensure_qt_app();
    TempDir dir;
    const auto file = dir / kSettingsFileName;
    AudioChoice choice;
    choice.api = AudioApi::pulse;
    choice.device = "alsa_output.pci-0000_00_1f.3.analog-stereo";
    choice.block_frames = 256;
    ASSERT_TRUE(write_sound_settings(file, choice));
    std::ostringstream log;
    const AudioChoice back = read_sound_settings(file, log);
    EXPECT_EQ(api_setting_name(back), "pulse");
    EXPECT_EQ(back.device, choice.device);
    EXPECT_EQ(back.block_frames, 256u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    const std::string before = read_file_bytes(file);
    ::chmod(dir.path().c_str(), 0500);
    choice.block_frames = 512;
    const bool written = write_sound_settings(file, choice);
    ::chmod(dir.path().c_str(), 0700);
    if (::geteuid() != 0) {
        EXPECT_FALSE(written);  // root writes anywhere
    }
    if (!written) {
        EXPECT_EQ(read_file_bytes(file), before);
    }
}

struct LineCase {
    const char* name;
    std::vector<const char*> args;
    std::optional<int> status;
    std::string out_has;
    std::string err_has;
    std::string api = "auto";
    std::string device;
    unsigned block = 128;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineOptions : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineOptions, AreTakenOrRefusedWithStatusTwo) {
    ensure_qt_app();
    const LineCase& c = GetParam();
    QStringList args{QStringLiteral("orvena")};
    for (const char* a : c.args) args << QString::fromUtf8(a);
    std::ostringstream out, err;
    const CommandLine line = parse_command_line(args, out, err);
    EXPECT_EQ(line.exit_status, c.status);
    EXPECT_NE(out.str().find(c.out_has), std::string::npos) << out.str();
    EXPECT_NE(err.str().find(c.err_has), std::string::npos) << err.str();
    if (c.status) return;
    AudioChoice from_file;
    from_file.device = "from-file";
    const AudioChoice choice = apply_command_line(from_file, line);
    EXPECT_EQ(api_setting_name(choice), c.api);
    EXPECT_EQ(choice.device, c.device);
    EXPECT_EQ(choice.block_frames, c.block);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineOptions,
    ::testing::Values(
        LineCase{"None", {}, {}, "", "", "auto", "from-file", 128},
        LineCase{"Help", {"--help"}, 0, "--audio-api <system>", ""},
        LineCase{"Version", {"--version"}, 0, "ORVENA", ""},
        LineCase{"Unknown", {"--fast"}, 2, "", "Unknown option 'fast'"},
        LineCase{"Positional", {"dizek.xls"}, 2, "", "unexpected argument 'dizek.xls'"},
        LineCase{"BadSystem", {"--audio-api", "oss"}, 2, "", "unknown sound system 'oss'"},
        LineCase{"BadBlock", {"--buffer-frames=0"}, 2, "", "--buffer-frames wants a number"},
        LineCase{"MissingValue", {"--audio-device"}, 2, "", "Missing value"},
        LineCase{"Sound",
                 {"--audio-api=alsa", "--audio-device", "hw:0,0", "--buffer-frames", "256"},
                 {},
                 "",
                 "",
                 "alsa",
                 "hw:0,0",
                 256}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvena::test
