// The running-instance lock: one instance per program folder, kept in the user's own runtime
// folder (or a private folder of the user's), never reached through a planted link, and
// nothing left once the program has ended.

#include "surface/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using Value = std::optional<std::string>;

// Sets an environment variable for one scope (unset with nullopt), then puts it back.
struct ScopedEnv {
    ScopedEnv(const char* variable, const Value& value) : name(variable) {
        if (const char* was = std::getenv(variable)) old = was;
        set(value);
    }
    ~ScopedEnv() { set(old); }
    void set(const Value& v) const { v ? ::setenv(name, v->c_str(), 1) : ::unsetenv(name); }
    const char* name;
    Value old;
};

TEST(InstanceLockPlace, UsersRuntimeFolderElseAPrivateFolderOfTheirOwn) {
    test::TempDir runtime, temp;
    const ScopedEnv tmpdir("TMPDIR", temp.path().string());
    const fs::path own = temp / ("orvena-" + std::to_string(::getuid()));
    ::chmod(runtime.path().c_str(), 0700);
    {
        const ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().string());
        EXPECT_EQ(InstanceLock::default_lock_folder(), runtime.path());
    }
    ::chmod(runtime.path().c_str(), 0755);  // open to others: not a place for it
    for (const Value& value : {Value(runtime.path().string()), Value()}) {
        const ScopedEnv xdg("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(InstanceLock::default_lock_folder(), own);
        struct stat info {};
        ASSERT_EQ(::lstat(own.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode) && (info.st_mode & 0777) == 0700);
    }
    fs::remove(own);
    fs::create_directory_symlink(runtime.path(), own);  // someone else's folder in its place
    const ScopedEnv xdg("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(InstanceLock::default_lock_folder(), fs::path()) << "followed a link";
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
}

}  // namespace
}  // namespace orvena
