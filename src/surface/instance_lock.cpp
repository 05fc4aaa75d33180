#include "surface/instance_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace orvena {

InstanceLock::InstanceLock(std::filesystem::path lock_folder)
    : lock_folder_(std::move(lock_folder)) {}

InstanceLock::~InstanceLock() {
    release();
}

std::filesystem::path InstanceLock::default_lock_folder() {
    return std::filesystem::path(QDir::tempPath().toStdString());
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
    // The user id keeps two users of one machine from sharing (and fighting over) a file.
    return lock_folder_ /
           ("orvena-" + std::to_string(::getuid()) + "-" + hash.toStdString() + ".lock");
}

bool InstanceLock::acquire(const std::filesystem::path& program_folder) {
    if (held()) return true;
    const std::filesystem::path file = lock_file_for(program_folder);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
    fd_ = fd;
    return true;
}

void InstanceLock::release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace orvena
