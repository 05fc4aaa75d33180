#pragma once
// The files a program folder holds for the program itself. An export may write none of them,
// nor a new file that one of the program's lists would pick up there (a new "*.wav" in the
// program folder would become a string's sample, a new "*.mkm" a makam in the list).

#include <filesystem>
#include <span>
#include <string_view>

namespace orvena {

struct OwnedKind {
    std::string_view subfolder;  // within the program folder; "" for the folder itself
    std::string_view
        pattern;            // a file name; '*' stands for any run, ASCII letters match either case
    std::string_view what;  // what such a file is to the program, in Turkish
};

// Every kind of file the program owns. A new kind is one more row here.
inline constexpr OwnedKind kOwnedKinds[] = {
    {"", "*.wav", "tel sesi"},           {"", "dizek.xls", "akort çizelgesi"},
    {"", "*.mkm", "makam dosyası"},      {"", "*.ses", "ses dosyası"},
    {"", "kayıt.txt", "kayıt dosyası"},  {"", "orvena.ini", "ayar dosyası"},
    {"", "orvena", "ORVENA programı"},   {"akort", "*.scl", "akort sistemi"},
    {"akort", "*.kbm", "akort sistemi"},
};

// True when name matches pattern as kOwnedKinds compares them.
bool owned_name_matches(std::string_view name, std::string_view pattern);

// The kind of owned file that `file` is, or would be once written, in one of program_folders;
// nullptr when it is none. Links are followed and folders compared as the system resolves them,
// so another spelling of a program folder is the same folder.
const OwnedKind* owned_kind(const std::filesystem::path& file,
                            std::span<const std::filesystem::path> program_folders);

}  // namespace orvena
