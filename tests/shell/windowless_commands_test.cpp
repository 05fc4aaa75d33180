// The windowless commands: `orvena --render FILE OUT.wav`, the Scala export and the MIDI and
// MusicXML exports with --tuning, their messages, their status and what they leave behind.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "interchange/export_command.h"
#include "options/tuning_option.h"
#include "presets/scala_command.h"
#include "recording/render_command.h"
#include "shell/windowless_commands.h"
#include "support/scratch_program.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct CommandCase {
    // "DIR/" is the test's folder, "PROGRAM/" the program folder, "SHIPPED/" the shipped one; a
    // last "-" runs on a program folder without a workbook.
    std::vector<std::string> args;
    int status;
    std::string said;  // the end of stdout (status 0) or stderr; without "\n": a part of it
    const char* written = nullptr;  // a file in DIR a success writes, and a part of it
    std::string holds = "";
    unsigned device = 0;  // DIR/out is a device of the test's own: 3 as /dev/null, 7 as /dev/full
    const char* damaged_sample = nullptr;
};

// The windowless commands write their files, or say why not with their status and leave every
// file as it was: their input, the program's files and the tuning system they play.
TEST(WindowlessCommands, WriteTheFileOrSayWhyNotWithTheirStatus) {
    const std::string r = "--render", ses = "DIR/ezgi.ses", out = "DIR/out", t = "--tuning";
    const std::string scl = "DIR/mandallar.scl", scala = "--export-scala";
    const std::string self = " okunan dosyanın kendisi; üzerine yazılamaz.";
    // clang-format off
    const CommandCase cases[] = {
        {{r, ses, out}, 0, "orvena: \"DIR/out\" yazılıyor (116 kB)...\n"
                           "orvena: \"DIR/out\" yazıldı (48000 Hz, 24 bit stereo)\n", "out", "WAVEfmt "},
        {{r, "DIR/yok.ses", out}, 1, "orvena: \"DIR/yok.ses\" okunamadı: böyle bir dosya yok\n"},
        {{r, "DIR/bozuk.ses", out}, 1, "orvena: \"DIR/bozuk.ses\", kayıt 2: alan 3, satır 3: metin "
                                       "bitti; kayıtta 10 sayıdan yalnız 2 tanesi var\n"},
        {{r, "DIR/kısa.txt", out}, 1, "kayıt 2: kayıtta üç sayı olmalı; metin önce bitiyor\n"},
        {{r, ses, "DIR/yok/out"}, 1, "orvena: \"DIR/yok/out\" yazılamadı: klasörü yok.\n"},
        {{r, ses, ses}, 1, "orvena: \"DIR/ezgi.ses\"" + self + " Başka bir ad seçin.\n"},
        {{r, ses, "PROGRAM/dizek.xls"}, 1, "orvena: \"PROGRAM/dizek.xls\" adı ORVENA'nın kendi "
         "dosyalarına ayrılmıştır (akort çizelgesi); bu ada yazılamaz. Başka bir ad ya da klasör "
         "seçin.\n"},
        {{r, ses, out}, 1, "orvena: \"DIR/out\" yazılamadı: diskte yer kalmadı.\n", {}, "", 7},
        {{r, ses, out}, 0, "yazıldı", {}, "", 3},
        {{r, ses, out}, 1, "orvena: \"09-D5.wav\" tel sesi (tel 9) okunamıyor ya da çalınabilir "
                           "bir WAV dosyası değil.\n", {}, "", 0, "09-D5.wav"},
        {{r, ses}, 2, "kullanım: orvena --render DOSYA ÇIKTI.wav"},
        {{r, ses, out, "--loud"}, 2, "başka bir şey değil"}, {{ses, r, out}, 2, "kullanım"},
        {{r, ses, out, "-"}, 1, "orvena: \"DIR/dizek.xls\": dizek.xls bulunamadı veya okunamıyor\n"},
        {{scala, "DIR/", t, "SHIPPED/akort/12-TET.scl"}, 0, "", "dizek.scl",
         "ORVENA tuning system 12-TET\r\n 12\r\n"},
        {{scala, "DIR/", t, "DIR/bozuk.scl"}, 1,
         "akort sistemi yüklenemedi: \"bozuk.scl\", satır 2: perde sayısı 2"},
        // Given twice, the last counts, in either spelling.
        {{scala, "DIR/", t, "DIR/bozuk.scl", t + "=SHIPPED/akort/12-TET.scl"}, 0, "", "dizek.scl",
         "ORVENA tuning system 12-TET\r\n 12\r\n"},
        {{t + "=SHIPPED/akort/12-TET.scl", scala, "DIR/", t, "DIR/bozuk.scl"}, 1, "\"bozuk.scl\""},
        {{r, ses, out, t, "DIR/yok.scl"}, 1, "\"yok.scl\": böyle bir dosya yok"},
        {{scala, "DIR/", t, scl}, 1, self},  // would write .scl and .kbm
        {{"--export-midi", ses, "DIR/mandallar.kbm", t, scl}, 1, self},
        {{r, ses, scl, t, scl}, 1, self}, {{"--export-musicxml", ses, scl, t, scl}, 1, self},
    };
    // clang-format on
    const std::pair<const char*, std::string> inputs[] = {
        {"ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n"},
        {"bozuk.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5\r\n"},
        {"kısa.txt", " 12 0 300\r\n 5 0\r\n"},
        {"mandallar.scl", test::read_file_bytes(test::program_dir() / "akort" / "41-EDO.scl")},
        {"mandallar.kbm", "0\n0\n127\n60\n60\n261.6256\n0\n"},
        {"bozuk.scl", "bozuk\n2\n100.0\n"}};
    for (const CommandCase& c : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        for (const auto& [name, bytes] : inputs) test::write_file_bytes(dir / name, bytes);
        const auto dizek = test::read_file_bytes(program / "dizek.xls");
        if (c.damaged_sample) program.damage(c.damaged_sample, "bir ses değil");
        if (c.device && !test::make_char_device(dir / "out", 1, c.device))
            continue;  // device nodes need root
        const auto placed = [&](std::string text) {
            for (const auto& [mark, folder] :
                 {std::pair{"DIR/", dir.path()}, std::pair{"PROGRAM/", program.path()},
                  std::pair{"SHIPPED/", test::program_dir()}})
                for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
                    text.replace(at, std::strlen(mark), (folder / "").string());
            return text;
        };
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(placed(a));
        const bool no_workbook = args.back() == "-";
        if (no_workbook) args.pop_back();
        const fs::path folder = no_workbook ? dir.path() : program.path();
        const auto tuning = take_tuning_option(args);
        std::ostringstream o, e;
        const auto status = is_scala_command(args) ? run_scala_command(args, folder, o, e, tuning)
                            : is_render_command(args)
                                ? run_render_command(args, folder, o, e, tuning)
                                : run_export_command(args, folder, o, e, tuning);
        SCOPED_TRACE(c.args[0] + " " + c.args.back() + ": " + e.str());
        EXPECT_EQ(status, c.status);
        const std::string said = (c.status == 0 ? o : e).str(), expected = placed(c.said);
        EXPECT_TRUE(expected.ends_with('\n') ? said.ends_with(expected)
                                             : said.find(expected) != std::string::npos)
            << said;
        EXPECT_EQ(test::read_file_bytes(program / "dizek.xls"), dizek);
        if (c.written) {
            EXPECT_NE(test::read_file_bytes(dir / c.written).find(c.holds), std::string::npos);
            continue;
        }
        for (const auto& [name, bytes] : inputs)
            EXPECT_EQ(test::read_file_bytes(dir / name), bytes);
        const auto files = std::distance(fs::directory_iterator(dir.path()), {});
        EXPECT_EQ(files, std::ssize(inputs) + (c.device ? 1 : 0)) << "a file was left";
        EXPECT_TRUE(!c.device || fs::is_character_file(dir / "out"));
    }
}

