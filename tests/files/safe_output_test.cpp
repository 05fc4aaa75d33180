#include "files/safe_output.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <map>
#include <thread>
#include "files/output_batch.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using test::write_file_bytes;
using Files = std::map<std::string, std::string>;

// The files of a folder, names and bytes, to see that nothing else changed.
Files folder_bytes(const fs::path& folder) {
    Files files;
    std::error_code ec;  // a link in a loop is "<other>"
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] =
            entry.is_regular_file(ec) ? test::read_file_bytes(entry.path()) : "<other>";
    return files;
}

TEST(SafeOutput, RefusesOwnedFilesTheInputFoldersAndDevicesLeavingEverythingAsItWas) {
    const auto own = [](const std::string& what) {
        return " adı ORVENA'nın kendi dosyalarına ayrılmıştır (" + what +
               "); bu ada yazılamaz. Başka bir ad ya da klasör seçin.";
    };
    const std::string input = " okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.";
    const std::pair<std::string, std::string> cases[] = {
        // "P/" the program folder, "S/" a scratch folder; "" when the target may be written
        {"P/12-A4.wav", own("tel sesi")},
        {"P/./alt/../dizek.xls", own("akort çizelgesi")},
        {"P/kayıt.txt", own("kayıt dosyası")},
        {"P/orvena.ini", own("ayar dosyası")},
        {"P/akort/53-EDO.scl", own("akort sistemi")},
        {"P/akort/Yeni.KBM", own("akort sistemi")},  // a new system's mapping-to-be
        {"P/akort/notlar.txt", ""},
        {"P/53-EDO.scl", ""},
        {"P/dizek.xls.yedek", ""},                     // only the whole name is the program's
        {"S/program/rast.mkm", own("makam dosyası")},  // the folder through a link
        {"S/bağ.ses", own("ses dosyası")},             // a link to a sequence file
        {"S/girdi.ses", input},
        {"S/girdinin-eşi.txt", input},  // a hard link to it
        {"S/klasör", " bir klasör, dosya değil; yazılamaz."},
        {"S/yok/çıktı.wav", " yazılamadı: klasörü yok."},
        {"S/boru", " düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz."},
        {"S/girdi.ses/çıktı.wav", " yazılamadı: yoldaki bir ad klasör değil."},
        {"S/döngü/çıktı.wav", " yazılamadı: sembolik bağlar döngü oluşturuyor."},
        {"S/" + std::string(300, 'a') + ".wav", " yazılamadı: ad çok uzun."},
        {"S/çıktı.wav", ""}};
    test::TempDir program, scratch;
    for (const char* name : {"12-A4.wav", "dizek.xls", "ezgi.ses", "kayıt.txt", "notlar.txt"})
        write_file_bytes(program / name, std::string("eski ") + name);
    fs::create_directories(program / "alt");
    fs::create_directories(program / "akort");
    write_file_bytes(program / "akort" / "53-EDO.scl", "eski");
    fs::create_directory_symlink(program.path(), scratch / "program");
    fs::create_symlink(program / "ezgi.ses", scratch / "bağ.ses");
    write_file_bytes(scratch / "girdi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    fs::create_hard_link(scratch / "girdi.ses", scratch / "girdinin-eşi.txt");
    fs::create_directory(scratch / "klasör");
    fs::create_directory_symlink(scratch / "döngü", scratch / "döngü");
    ASSERT_EQ(::mkfifo((scratch / "boru").c_str(), 0644), 0);
    const Files program_before = folder_bytes(program.path());
    const Files scratch_before = folder_bytes(scratch.path());

    const OutputRules rules{{program.path()}, {scratch / "girdi.ses"}, false};
    for (const auto& [name, refusal] : cases) {
        SCOPED_TRACE(name);
        const fs::path target = (name[0] == 'P' ? program.path() : scratch.path()) / name.substr(2);
        const auto problem = OutputFile(target, rules).open();
        EXPECT_EQ(output_refusal(target, rules), problem);
        EXPECT_EQ(problem.value_or(""),
                  refusal.empty() ? "" : "\"" + target.string() + "\"" + refusal);
    }
    EXPECT_EQ(folder_bytes(program.path()), program_before);
    EXPECT_EQ(folder_bytes(scratch.path()), scratch_before);
}

// An existing file its owner may not write is refused and keeps its bytes, although its folder
// would let a new file take its name; one the owner may write is replaced.
TEST(SafeOutput, ReplacesOnlyFilesTheUserMayWrite) {
    const std::tuple<const char*, fs::perms, const char*, const char*> cases[] = {
        {"salt-okunur.wav", fs::perms::owner_read, " yazılamadı: izin yok.", "eski"},
        {"herkes-okur.wav", static_cast<fs::perms>(0444), " yazılamadı: izin yok.", "eski"},
        {"yazılır.wav", static_cast<fs::perms>(0644), "", "yeni"},
        {"yalnız-yazılır.wav", fs::perms::owner_write, "", "yeni"}};
    test::TempDir dir;
    for (const auto& [name, mode, refusal, after] : cases) {
        SCOPED_TRACE(name);
        write_file_bytes(dir / name, "eski");
        fs::permissions(dir / name, mode);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chown((dir / name).c_str(), 65534, 65534), 0);
        }
        const std::string told = *refusal ? "\"" + (dir / name).string() + "\"" + refusal : "";
        const std::string answer = test::as_unprivileged_user(
            [&] { return save_file(dir / name, "yeni", {}).value_or("") == told; });
        if (answer == "no user") GTEST_SKIP() << "running as root, and user 65534 cannot be taken";
        EXPECT_EQ(answer, "");
        fs::permissions(dir / name, fs::perms::owner_read);  // to read it back as its owner
        EXPECT_EQ(test::read_file_bytes(dir / name), after);
    }
}

