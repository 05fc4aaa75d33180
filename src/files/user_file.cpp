#include "files/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/system_reason.h"

namespace orvena {

namespace {

std::string size_text(std::size_t bytes) {
    if (bytes >= (1u << 20)) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= (1u << 10)) return std::to_string(bytes >> 10) + " kB";
    return std::to_string(bytes) + " bayt";
}

std::optional<std::string> kind_problem(const struct stat& info, std::size_t max_bytes) {
    if (S_ISDIR(info.st_mode)) return "bir klasör, dosya değil";
    if (!S_ISREG(info.st_mode)) return "düzenli bir dosya değil (aygıt ya da FIFO)";
    if (static_cast<std::uint64_t>(info.st_size) > max_bytes)
        return "dosya çok büyük (en çok " + size_text(max_bytes) + ")";
    return std::nullopt;
}

std::string open_problem(int err) {
    return err == ENOENT ? "böyle bir dosya yok" : "açılamadı: " + system_reason(err);
}

}  // namespace

std::optional<std::string> user_file_problem(const std::filesystem::path& file,
                                             std::size_t max_bytes) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return open_problem(errno);
    return kind_problem(info, max_bytes);
}

UserFileRead read_user_file(const std::filesystem::path& file, std::size_t max_bytes) {
    // A device is not even opened: opening some has effects of its own.
    if (auto problem = user_file_problem(file, max_bytes)) return {{}, std::move(problem)};
    // Without waiting, should a FIFO have taken the file's place meanwhile.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {{}, open_problem(errno)};
    UserFileRead read;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        read.problem = open_problem(errno);
    } else {
        read.problem = kind_problem(info, max_bytes);
    }
    // The file may grow while it is read: one byte more than allowed tells.
    char block[65536];
    while (!read.problem) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) read.problem = "okunamadı: " + system_reason(errno);
        if (n <= 0) break;
        if (read.bytes.size() + static_cast<std::size_t>(n) > max_bytes) {
            read.problem = "dosya çok büyük (en çok " + size_text(max_bytes) + ")";
            break;
        }
        read.bytes.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (read.problem) read.bytes.clear();
    return read;
}

}  // namespace orvena
