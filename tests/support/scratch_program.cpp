#include "support/scratch_program.h"

namespace orvena::test {

namespace fs = std::filesystem;

ScratchProgramFolder::ScratchProgramFolder() {
    for (const auto& entry : fs::directory_iterator(program_dir())) {
        const fs::path name = entry.path().filename();
        if (!entry.is_regular_file() || name == "orvena") continue;
        std::error_code ec;
        fs::create_hard_link(entry.path(), dir_ / name.string(), ec);
        if (ec) fs::copy_file(entry.path(), dir_ / name.string());
    }
}

void ScratchProgramFolder::damage(const std::string& name, const std::string& bytes) const {
    fs::remove(dir_ / name);
    write_file_bytes(dir_ / name, bytes);
}

}  // namespace orvena::test
