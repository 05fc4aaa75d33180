// A fuzz program without the fuzzer: hands every file of the folders (or the files) named on
// the command line once to the reader, in name order, under the sanitizers of the test build.
// A folder without inputs fails: a seed folder that went missing must not pass as clean.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER|FILE...\n", argv[0]);
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        std::vector<fs::path> files;
        std::error_code ec;
        if (fs::is_regular_file(argv[a], ec)) files.push_back(argv[a]);
        for (fs::directory_iterator it(argv[a], ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec)) files.push_back(it->path());
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            std::fprintf(stderr, "%s: no input to replay in '%s'\n", argv[0], argv[a]);
            return 1;
        }
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            FUZZ_CHECK(in.good() || in.eof());
            // A block of the input's own size, so a read past its end is caught at once.
            const auto input = std::make_unique<std::uint8_t[]>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), input.get());
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
        }
        std::printf("replayed %zu inputs of %s\n", files.size(), argv[a]);
    }
    return 0;
}
