// The command line: the window's options and --tuning for the windowless commands.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "options/command_line.h"
#include "options/tuning_option.h"
#include "sound/sound_settings.h"
#include "support/qt_app.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct LineCase {
    std::vector<const char*> args;
    std::optional<int> status;
    std::string out_has, err_has;
    std::string api = "auto", device = "from-file";
    unsigned block = 128;
    bool chosen = false;
    std::optional<std::string> tuning = {};
};

TEST(CommandLineOptions, AreTakenOrRefusedWithStatusTwo) {
    test::ensure_qt_app();
    // clang-format off
    const LineCase cases[] = {
        {{}, {}, "", ""},
        {{"--help"}, 0, "Kullanım: orvena [seçenekler]\n", ""},
        {{"--version"}, 0, "ORVENA", ""},
        {{"--fast"}, 2, "", "orvena: bilinmeyen seçenek \"--fast\"\nSeçenekler için: orvena --help\n"},
        {{"-x"}, 2, "", "orvena: bilinmeyen seçenek \"-x\"\n"},
        {{"dizek.xls"}, 2, "", "beklenmeyen argüman \"dizek.xls\""},
        {{"--audio-api"}, 2, "", "orvena: --audio-api bir değer ister\n"},
        {{"--audio-api", "oss"}, 2, "", "bilinmeyen ses sistemi \"oss\""},
        {{"--audio-api", "o\x1b[2J"}, 2, "", "ses sistemi \"o\\x1B[2J\""},
        {{"--buffer-frames=0"}, 2, "", "--buffer-frames 32 ile 4096 arasında bir sayı ister, \"0\" değil"},
        {{"--buffer-frames", "31"}, 2, "", "orvena: --buffer-frames 32 ile 4096 arasında bir sayı ister, \"31\" değil\n"},
        {{"--buffer-frames=4097"}, 2, "", "4096 arasında bir sayı ister, \"4097\" değil"},
        {{"--buffer-frames", "32"}, {}, "", "", "auto", "from-file", 32, true},
        {{"--buffer-frames=4096"}, {}, "", "", "auto", "from-file", 4096, true},
        {{"--makam", "Rast"}, 2, "", "--makam yalnız --export-scala ile kullanılır"},
        {{"--midi-tuning", "mts"}, 2, "", "--midi-tuning yalnız --export-midi ile kullanılır"},
        {{"--audio-api=alsa", "--audio-device", "hw:0,0", "--buffer-frames", "256"}, {}, "", "",
         "alsa", "hw:0,0", 256, true},
        {{"--audio-device="}, {}, "", "", "auto", "", 128, false},  // back to the default device
        {{"--tuning", "53-EDO.scl"}, {}, "", "", "auto", "from-file", 128, false, "53-EDO.scl"},
    };
    // clang-format on
    for (const LineCase& c : cases) {
        QStringList args{QStringLiteral("orvena")};
        for (const char* a : c.args) args << QString::fromUtf8(a);
        SCOPED_TRACE(args.join(' ').toStdString());
        std::ostringstream out, err;
        const CommandLine line = parse_command_line(args, out, err);
        EXPECT_EQ(line.exit_status, c.status);
        EXPECT_NE(out.str().find(c.out_has), std::string::npos) << out.str();
        EXPECT_NE(err.str().find(c.err_has), std::string::npos) << err.str();
        if (c.status) continue;
        const AudioChoice choice = apply_command_line({.device = "from-file"}, line);
        EXPECT_EQ(std::tuple(api_setting_name(choice), choice.device, choice.block_frames,
                             choice.block_chosen, line.tuning),
                  std::tuple(c.api, c.device, c.block, c.chosen, c.tuning));
    }
}

// Every option stands in the help with its value; descriptions wrap as late as they can before
// column 81, and a heading too long for its column stands alone above its description.
TEST(CommandLineOptions, HelpListsEveryOptionWithItsValue) {
    test::ensure_qt_app();
    std::ostringstream out, err;
    parse_command_line({QStringLiteral("orvena"), QStringLiteral("-h")}, out, err);
    for (const char* heading :
         {"-h, --help  ", "-v, --version  ", "--audio-api <sistem>  ", "--audio-device <aygıt>  ",
          "--tuning <dosya>  ", "--export-scala <klasör>  ", "--makam <AD>  ",
          "--render <DOSYA ÇIKTI.wav>  ", "--export-midi <DOSYA ÇIKTI.mid>\n",
          "--midi-tuning <mts|bend>  ", "--export-musicxml <DOSYA.ses ÇIKTI.musicxml>\n"})
        EXPECT_NE(out.str().find(std::string("\n  ") + heading), std::string::npos) << heading;
    const std::string wrapped = "<çerçeve>    Bir ses bloğundaki çerçeve sayısı, ne olursa\n" +
                                std::string(31, ' ') + "olsun korunur (olağanı 128;";
    EXPECT_NE(out.str().find(wrapped), std::string::npos) << out.str();
    // No line passes column 80, and a description line ends only where its next word would.
    const QStringList lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 80) << lines[i].toStdString();
        // A gap after the heading: not a heading alone above its description.
        const bool continued =
            lines[i - 1].mid(2).contains(u"  ") && lines[i].startsWith(QString(31, u' '));
        const qsizetype next_word = lines[i].mid(31).section(u' ', 0, 0).size();
        EXPECT_TRUE(!continued || lines[i - 1].size() + 1 + next_word > 80)
            << lines[i].toStdString();
    }
}

// --tuning comes out of a windowless command's arguments wherever it stands, in either
// spelling; given more than once, the last counts, as for the window.
TEST(TuningOption, IsTakenOutOfTheArgumentsAndTheLastOneCounts) {
    using Args = std::vector<std::string>;
    const std::tuple<Args, Args, std::optional<std::string>> cases[] = {
        {{"--render", "a.ses", "o.wav"}, {"--render", "a.ses", "o.wav"}, std::nullopt},
        {{"--tuning", "/s/a.scl", "--render"}, {"--render"}, "/s/a.scl"},
        {{"--render", "--tuning=/s/b.scl"}, {"--render"}, "/s/b.scl"},
        {{"--tuning=/s/a.scl", "x", "--tuning", "/s/b.scl"}, {"x"}, "/s/b.scl"},
        {{"--tuning", "/s/a.scl", "--tuning=/s/b.scl"}, {}, "/s/b.scl"},
        {{"x", "--tuning"}, {"x", "--tuning"}, std::nullopt},  // no file: left for the command
    };
    for (auto [args, left, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto file = take_tuning_option(args);
        EXPECT_EQ(args, left);
        EXPECT_EQ(file, expected ? std::optional<fs::path>(*expected) : std::nullopt);
    }
    std::vector<std::string> relative{"--tuning", "akort/12-TET.scl"};
    EXPECT_EQ(take_tuning_option(relative), fs::current_path() / "akort" / "12-TET.scl");
}

}  // namespace
}  // namespace orvena
