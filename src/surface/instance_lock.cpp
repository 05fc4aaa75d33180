#include "surface/instance_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace orvena {

namespace {

// A folder only this user can enter: a real folder (not a link to one), owned by the user,
// closed to everyone else.
bool private_folder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// Whether the open file is still the one the name stands for: an instance that ends removes
// its file, and a lock taken on a removed file would lock nothing.
bool still_named(int fd, const std::filesystem::path& file) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(file.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

InstanceLock::InstanceLock(std::filesystem::path lock_folder)
    : lock_folder_(std::move(lock_folder)) {}

InstanceLock::~InstanceLock() {
    release();
}

std::filesystem::path InstanceLock::default_lock_folder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && private_folder(runtime)) {
        return runtime;
    }
    const std::filesystem::path own = std::filesystem::path(QDir::tempPath().toStdString()) /
                                      ("orvena-" + std::to_string(::getuid()));
    ::mkdir(own.c_str(), 0700);  // already there is fine, if it is ours and private
    if (private_folder(own)) return own;
    return {};
}

std::filesystem::path InstanceLock::lock_file_for(
    const std::filesystem::path& program_folder) const {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(program_folder, ec);
    if (ec) folder = std::filesystem::absolute(program_folder);
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(folder.generic_string()),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return lock_folder_ / ("orvena-" + hash.toStdString() + ".lock");
}

bool InstanceLock::acquire(const std::filesystem::path& program_folder) {
    if (held()) return true;
    if (lock_folder_.empty()) return true;
    const std::filesystem::path file = lock_file_for(program_folder);
    // A few turns at most: each one lost means another instance removed or replaced the file
    // between our open and our lock.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return true;
        int rc;
        do {
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return !busy;
        }
        if (still_named(fd, file)) {
            fd_ = fd;
            file_ = file;
            return true;
        }
        ::close(fd);
    }
    return true;
}

void InstanceLock::release() {
    if (fd_ < 0) return;
    // Removed while still locked, so no other instance can take the lock on a file that is
    // about to go.
    ::unlink(file_.c_str());
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    file_.clear();
}

}  // namespace orvena