// A replaced file keeps its permissions, a new one has what the umask leaves of rw-rw-rw-, a link
// stays a link to the file it names, and no temporary file is left beside them; a FIFO gets the
// bytes, no more (70 000: a block and a part).
TEST(SafeOutput, ReplacedFilesKeepPermissionsAndLinksAndAFifoGetsJustTheBytes) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "boru").c_str(), 0644), 0);
    std::string piped;
    std::thread reader([&] { piped = test::read_file_bytes(dir / "boru"); });
    const auto problem = save_file(dir / "boru", std::string(70000, 'x'), {});
    if (problem) std::ofstream{dir / "boru"};  // lets the reader go
    reader.join();
    EXPECT_EQ(std::pair(problem.value_or(""), piped.size()), std::pair(std::string(), 70000ul));
    fs::remove(dir / "boru");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    write_file_bytes(dir / "çıktı.wav", "eski");
    fs::permissions(dir / "çıktı.wav", mode);
    write_file_bytes(dir / "asıl.wav", "eski");
    fs::create_symlink(dir / "asıl.wav", dir / "bağ.wav");
    EXPECT_EQ(save_file(dir / "çıktı.wav", "yeni", {}), std::nullopt);
    EXPECT_EQ(save_file(dir / "bağ.wav", "yeni", {}), std::nullopt);
    const mode_t umask = ::umask(022);
    EXPECT_EQ(save_file(dir / "yeni.wav", "yeni", {}), std::nullopt);
    ::umask(umask);
    EXPECT_EQ(std::pair(fs::status(dir / "çıktı.wav").permissions() & fs::perms::all,
                        fs::status(dir / "yeni.wav").permissions() & fs::perms::all),
              std::pair(mode, static_cast<fs::perms>(0644)));
    EXPECT_TRUE(fs::is_symlink(dir / "bağ.wav"));
    EXPECT_EQ(folder_bytes(dir.path()), (Files{{"asıl.wav", "yeni"},
                                               {"bağ.wav", "yeni"},
                                               {"yeni.wav", "yeni"},
                                               {"çıktı.wav", "yeni"}}));
}

// A batch puts all its files in place or none and leaves no backup behind. It stops, the file
// it replaced back and the new ones gone, when its last file cannot be placed (a folder that is
// not empty took its name) or a replaced file cannot have the second name that would bring it
// back; on a file system without hard links (EPERM on FAT, EOPNOTSUPP) it goes ahead without.
// (Batches are the Scala exports' .scl and .kbm.)
TEST(OutputBatch, AllOrNothingAndNoBackupLeft) {
    static int refusal;  // what the stand-in for link() answers; 0: the real one
    const auto link = [](const char* from, const char* to) {
        return refusal == 0 ? ::link(from, to) : (errno = refusal, -1);
    };
    // The refusal, what is told ("" nothing) and about which file; c.kbm: a folder took its name.
    const std::pair<int, std::string> cases[] = {{0, ""},
                                                 {EPERM, ""},
                                                 {EOPNOTSUPP, ""},
                                                 {EACCES, "a.scl\" yazılamadı: izin yok."},
                                                 {EIO, "a.scl\" yazılamadı: giriş/çıkış hatası."},
                                                 {0, "c.kbm\" yazılamadı: bu bir klasör."}};
    for (const auto& [err, told] : cases) {
        SCOPED_TRACE(told);
        test::TempDir dir;
        write_file_bytes(dir / "a.scl", "eski a");
        refusal = err;
        OutputBatch batch({}, link);
        for (const char* name : {"b.scl", "a.scl", "c.kbm"})
            ASSERT_EQ(batch.add(dir / name, "yeni"), std::nullopt);
        EXPECT_EQ(batch.add(dir / "b.scl", "iki kez"),
                  "\"" + (dir / "b.scl").string() + "\" aynı işte iki kez yazılamaz.");
        if (told.starts_with("c.kbm")) fs::create_directories(dir / "c.kbm" / "içinde");
        EXPECT_EQ(batch.commit().value_or(""), told.empty() ? "" : "\"" + (dir / told).string());
        fs::remove_all(dir / "c.kbm");
        const Files placed{{"a.scl", "yeni"}, {"b.scl", "yeni"}}, kept{{"a.scl", "eski a"}};
        EXPECT_EQ(folder_bytes(dir.path()), told.empty() ? placed : kept);
    }
}

}  // namespace
}  // namespace orvena
