#pragma once
// The running-instance test: one instance of the program per program folder. The first
// instance holds an exclusive lock on a small file named after its folder, in a folder only
// its user can enter, and removes the file when it lets go. The operating system releases
// the lock when the process ends in any way, a crash included, so a stale file never keeps
// the program from starting again. The file is never opened through a symbolic link.

#include <filesystem>
#include <string>

namespace orvena {

class InstanceLock {
  public:
    // lock_folder: where the lock files live; empty: nowhere safe, no lock is taken.
    explicit InstanceLock(std::filesystem::path lock_folder = default_lock_folder());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock of program_folder. False when another instance holds it. A lock file that
    // cannot be created at all (a symbolic link in its place included) does not stop the
    // program: the test then finds no instance.
    bool acquire(const std::filesystem::path& program_folder);
    bool held() const { return fd_ >= 0; }
    void release();

    // The lock file that stands for program_folder (same folder, same file, however spelled).
    std::filesystem::path lock_file_for(const std::filesystem::path& program_folder) const;

    // The user's runtime folder (XDG_RUNTIME_DIR) when it is private to the user, else a
    // private folder of the user's own in the temporary folder; empty when neither is.
    static std::filesystem::path default_lock_folder();

  private:
    std::filesystem::path lock_folder_;
    std::filesystem::path file_;  // the held lock's file
    int fd_ = -1;
};

}  // namespace orvena
