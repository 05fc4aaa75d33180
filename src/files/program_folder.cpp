#include "files/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace orvena {

namespace fs = std::filesystem;

fs::path shipped_folder(const fs::path& executable_folder) {
    std::error_code ec;
    if (fs::exists(executable_folder / "dizek.xls", ec)) return executable_folder;
    const fs::path installed = executable_folder.parent_path() / "share" / "orvena";
    return fs::is_directory(installed, ec) ? installed : executable_folder;
}

bool folder_writable(const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(folder.c_str(), W_OK) == 0;
}

namespace {

// Copies the regular files of `from` that `to` lacks; false when one cannot be copied.
bool copy_missing_files(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        // The executable stays where it is when the build's own folder is the shipped one.
        if (!entry.is_regular_file(ec) || entry.path().filename() == "orvena") continue;
        const fs::path target = to / entry.path().filename();
        if (fs::exists(target, ec)) continue;
        fs::copy_file(entry.path(), target, ec);
        if (ec) return false;
        // Copies of read-only files must be the user's to change.
        std::error_code ignored;
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ignored);
    }
    return !ec;
}

}  // namespace

fs::path working_folder(const fs::path& shipped, const fs::path& user) {
    if (folder_writable(shipped)) return shipped;
    std::error_code ec;
    fs::create_directories(user, ec);
    if (ec || !copy_missing_files(shipped, user)) return shipped;
    // The shipped tuning systems too, so the user's folder lists them.
    if (fs::is_directory(shipped / kTuningFolder, ec)) {
        fs::create_directories(user / kTuningFolder, ec);
        if (ec || !copy_missing_files(shipped / kTuningFolder, user / kTuningFolder))
            return shipped;
    }
    return user;
}

bool folder_has_exact_name(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    for (const auto& entry : it) {
        if (entry.path().filename().string() != name) continue;
        std::error_code type_ec;
        return entry.is_regular_file(type_ec);
    }
    return false;
}

}  // namespace orvena
