#include "files/user_file.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cerrno>
#include <tuple>
#include "files/system_reason.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// A file the user names: regular files only, and no more than the reader allows (a file of
// exactly that size is read).
TEST(UserFile, ReadsRegularFilesUpToTheirLimitAndRefusesEverythingElseWithoutWaiting) {
    test::TempDir dir;
    test::write_file_bytes(dir / "rast.mkm", "0 1 2");
    test::write_file_bytes(dir / "büyük.mkm", std::string(6, '0'));
    fs::create_directory(dir / "klasör.mkm");
    ASSERT_EQ(::mkfifo((dir / "boru.mkm").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir / "sıfır.mkm");
    fs::create_symlink(dir / "rast.mkm", dir / "bağ.mkm");
    const std::pair<std::string, std::string> cases[] = {
        {"rast.mkm", ""},
        {"bağ.mkm", ""},
        {"yok.mkm", "böyle bir dosya yok"},
        {"klasör.mkm", "bir klasör, dosya değil"},
        {"boru.mkm", "düzenli bir dosya değil (aygıt ya da FIFO)"},
        {"sıfır.mkm", "düzenli bir dosya değil (aygıt ya da FIFO)"},
        {"büyük.mkm", "dosya çok büyük (en çok 5 bayt)"}};
    for (const auto& [name, problem] : cases) {
        SCOPED_TRACE(name);
        const UserFileRead read = read_user_file(dir / name, 5);
        EXPECT_EQ(user_file_problem(dir / name, 5).value_or(""), problem);
        EXPECT_EQ(std::pair(read.problem.value_or(""), read.bytes),
                  std::pair(problem, std::string(problem.empty() ? "0 1 2" : "")));
    }
    // Limits in kilobytes and megabytes read as such, from 1 on; makam, sequence and recording
    // files may have 16 MB.
    const std::tuple<std::size_t, std::size_t, std::string> sizes[] = {
        {1u << 10, 1u << 10, ""},
        {(1u << 10) + 1, 1u << 10, "dosya çok büyük (en çok 1 kB)"},
        {(1u << 20) + 1, 1u << 20, "dosya çok büyük (en çok 1 MB)"},
        {16u << 20, kMaxTextFileBytes, ""},
        {(16u << 20) + 1, kMaxTextFileBytes, "dosya çok büyük (en çok 16 MB)"}};
    for (const auto& [size, limit, problem] : sizes) {
        SCOPED_TRACE(size);
        test::write_file_bytes(dir / "büyük.mkm", std::string(size, '0'));
        const UserFileRead read = read_user_file(dir / "büyük.mkm", limit);
        EXPECT_EQ(std::pair(read.problem.value_or(""), read.bytes.size()),
                  std::pair(problem, problem.empty() ? size : 0));
    }
}

// Every failure the system reports has its own Turkish reason; any other its number and text.
TEST(SystemReason, NamesEveryFailureAUserMeets) {
    std::string reasons;
    for (int err : {ENOSPC, EDQUOT, EFBIG, EACCES, EPERM, EROFS, ENOENT, ENOTDIR, EISDIR,
                    ENAMETOOLONG, ELOOP, EIO, EPIPE, ENXIO, EMFILE, ENFILE, ENOMEM, EBUSY})
        reasons += system_reason(err) + "|";
    EXPECT_EQ(reasons,
              "diskte yer kalmadı|disk kotası doldu|dosya bu kadar büyüyemez|izin yok|izin yok|"
              "dosya sistemi salt okunur|böyle bir dosya ya da klasör yok|yoldaki bir ad klasör "
              "değil|bu bir klasör|ad çok uzun|sembolik bağlar döngü oluşturuyor|giriş/çıkış "
              "hatası|okuyan taraf kapandı|aygıt ya da okuyan bir program yok|açık dosya sınırına "
              "varıldı|açık dosya sınırına varıldı|bellek yetmedi|sistem hatası 16 (Device or "
              "resource busy)|");
}

}  // namespace
}  // namespace orvena
