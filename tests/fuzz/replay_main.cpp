// A fuzz program without the fuzzer: hands every file of the folders (or the files) named on
// the command line once to the reader's LLVMFuzzerTestOneInput, in name order. The test
// suite replays the kept inputs this way under the sanitizers of its own build; a broken
// promise or a sanitizer report ends the run, and so does a folder without inputs (a seed
// folder that went missing must not pass as clean).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The regular files a command-line argument names, sorted; an unreadable argument gives none.
std::vector<fs::path> inputs_of(const fs::path& argument) {
    std::error_code ec;
    if (fs::is_regular_file(argument, ec)) return {argument};
    std::vector<fs::path> files;
    for (fs::directory_iterator it(argument, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER|FILE...\n", argv[0]);
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        const std::vector<fs::path> files = inputs_of(argv[a]);
        if (files.empty()) {
            std::fprintf(stderr, "%s: no input to replay in '%s'\n", argv[0], argv[a]);
            return 1;
        }
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "%s: cannot read '%s'\n", argv[0], file.c_str());
                return 1;
            }
            // A block of the input's own size (never null, as libFuzzer's), so a read past the
            // end is caught at the input's last byte.
            const std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[bytes.size()]);
            std::copy(bytes.begin(), bytes.end(), input.get());
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
        }
        std::printf("replayed %zu inputs of %s\n", files.size(), argv[a]);
    }
    return 0;
}
