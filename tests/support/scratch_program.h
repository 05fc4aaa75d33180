#pragma once
// A program folder of a test's own with the built program's files (workbook, samples, makam
// and sequence files; not the executable), for tests
// that aim writes at the program's files: whatever goes wrong, the build's folder stays whole.
// The files are second names (hard links) of the built ones where the file system allows,
// so a test that replaces one must remove its name first (damage()).

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace orvena::test {

class ScratchProgramFolder {
  public:
    ScratchProgramFolder();
    const std::filesystem::path& path() const { return dir_.path(); }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }
    // Replaces the folder's file name with bytes of its own.
    void damage(const std::string& name, const std::string& bytes) const;

  private:
    TempDir dir_;
};

}  // namespace orvena::test
