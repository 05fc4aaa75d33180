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
    // clang-format off
    const std::pair<int, std::string> cases[] = {
        {ENOSPC, "diskte yer kalmadı"}, {EDQUOT, "disk kotası doldu"},
        {EFBIG, "dosya bu kadar büyüyemez"}, {EACCES, "izin yok"}, {EPERM, "izin yok"},
        {EROFS, "dosya sistemi salt okunur"}, {ENOENT, "böyle bir dosya ya da klasör yok"},
        {ENOTDIR, "yoldaki bir ad klasör değil"}, {EISDIR, "bu bir klasör"},
        {ENAMETOOLONG, "ad çok uzun"}, {ELOOP, "sembolik bağlar döngü oluşturuyor"},
        {EIO, "giriş/çıkış hatası"}, {EPIPE, "okuyan taraf kapandı"},
        {ENXIO, "aygıt ya da okuyan bir program yok"}, {EMFILE, "açık dosya sınırına varıldı"},
        {ENFILE, "açık dosya sınırına varıldı"}, {ENOMEM, "bellek yetmedi"},
        {EBUSY, "sistem hatası 16 (Device or resource busy)"}};
    // clang-format on
    for (const auto& [err, reason] : cases) EXPECT_EQ(system_reason(err), reason) << err;
}

}  // namespace
}  // namespace orvena
