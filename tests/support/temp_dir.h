#pragma once
// A fresh folder under the system temp folder, removed with everything in it at the end of
// the test. Tests that write files (samples, makam files, workbooks) work here, never in
// the source tree or the shipped program folder.

#include <filesystem>
#include <string>

namespace orvena::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Bytes of a file, or an empty string when it cannot be read.
std::string read_file_bytes(const std::filesystem::path& file);
void write_file_bytes(const std::filesystem::path& file, const std::string& bytes);

// The program folder the build assembled (executable, workbook, samples).
std::filesystem::path program_dir();
std::filesystem::path source_dir();

}  // namespace orvena::test
