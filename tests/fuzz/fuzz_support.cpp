// How inputs reach check(): libFuzzer calls LLVMFuzzerTestOneInput; test builds have a main()
// that hands each file of the folders it is given once to check(), under their sanitizers.
// A folder without inputs fails: a seed folder that went missing must not pass as clean.

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace orvena::fuzz {

const std::filesystem::path& memory_file(std::string_view bytes) {
    static const std::filesystem::path path =
        "/proc/self/fd/" + std::to_string(memfd_create("orvena-fuzz", 0));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    FUZZ_CHECK(out.write(bytes.data(), std::ssize(bytes)).flush().good());
    return path;
}

std::string bytes_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void broken_promise(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

}  // namespace orvena::fuzz

#ifndef ORVENA_FUZZ_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvena::fuzz::check({reinterpret_cast<const char*>(data), size});
    return 0;
}
#else
int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    for (int a = 1; a < argc; ++a) {
        std::vector<fs::path> files;
        std::error_code ec;
        for (fs::directory_iterator it(argv[a], ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec)) files.push_back(it->path());
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            std::fprintf(stderr, "%s: no input to replay in '%s'\n", argv[0], argv[a]);
            return 1;
        }
        for (const fs::path& file : files) {
            const std::string bytes = orvena::fuzz::bytes_of(file);
            // A block of the input's own size, so a read past its end is caught at once.
            const std::vector<char> input(bytes.begin(), bytes.end());
            orvena::fuzz::check({input.data(), input.size()});
        }
        std::printf("replayed %zu inputs of %s\n", files.size(), argv[a]);
    }
    return argc < 2 ? 2 : 0;
}
#endif
