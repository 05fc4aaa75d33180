#pragma once
// A program folder of a test's own with the built program's files (not the executable), for
// tests that aim writes at them: the build's folder stays whole. The files are hard links
// where possible, so a test that replaces one removes its name first (damage()).

#include "support/temp_dir.h"

namespace orvena::test {

class ScratchProgramFolder : public TempDir {
  public:
    ScratchProgramFolder() {
        for (const auto& entry : std::filesystem::directory_iterator(program_dir())) {
            const std::string name = entry.path().filename();
            if (!entry.is_regular_file() || name == "orvena") continue;
            std::error_code ec;
            std::filesystem::create_hard_link(entry.path(), *this / name, ec);
            if (ec) std::filesystem::copy_file(entry.path(), *this / name);
        }
    }
    // Replaces the folder's file name with bytes of its own.
    void damage(const std::string& name, const std::string& bytes) const {
        std::filesystem::remove(*this / name);
        write_file_bytes(*this / name, bytes);
    }
};

}  // namespace orvena::test
