#include "support/special_files.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace orvena::test {

bool make_char_device(const std::filesystem::path& file, unsigned major, unsigned minor) {
    return ::mknod(file.c_str(), S_IFCHR | 0666, makedev(major, minor)) == 0;
}

std::string as_unprivileged_user(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check() ? "" : "another answer";
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return "no user";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "another answer";
}

FifoReader::FifoReader(const std::filesystem::path& fifo) {
    // Opened for reading without waiting for a writer, so the writer's open never blocks.
    if (::mkfifo(fifo.c_str(), 0644) != 0 ||
        (fd_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0)
        throw std::runtime_error("cannot make the FIFO " + fifo.string());
    reader_ = std::thread([this] {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        char block[65536];
        while (std::chrono::steady_clock::now() < give_up) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const ssize_t n = ::read(fd_, block, sizeof block);
            if (n > 0) bytes_.append(block, static_cast<std::size_t>(n));
            if (n == 0 && !bytes_.empty()) break;  // the writer closed
            if (n == 0) ::usleep(10000);           // no writer yet
            if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        }
        ::close(fd_);
    });
}

std::string FifoReader::bytes() {
    if (reader_.joinable()) reader_.join();
    return bytes_;
}

}  // namespace orvena::test