// The program runs each command before any window and ends with its status (here 2, with the
// usage of the command given); with only the window's own options the window starts.
TEST(WindowlessCommands, RunBeforeAnyWindowAndLeaveTheRestToIt) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"orvena", "--render", "a.ses"}, "kullanım: orvena --render DOSYA ÇIKTI.wav\n"},
        {{"orvena", "--export-midi", "a.ses"}, "kullanım: orvena --export-midi DOSYA ÇIKTI.mid"},
        {{"orvena", "--export-musicxml", "a.ses"}, "--export-musicxml DOSYA.ses ÇIKTI.musicxml\n"},
        {{"orvena", "--makam", "Rast"}, "kullanım: orvena --export-scala KLASÖR [--makam AD]\n"},
        {{"orvena", "--tuning", "a.scl"}, ""},
        {{"orvena", "--audio-api", "none"}, ""}};
    for (const auto& [args, usage] : cases) {
        testing::internal::CaptureStderr();
        const auto status =
            run_windowless_command(int(args.size()), const_cast<char**>(args.data()));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, usage.empty() ? std::nullopt : std::optional(2)) << args[1];
        EXPECT_TRUE(usage.empty() ? said.empty() : said.find(usage) != std::string::npos) << said;
    }
}

}  // namespace
}  // namespace orvena
