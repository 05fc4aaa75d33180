#include "files/user_file.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cerrno>
#include <tuple>
#include "files/shown_text.h"
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
        {"rast.mkm/alt.mkm", "açılamadı: yoldaki bir ad klasör değil"},
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

// Bytes from files and command lines as messages show them.
TEST(ShownText, PrintableTextStaysAndEveryOtherByteIsEscaped) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"12-A4.wav", "12-A4.wav"},
        {"Çârgâh Uşşak", "Çârgâh Uşşak"},
        {"a\0b"s, "a\\x00b"},               // a NUL does not cut the text
        {"\x1b[2J", "\\x1B[2J"},            // a terminal command
        {"a\x7f", "a\\x7F"},                // DEL
        {"\xc2\x85", "\\xC2\\x85"},         // a control character of the upper half
        {"ab\xff\xfe", "ab\\xFF\\xFE"},     // not UTF-8
        {"\xc3", "\\xC3"},                  // a sequence cut short
        {"\xc3\xc3\xa9", "\\xC3\xc3\xa9"},  // cut short by a lead byte
        {"\xe0\xa0\x80\xf0\x90\x80\x80",
         "\xe0\xa0\x80\xf0\x90\x80\x80"},                   // the lowest of 3, 4 bytes
        {"\xc0\xaf", "\\xC0\\xAF"},                         // an overlong '/'
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},                // a surrogate
        {"exe.\xe2\x80\xaewav", "exe.\\xE2\\x80\\xAEwav"},  // turns the text around
        {"\xe2\x80\xaa\xe2\x81\xa9\xc2\x9f",
         "\\xE2\\x80\\xAA\\xE2\\x81\\xA9\\xC2\\x9F"},  // first and last mark, control
        {"\xe0\x83\x87\xf4\x90\x80\x80",
         "\\xE0\\x83\\x87\\xF4\\x90\\x80\\x80"},                  // overlong, too high
        {"\xe2\x81\xa5\xc2\xa0\xf4\x8f\xbf\xbf\xf0\x9f\x8e\xb5",  // just past those; four bytes
         "\xe2\x81\xa5\xc2\xa0\xf4\x8f\xbf\xbf\xf0\x9f\x8e\xb5"}};
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(shown(bytes), expected);
    EXPECT_EQ(in_quotes(std::filesystem::path("a\nb")), "\"a\\x0Ab\"");
}

}  // namespace
}  // namespace orvena
