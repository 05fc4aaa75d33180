#include "files/user_file.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// A file the user names: regular files only, and no more than the reader allows.
TEST(UserFile, ReadsRegularFilesUpToTheirLimitAndRefusesEverythingElseWithoutWaiting) {
    test::TempDir dir;
    test::write_file_bytes(dir / "rast.mkm", "0 1 2");
    test::write_file_bytes(dir / "büyük.mkm", std::string(11, '0'));
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
        {"büyük.mkm", "dosya çok büyük (en çok 10 bayt)"}};
    for (const auto& [name, problem] : cases) {
        SCOPED_TRACE(name);
        const UserFileRead read = read_user_file(dir / name, 10);
        EXPECT_EQ(user_file_problem(dir / name, 10).value_or(""), problem);
        EXPECT_EQ(std::pair(read.problem.value_or(""), read.bytes),
                  std::pair(problem, std::string(problem.empty() ? "0 1 2" : "")));
    }
    // Limits in megabytes read as such.
    test::write_file_bytes(dir / "büyük.mkm", std::string((2u << 20) + 1, '0'));
    EXPECT_EQ(read_user_file(dir / "büyük.mkm", 3u << 20).problem, std::nullopt);
    EXPECT_EQ(read_user_file(dir / "büyük.mkm", 2u << 20).problem, "dosya çok büyük (en çok 2 MB)");
}

}  // namespace
}  // namespace orvena
