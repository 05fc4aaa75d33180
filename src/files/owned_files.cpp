#include "files/owned_files.h"

#include <system_error>

namespace orvena {

namespace fs = std::filesystem;

namespace {

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

fs::path resolved(const fs::path& p) {
    std::error_code ec;
    fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? p.lexically_normal() : r;
}

}  // namespace

bool owned_name_matches(std::string_view name, std::string_view pattern) {
    if (pattern.empty()) return name.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (owned_name_matches(name.substr(skip), pattern.substr(1))) return true;
        return false;
    }
    return !name.empty() && ascii_lower(name.front()) == ascii_lower(pattern.front()) &&
           owned_name_matches(name.substr(1), pattern.substr(1));
}

const OwnedKind* owned_kind(const fs::path& file, std::span<const fs::path> program_folders) {
    const fs::path target = resolved(file);
    const std::string name = target.filename().string();
    for (const fs::path& folder : program_folders) {
        const fs::path home = resolved(folder);
        for (const OwnedKind& kind : kOwnedKinds) {
            const fs::path place = kind.subfolder.empty() ? home : resolved(home / kind.subfolder);
            if (target.parent_path() == place && owned_name_matches(name, kind.pattern))
                return &kind;
        }
    }
    return nullptr;
}

}  // namespace orvena
