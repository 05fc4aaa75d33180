// Folders: the files that match a pattern, and the lock of one instance per program folder.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_dir.h"
#include "surface/file_list.h"
#include "surface/instance_lock.h"

namespace orvena {
namespace {

using Names = std::vector<std::string>;

// Patterns match without regard to case; folders and hidden files are left out; names
// differing only in case sort the same way every time; Ç comes after C, dotless I before İ,
// Ş after S.
TEST(FileList, ListsMatchingFilesInTheAlphabetsOrderWithoutFoldersOrHiddenFiles) {
    const Names makams = {"Acem.mkm",    "Çârgâh.mkm", "Hicaz.mkm", "Hüzzam.mkm", "Irak.mkm",
                          "İsfahan.mkm", "Saba.mkm",   "Segâh.mkm", "Şehnaz.mkm", "Uşşak.mkm"};
    test::TempDir dir;
    for (auto it = makams.rbegin(); it != makams.rend(); ++it)
        test::write_file_bytes(dir / *it, "x");
    for (const char* name : {"b.wav", "A.WAV", "c.wav", "a.wav.txt", "kayıt.txt", ".x.wav",
                             "10.wav", "9.wav", "a.ses", "A.ses", "B.ses"})
        test::write_file_bytes(dir / name, "x");
    std::filesystem::create_directory(dir / "folder.wav");
    const std::pair<const char*, Names> cases[] = {
        {"*.wav", {"10.wav", "9.wav", "A.WAV", "b.wav", "c.wav"}},
        {"*.mkm", makams},
        {"kay?t.*", {"kayıt.txt"}},
        {"*.ses", {"A.ses", "a.ses", "B.ses"}}};
    for (const auto& [pattern, names] : cases)
        EXPECT_EQ(list_matching_files(dir.path(), pattern), names);
    EXPECT_TRUE(list_matching_files(dir / "missing", "*.wav").empty());
}

namespace fs = std::filesystem;

// Never in a folder others can enter, nor through a planted link.
TEST(InstanceLockPlace, UsersRuntimeFolderElseAPrivateFolderOfTheirOwn) {
    test::TempDir runtime, temp;
    const char* const saved[] = {std::getenv("TMPDIR"), std::getenv("XDG_RUNTIME_DIR")};
    const std::string kept[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : ""};
    ::setenv("TMPDIR", temp.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const fs::path own = temp / ("orvena-" + std::to_string(::getuid()));
    ::chmod(runtime.path().c_str(), 0700);
    EXPECT_EQ(InstanceLock::default_lock_folder(), runtime.path());
    ::chmod(runtime.path().c_str(), 0755);  // open to others: not a place for it
    for (bool unset : {false, true}) {
        if (unset) ::unsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(InstanceLock::default_lock_folder(), own);
        struct stat info {};
        ASSERT_EQ(::lstat(own.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode) && (info.st_mode & 0777) == 0700);
    }
    fs::remove(own);
    fs::create_directory_symlink(runtime.path(), own);  // someone else's folder in its place
    EXPECT_EQ(InstanceLock::default_lock_folder(), fs::path()) << "followed a link";
    for (int i = 0; i < 2; ++i) {
        const char* name = i == 0 ? "TMPDIR" : "XDG_RUNTIME_DIR";
        saved[i] ? ::setenv(name, kept[i].c_str(), 1) : ::unsetenv(name);
    }
}

// A second instance of the same folder, however spelled, is refused until the first lets go;
// a planted link is not followed, and nothing is left behind.
TEST(InstanceLock, SecondInstanceWaitsForTheFirstAndNoLinkIsFollowed) {
    test::TempDir locks, program, elsewhere;
    fs::create_directory(program / "sub");
    InstanceLock lock(locks.path());
    const fs::path file = lock.lock_file_for(program.path());
    fs::create_symlink(elsewhere / "victim", file);
    EXPECT_TRUE(lock.acquire(program.path()) && !lock.held()) << "no lock through a link";
    EXPECT_TRUE(fs::is_empty(elsewhere.path())) << "created through the link";
    fs::remove(file);
    ASSERT_TRUE(lock.acquire(program.path()) && lock.held());
    InstanceLock second(locks.path()), other_folder(locks.path());
    EXPECT_FALSE(second.acquire(program.path()));
    EXPECT_FALSE(second.acquire(program / "sub" / "..")) << "the same folder spelled otherwise";
    EXPECT_TRUE(other_folder.acquire(program / "sub"));
    other_folder.release();
    lock.release();
    EXPECT_TRUE(fs::is_empty(locks.path())) << "the lock file outlived the program";
    EXPECT_TRUE(second.acquire(program.path()));
    EXPECT_TRUE(InstanceLock(fs::path()).acquire(program.path())) << "no lock folder: it starts";
}

}  // namespace
}  // namespace orvena
