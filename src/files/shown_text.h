#pragma once
// Bytes from a file or a command line as a message may show them: printable text as it is,
// everything else (control characters, a NUL, bytes that are not UTF-8, marks that turn the
// direction of the text) as \xNN, so nothing reaches a terminal or a message box raw and
// nothing cuts the message short.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvena {

std::string shown(std::string_view bytes);
std::string shown(const std::filesystem::path& path);
inline std::string shown(const std::string& bytes) {
    return shown(std::string_view(bytes));
}
inline std::string shown(const char* bytes) {
    return shown(std::string_view(bytes));
}

// The name or text in double quotes, shown: "12-A4.wav".
std::string in_quotes(std::string_view bytes);
std::string in_quotes(const std::filesystem::path& path);
inline std::string in_quotes(const std::string& bytes) {
    return in_quotes(std::string_view(bytes));
}
inline std::string in_quotes(const char* bytes) {
    return in_quotes(std::string_view(bytes));
}

}  // namespace orvena
