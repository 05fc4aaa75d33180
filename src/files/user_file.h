#pragma once
// Reading a file the user may have edited, swapped or pointed somewhere strange: only a
// regular file is read (a FIFO or a link to /dev/zero would hang the reader or fill the
// memory), and only up to a size the reader names.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace orvena {

inline constexpr std::size_t kMaxTextFileBytes = 16u << 20;  // makam, sequence, recording files

struct UserFileRead {
    std::string bytes;
    std::optional<std::string> problem;  // why nothing was read, a Turkish phrase without the name
};

// Why file cannot be read as a regular file of at most max_bytes, or nothing when it can:
// "böyle bir dosya yok", "bir klasör, dosya değil", "düzenli bir dosya değil (aygıt ya da
// FIFO)", "dosya çok büyük (en çok 16 MB)". Does not wait on a FIFO.
std::optional<std::string> user_file_problem(const std::filesystem::path& file,
                                             std::size_t max_bytes);

// The bytes of file, or why there are none (the same words as user_file_problem).
UserFileRead read_user_file(const std::filesystem::path& file, std::size_t max_bytes);

}  // namespace orvena
