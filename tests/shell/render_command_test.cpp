// `orvena --render FILE OUT.wav`: its messages and status, and what it leaves of its target,
// its input and the program's files.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "recording/render_command.h"
#include "support/scratch_program.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct RenderCase {
    // "DIR/" is the test's folder, "PROGRAM/" the program folder; a last "-" runs on a program
    // folder without a workbook.
    std::vector<std::string> args;
    int status;
    std::string said;          // the end of stdout (status 0) or stderr; without "\n": a part of it
    bool full_device = false;  // DIR/out is a device that is always full
    const char* damaged_sample = nullptr;
};

TEST(RenderCommand, WritesTheWavOrSaysWhyNotWithItsStatus) {
    const std::string r = "--render", ezgi = "DIR/ezgi.ses", out = "DIR/out";
    // clang-format off
    const RenderCase cases[] = {
        {{r, ezgi, out}, 0, "orvena: \"DIR/out\" yazılıyor (116 kB)...\n"
                            "orvena: \"DIR/out\" yazıldı (48000 Hz, 24 bit stereo)\n"},
        {{r, "DIR/yok.ses", out}, 1, "orvena: \"DIR/yok.ses\" okunamadı: böyle bir dosya yok\n"},
        {{r, "DIR/bozuk.ses", out}, 1, "orvena: \"DIR/bozuk.ses\", kayıt 2: alan 3, satır 3: metin "
                                       "bitti; kayıtta 10 sayıdan yalnız 2 tanesi var\n"},
        {{r, ezgi, "DIR/yok/out"}, 1, "orvena: \"DIR/yok/out\" yazılamadı: klasörü yok.\n"},
        {{r, ezgi, ezgi}, 1, "orvena: \"DIR/ezgi.ses\" okunan dosyanın kendisi; üzerine "
                             "yazılamaz. Başka bir ad seçin.\n"},
        {{r, ezgi, "PROGRAM/dizek.xls"}, 1, "orvena: \"PROGRAM/dizek.xls\" adı ORVENA'nın kendi "
         "dosyalarına ayrılmıştır (akort çizelgesi); bu ada yazılamaz. Başka bir ad ya da klasör "
         "seçin.\n"},
        {{r, ezgi, out}, 1, "orvena: \"DIR/out\" yazılamadı: diskte yer kalmadı.\n",
         true},
        {{r, ezgi, out}, 1, "orvena: \"09-D5.wav\" tel sesi (tel 9) okunamıyor ya da çalınabilir "
                            "bir WAV dosyası değil.\n", false, "09-D5.wav"},
        {{r, ezgi}, 2, "kullanım: orvena --render DOSYA ÇIKTI.wav"},
        {{r, ezgi, out, "--loud"}, 2, "başka bir şey değil"},
        {{ezgi, r, out}, 2, "kullanım"},
        {{r, ezgi, out, "-"}, 1, "orvena: \"DIR/dizek.xls\": dizek.xls bulunamadı veya okunamıyor\n"},
    };
    // clang-format on
    std::ostringstream not_asked;
    EXPECT_FALSE(
        run_render_command({"--audio-api", "none"}, test::program_dir(), not_asked, not_asked));
    for (const RenderCase& c : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        const std::string ses = "0,5,4,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n";
        test::write_file_bytes(dir / "ezgi.ses", ses);
        test::write_file_bytes(dir / "bozuk.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5\r\n");
        const auto dizek = test::read_file_bytes(program / "dizek.xls");
        if (c.damaged_sample) program.damage(c.damaged_sample, "bir ses değil");
        if (c.full_device && !test::make_char_device(dir / "out", 1, 7))
            continue;  // device nodes need root
        const auto placed = [&](std::string text) {
            for (const auto& [mark, folder] :
                 {std::pair{"DIR/", dir.path()}, std::pair{"PROGRAM/", program.path()}})
                for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
                    text.replace(at, std::strlen(mark), (folder / "").string());
            return text;
        };
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(placed(a));
        const bool no_workbook = args.back() == "-";
        if (no_workbook) args.pop_back();
        std::ostringstream o, e;
        const auto status =
            run_render_command(args, no_workbook ? dir.path() : program.path(), o, e);
        SCOPED_TRACE(c.args.back() + ": " + e.str());
        EXPECT_EQ(status, c.status);
        const std::string said = (c.status == 0 ? o : e).str(), expected = placed(c.said);
        EXPECT_TRUE(expected.ends_with('\n') ? said.ends_with(expected)
                                             : said.find(expected) != std::string::npos)
            << said;
        EXPECT_EQ(test::read_file_bytes(program / "dizek.xls"), dizek);
        EXPECT_EQ(test::read_file_bytes(dir / "ezgi.ses"), ses);
        EXPECT_TRUE(c.full_device ? fs::is_character_file(dir / "out")
                                  : fs::exists(dir / "out") == (c.status == 0));
    }
}

}  // namespace
}  // namespace orvena
