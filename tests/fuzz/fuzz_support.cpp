#include "fuzz/fuzz_support.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace orvena::fuzz {

namespace {

const std::filesystem::path& memory_path() {
    static const int fd = memfd_create("orvena-fuzz", 0);
    static const std::filesystem::path path = "/proc/self/fd/" + std::to_string(fd);
    FUZZ_CHECK(fd >= 0);
    return path;
}

}  // namespace

const std::filesystem::path& memory_file(std::string_view bytes) {
    std::ofstream out(memory_path(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.flush().good());
    return memory_path();
}

std::string memory_file_bytes() {
    std::ifstream in(memory_path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void broken_promise(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

}  // namespace orvena::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvena::fuzz::check({reinterpret_cast<const char*>(data), size});
    return 0;
}
