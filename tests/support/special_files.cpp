#include "support/special_files.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <stdexcept>

namespace orvena::test {

bool make_char_device(const std::filesystem::path& file, unsigned major, unsigned minor) {
    return ::mknod(file.c_str(), S_IFCHR | 0666, makedev(major, minor)) == 0;
}

FifoReader::FifoReader(const std::filesystem::path& fifo) {
    if (::mkfifo(fifo.c_str(), 0644) != 0) throw std::runtime_error("mkfifo failed");
    // Open for reading without waiting for a writer, so the writer's open never blocks.
    fd_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("cannot open the FIFO");
    reader_ = std::thread([this] {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        bool writer_seen = false;
        char block[65536];
        while (std::chrono::steady_clock::now() < give_up) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const ssize_t n = ::read(fd_, block, sizeof block);
            if (n > 0) {
                bytes_.append(block, static_cast<std::size_t>(n));
                writer_seen = true;
            } else if (n == 0 && writer_seen) {
                return;  // the writer closed
            } else if (n == 0) {
                ::usleep(10000);  // no writer yet
            } else if (errno != EAGAIN && errno != EINTR) {
                return;
            }
        }
    });
}

FifoReader::~FifoReader() {
    if (reader_.joinable()) reader_.join();
    if (fd_ >= 0) ::close(fd_);
}

std::string FifoReader::bytes() {
    if (reader_.joinable()) reader_.join();
    return bytes_;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
}

}  // namespace orvena::test
