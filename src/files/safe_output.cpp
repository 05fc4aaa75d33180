#include "files/safe_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "files/owned_files.h"
#include "files/shown_text.h"
#include "files/system_reason.h"

namespace orvena {

namespace fs = std::filesystem;

namespace {

struct Classified {
    fs::path destination;
    OutputWay way = OutputWay::new_file;
    std::optional<std::string> refusal;
};

// The target with the links on its way followed (a link that leads nowhere is replaced).
fs::path followed(const fs::path& target) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(target, ec);
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical;
}

bool reads_it(const fs::path& destination, const OutputRules& rules) {
    for (const fs::path& input : rules.inputs) {
        std::error_code ec;
        if (fs::equivalent(destination, input, ec) || followed(input) == destination) return true;
    }
    return false;
}

Classified classify(const fs::path& target, const OutputRules& rules) {
    Classified c{followed(target)};
    const std::string name = in_quotes(target);
    if (const OwnedKind* kind = owned_kind(c.destination, rules.program_folders)) {
        c.refusal = name + " adı ORVENA'nın kendi dosyalarına ayrılmıştır (" +
                    std::string(kind->what) +
                    "); bu ada yazılamaz. Başka bir ad ya da klasör seçin.";
        return c;
    }
    if (reads_it(c.destination, rules)) {
        c.refusal = name + " okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin.";
        return c;
    }
    struct stat info {};
    if (::stat(c.destination.c_str(), &info) != 0) {
        const int err = errno;
        if (err != ENOENT) {
            c.refusal = name + " yazılamadı: " + system_reason(err) + ".";
        } else if (struct stat parent{};
                   ::stat(c.destination.parent_path().c_str(), &parent) != 0 ||
                   !S_ISDIR(parent.st_mode)) {
            c.refusal = name + " yazılamadı: klasörü yok.";
        }
        return c;
    }
    if (S_ISREG(info.st_mode)) {
        c.way = OutputWay::replace;
        // A file the user may not change stays as it is, although its folder would let a
        // new file take its name.
        if (::access(c.destination.c_str(), W_OK) != 0)
            c.refusal = name + " yazılamadı: " + system_reason(errno) + ".";
    } else if (S_ISDIR(info.st_mode)) {
        c.refusal = name + " bir klasör, dosya değil; yazılamaz.";
    } else if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        c.refusal = name + " yazılabilecek bir dosya değil (blok aygıtı ya da soket).";
    } else if (!rules.in_place_allowed) {
        c.refusal = name + " düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz.";
    } else {
        c.way = OutputWay::in_place;
    }
    return c;
}

// A temporary name beside file: hidden, so no file list of the program shows it, and short
// enough for the file system even when the file's own name is at its longest.
fs::path temporary_beside(const fs::path& file) {
    thread_local std::mt19937 random{std::random_device{}()};
    const std::string name = file.filename().string();
    const std::string stem = name.size() <= 200 ? "." + name : std::string();
    return file.parent_path() / (stem + ".orvena-" + std::to_string(random() % 1000000));
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> output_refusal(const fs::path& target, const OutputRules& rules) {
    return classify(target, rules).refusal;
}

OutputFile::OutputFile(fs::path target, OutputRules rules)
    : target_(std::move(target)), rules_(std::move(rules)) {}

OutputFile::~OutputFile() {
    cancel();
}

std::string OutputFile::failure(int err) const {
    return in_quotes(target_) + " yazılamadı: " + system_reason(err) + ".";
}

std::optional<std::string> OutputFile::open() {
    cancel();
    Classified c = classify(target_, rules_);
    if (c.refusal) return c.refusal;
    destination_ = c.destination;
    way_ = c.way;
    if (way_ == OutputWay::in_place) {
        // A scratch file nobody can see; it is gone as soon as it is closed.
        std::error_code ec;
        const fs::path scratch = fs::temp_directory_path(ec);
        fd_ = ::open(scratch.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
            std::string name = (scratch / "orvena-XXXXXX").string();
            fd_ = ::mkostemp(name.data(), O_CLOEXEC);
            if (fd_ >= 0) ::unlink(name.c_str());
        }
        return fd_ < 0 ? std::optional<std::string>(failure(errno)) : std::nullopt;
    }
    struct stat old {};
    const bool replacing = way_ == OutputWay::replace && ::stat(destination_.c_str(), &old) == 0;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = temporary_beside(destination_);
        fd_ = ::open(temporary_.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int err = errno;
        temporary_.clear();
        return failure(err);
    }
    if (replacing) ::fchmod(fd_, old.st_mode & 07777);  // the file keeps its permissions
    return std::nullopt;
}

std::optional<std::string> OutputFile::write(std::string_view bytes) {
    if (fd_ < 0) return failure(EBADF);
    if (!write_all(fd_, bytes)) return failure(errno);
    return std::nullopt;
}

std::optional<std::uint64_t> OutputFile::free_bytes() const {
    struct statvfs info {};
    if (fd_ < 0 || ::fstatvfs(fd_, &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::optional<std::string> OutputFile::finish_writing() {
    if (fd_ < 0) return failure(EBADF);
    if (way_ == OutputWay::in_place) return std::nullopt;  // the scratch stays open for the copy
    const bool synced = ::fsync(fd_) == 0;
    const int err = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) return failure(synced ? errno : err);
    written_ = true;
    return std::nullopt;
}

std::optional<std::string> OutputFile::copy_into_device() {
    // Opened only now, so a FIFO meets its reader once the bytes are ready; a file swapped in
    // for the device meanwhile is not written.
    const int device = ::open(destination_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (device < 0) return failure(errno);
    struct stat info {};
    if (::fstat(device, &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))) {
        ::close(device);
        return in_quotes(target_) + " yazılırken değişti; yazılmadı.";
    }
    std::string block(1 << 16, '\0');
    off_t offset = 0;
    int err = 0;
    for (;;) {
        const ssize_t n = ::pread(fd_, block.data(), block.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        if (!write_all(device, std::string_view(block.data(), static_cast<std::size_t>(n)))) {
            err = errno;
            break;
        }
        offset += n;
    }
    if (::close(device) != 0 && err == 0) err = errno;
    return err == 0 ? std::nullopt : std::optional<std::string>(failure(err));
}

std::optional<std::string> OutputFile::put_in_place() {
    if (way_ == OutputWay::in_place) {
        auto problem = copy_into_device();
        cancel();
        return problem;
    }
    if (!written_) return failure(EBADF);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        const int err = errno;
        cancel();
        return failure(err);
    }
    temporary_.clear();
    written_ = false;
    // The new name is on the disk too, not only the file's bytes.
    if (const int folder = ::open(destination_.parent_path().c_str(), O_RDONLY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return std::nullopt;
}

std::optional<std::string> OutputFile::commit() {
    if (auto problem = finish_writing()) {
        cancel();
        return problem;
    }
    return put_in_place();
}

void OutputFile::cancel() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    written_ = false;
}

std::optional<std::string> save_file(const fs::path& target, std::string_view bytes,
                                     const OutputRules& rules) {
    OutputFile file(target, rules);
    if (auto problem = file.open()) return problem;
    if (auto problem = file.write(bytes)) return problem;
    return file.commit();
}

}  // namespace orvena
