// The guard of every file an export writes: what it refuses, and what a replaced file keeps.
// Devices, FIFOs, a full disk and a cancel are tried through the exports' own tests.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "files/output_batch.h"
#include "files/safe_output.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using test::read_file_bytes;
using test::write_file_bytes;

// The files of a folder, names and bytes, to see that nothing else changed.
std::map<std::string, std::string> folder_bytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? read_file_bytes(entry.path()) : "<other>";
    return files;
}

TEST(SafeOutput, RefusesOwnedFilesTheInputFoldersAndDevicesLeavingEverythingAsItWas) {
    const auto own = [](const std::string& what) {
        return " adı ORVENA'nın kendi dosyalarına ayrılmıştır (" + what +
               "); bu ada yazılamaz. Başka bir ad ya da klasör seçin.";
    };
    const std::pair<std::string, std::string> cases[] = {
        // "P/" the program folder, "S/" a scratch folder; "" when the target may be written
        {"P/12-A4.wav", own("tel sesi")},
        {"P/Yeni.WAV", own("tel sesi")},  // a new sample-to-be
        {"P/./alt/../dizek.xls", own("akort çizelgesi")},
        {"P/kayıt.txt", own("kayıt dosyası")},
        {"P/orvena.ini", own("ayar dosyası")},
        {"P/akort/53-EDO.scl", own("akort sistemi")},
        {"P/akort/Yeni.KBM", own("akort sistemi")},  // a new system's mapping-to-be
        {"P/akort/notlar.txt", ""},
        {"P/53-EDO.scl", ""},
        {"S/program/rast.mkm", own("makam dosyası")},  // the folder through a link
        {"S/bağ.ses", own("ses dosyası")},             // a link to a sequence file
        {"S/girdi.ses", " okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
        {"S/girdinin-eşi.txt", " okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
        {"S/klasör", " bir klasör, dosya değil; yazılamaz."},
        {"S/yok/çıktı.wav", " yazılamadı: klasörü yok."},
        {"S/boru", " düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz."},
        {"S/salt-okunur.wav", ::geteuid() == 0 ? "" : " yazılamadı: izin yok."},
        {"P/notlar.txt", ""},
        {"S/çıktı.wav", ""},
    };
    test::TempDir program, scratch;
    for (const char* name : {"12-A4.wav", "dizek.xls", "ezgi.ses", "kayıt.txt", "notlar.txt"})
        write_file_bytes(program / name, std::string("eski ") + name);
    fs::create_directory(program / "alt");
    fs::create_directory(program / "akort");
    write_file_bytes(program / "akort" / "53-EDO.scl", "eski");
    fs::create_directory_symlink(program.path(), scratch / "program");
    fs::create_symlink(program / "ezgi.ses", scratch / "bağ.ses");
    write_file_bytes(scratch / "girdi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    fs::create_hard_link(scratch / "girdi.ses", scratch / "girdinin-eşi.txt");
    fs::create_directory(scratch / "klasör");
    ASSERT_EQ(::mkfifo((scratch / "boru").c_str(), 0644), 0);
    write_file_bytes(scratch / "salt-okunur.wav", "eski");
    fs::permissions(scratch / "salt-okunur.wav", fs::perms::owner_read);
    const auto program_before = folder_bytes(program.path());
    const auto scratch_before = folder_bytes(scratch.path());

    // The window's rules: devices and FIFOs refused too.
    const OutputRules rules{{program.path()}, {scratch / "girdi.ses"}, false};
    for (const auto& [name, refusal] : cases) {
        SCOPED_TRACE(name);
        const fs::path target = (name[0] == 'P' ? program.path() : scratch.path()) / name.substr(2);
        OutputFile file(target, rules);
        const auto problem = file.open();
        EXPECT_EQ(output_refusal(target, rules), problem);
        if (refusal.empty()) {
            EXPECT_EQ(problem, std::nullopt);
        } else {
            EXPECT_EQ(problem, "\"" + target.string() + "\"" + refusal);
        }
    }
    EXPECT_EQ(folder_bytes(program.path()), program_before);
    EXPECT_EQ(folder_bytes(scratch.path()), scratch_before);
}

// A replaced file keeps its permissions, a link stays a link to the file it names, and no
// temporary file is left beside them.
TEST(SafeOutput, ReplacedFilesKeepPermissionsAndLinks) {
    test::TempDir dir;
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    write_file_bytes(dir / "çıktı.wav", "eski");
    fs::permissions(dir / "çıktı.wav", mode);
    write_file_bytes(dir / "asıl.wav", "eski");
    fs::create_symlink(dir / "asıl.wav", dir / "bağ.wav");
    EXPECT_EQ(save_file(dir / "çıktı.wav", "yeni", {}), std::nullopt);
    EXPECT_EQ(save_file(dir / "bağ.wav", "yeni", {}), std::nullopt);
    EXPECT_EQ(fs::status(dir / "çıktı.wav").permissions() & fs::perms::all, mode);
    EXPECT_TRUE(fs::is_symlink(dir / "bağ.wav"));
    EXPECT_EQ(folder_bytes(dir.path()),
              (std::map<std::string, std::string>{
                  {"asıl.wav", "yeni"}, {"bağ.wav", "yeni"}, {"çıktı.wav", "yeni"}}));
}

// A batch puts all its files in place or none: a failure while placing the last puts the
// files it replaced back and removes the new ones.
TEST(OutputBatch, AllOrNothing) {
    for (const bool spoiled : {false, true}) {
        SCOPED_TRACE(spoiled);
        test::TempDir dir;
        write_file_bytes(dir / "a.scl", "eski a");
        write_file_bytes(dir / "c.kbm", "eski c");
        OutputBatch batch({});
        ASSERT_EQ(batch.add(dir / "a.scl", "yeni a"), std::nullopt);
        ASSERT_EQ(batch.add(dir / "b.scl", "yeni b"), std::nullopt);
        ASSERT_EQ(batch.add(dir / "c.kbm", "yeni c"), std::nullopt);
        EXPECT_EQ(batch.add(dir / "b.scl", "iki kez"),
                  "\"" + (dir / "b.scl").string() + "\" aynı işte iki kez yazılamaz.");
        if (spoiled) {  // a folder, not empty, takes the last file's place: no file replaces it
            fs::remove(dir / "c.kbm");
            fs::create_directories(dir / "c.kbm" / "içinde");
        }
        EXPECT_EQ(batch.commit().has_value(), spoiled);
        if (spoiled) {
            fs::remove_all(dir / "c.kbm");
        }
        using Files = std::map<std::string, std::string>;
        const Files written{{"a.scl", "yeni a"}, {"b.scl", "yeni b"}, {"c.kbm", "yeni c"}};
        EXPECT_EQ(folder_bytes(dir.path()), (spoiled ? Files{{"a.scl", "eski a"}} : written));
    }
}

}  // namespace
}  // namespace orvena
