#pragma once
// A fresh folder under the system temp folder, removed with everything in it at the end of
// the test: tests that write files work here, never in the source tree or the program folder.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace orvena::test {

class TempDir {
  public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "orvena-test-XXXXXX");
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create " + name);
        path_ = name;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Bytes of a file, or an empty string when it cannot be read.
inline std::string read_file_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
inline void write_file_bytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

// The program folder the build assembled (executable, workbook, samples), and the sources.
inline std::filesystem::path program_dir() {
    return ORVENA_PROGRAM_DIR;
}
inline std::filesystem::path source_dir() {
    return ORVENA_SOURCE_DIR;
}

}  // namespace orvena::test
