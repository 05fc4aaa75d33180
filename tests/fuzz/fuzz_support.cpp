#include "fuzz/fuzz_support.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace orvena::fuzz {

MemFile::MemFile() : fd_(memfd_create("orvena-fuzz", 0)) {
    if (fd_ < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemFile::~MemFile() {
    close(fd_);
}

void MemFile::assign(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
}

std::string MemFile::bytes() const {
    struct stat st {};
    if (fstat(fd_, &st) != 0) std::abort();
    std::string out(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    return out;
}

std::size_t pick_index_from_end(const std::uint8_t* data, std::size_t& size, std::size_t count) {
    const std::size_t range = count - 1;
    std::size_t result = 0;
    for (std::size_t bits = 0; bits < 8 * sizeof range && (range >> bits) > 0 && size > 0;
         bits += 8) {
        result = (result << 8) | data[--size];
    }
    return range == static_cast<std::size_t>(-1) ? result : result % (range + 1);
}

void broken_promise(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

}  // namespace orvena::fuzz
