#pragma once
// Which folder the program works in. A build runs in its own folder beside the executable; an
// installed program finds the shipped folder under share/orvena, which the user cannot write,
// so the first start copies it to the user's data folder and every start works there: the
// sample headers it rewrites, the makam files and recordings are then the user's.

#include <filesystem>
#include <string>

namespace orvena {

// The folder of the program folder that holds the shipped tuning systems.
inline constexpr const char* kTuningFolder = "akort";

// The folder holding the shipped workbook: the executable's own folder when the workbook is
// there, else <prefix>/share/orvena beside <prefix>/bin.
std::filesystem::path shipped_folder(const std::filesystem::path& executable_folder);

// A folder is read-only to us when we may not write it or none of its write bits is set (so a
// read-only folder stays read-only for root too).
bool folder_writable(const std::filesystem::path& folder);

// `shipped` when it is writable; otherwise `user`, filled with a copy of the shipped files and
// tuning systems on the first start (files already in `user` are kept). Falls back to
// `shipped` when the copy cannot be made.
std::filesystem::path working_folder(const std::filesystem::path& shipped,
                                     const std::filesystem::path& user);

// True when the folder holds a regular file named exactly name. The comparison is by the
// name the folder returns, so a file stored under another case does not count even where
// the file system would open it.
bool folder_has_exact_name(const std::filesystem::path& folder, const std::string& name);

}  // namespace orvena
