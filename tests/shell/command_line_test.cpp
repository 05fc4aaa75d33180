// The window's command line: the options it takes, the help it prints, what it refuses.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "shell/command_line.h"
#include "sound/sound_settings.h"
#include "support/qt_app.h"

namespace orvena::test {
namespace {

struct LineCase {
    std::vector<const char*> args;
    std::optional<int> status;
    std::string out_has, err_has;
    std::string api = "auto", device = "from-file";
    unsigned block = 128;
    bool chosen = false;
};

TEST(CommandLineOptions, AreTakenOrRefusedWithStatusTwo) {
    ensure_qt_app();
    // clang-format off
    const LineCase cases[] = {
        {{}, {}, "", ""},
        {{"--help"}, 0, "Kullanım: orvena [seçenekler]\n", ""},
        {{"-h"}, 0, "--export-musicxml <DOSYA.ses ÇIKTI.musicxml>", ""},
        {{"--version"}, 0, "ORVENA", ""},
        {{"--fast"}, 2, "", "orvena: bilinmeyen seçenek \"--fast\"\nSeçenekler için: orvena --help\n"},
        {{"dizek.xls"}, 2, "", "beklenmeyen argüman \"dizek.xls\""},
        {{"--audio-api"}, 2, "", "orvena: --audio-api bir değer ister\n"},
        {{"--audio-api", "oss"}, 2, "", "bilinmeyen ses sistemi \"oss\""},
        {{"--audio-api", "o\x1b[2J"}, 2, "", "ses sistemi \"o\\x1B[2J\""},
        {{"--buffer-frames=0"}, 2, "", "--buffer-frames 32 ile 4096 arasında bir sayı ister, \"0\" değil"},
        {{"--makam", "Rast"}, 2, "", "--makam yalnız --export-scala ile kullanılır"},
        {{"--midi-tuning", "mts"}, 2, "", "--midi-tuning yalnız --export-midi ile kullanılır"},
        {{"--audio-api=alsa", "--audio-device", "hw:0,0", "--buffer-frames", "256"}, {}, "", "",
         "alsa", "hw:0,0", 256, true},
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
                             choice.block_chosen),
                  std::tuple(c.api, c.device, c.block, c.chosen));
    }
    std::ostringstream out, err;
    const CommandLine line = parse_command_line({"orvena", "--tuning", "53-EDO.scl"}, out, err);
    EXPECT_FALSE(line.exit_status) << err.str();
    EXPECT_EQ(line.tuning, "53-EDO.scl");
}

}  // namespace
}  // namespace orvena::test
