#pragma once
// Targets that are not regular files, made in a test's own folder (never under /dev), and a
// disk that fills up early, for tests of what the program writes.

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace orvena::test {

// A character device node: (1, 3) behaves as /dev/null, (1, 7) as /dev/full. False when this
// process may not make device nodes (not root); the test then skips that case.
bool make_char_device(const std::filesystem::path& file, unsigned major, unsigned minor);

// Whether `check` holds ("", else "another answer") for a user without privileges: user 65534
// in a child process when the tests run as root, since root may write any file and a read-only
// one would not be real. "no user" when that user cannot be taken.
std::string as_unprivileged_user(const std::function<bool()>& check);

// Makes a FIFO and reads everything written into it until its writer closes it. A writer
// that never comes ends the reading after a minute, so a fault cannot hang the test.
class FifoReader {
  public:
    explicit FifoReader(const std::filesystem::path& fifo);
    ~FifoReader() { bytes(); }
    // Waits for the writer to close, and returns what it wrote.
    std::string bytes();

  private:
    int fd_ = -1;
    std::string bytes_;
    std::thread reader_;
};

// While it lives, no file of this process may grow past `bytes`: a write beyond fails as on a
// full disk (with "dosya bu kadar büyüyemez").
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending us
        ::getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

  private:
    rlimit old_{};
};

}  // namespace orvena::test
