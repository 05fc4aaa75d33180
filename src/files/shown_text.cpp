#include "files/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace orvena {
namespace {

void escape(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        char text[5];
        std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned char>(c));
        out += text;
    }
}

// Length of the well-formed UTF-8 sequence at the start of s and its code point; 0 when the
// first byte starts none.
std::size_t utf8_sequence(std::string_view s, char32_t& code) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t length = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        code = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, code = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, code = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, code = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

bool printable(char32_t code) {
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    // Marks that reorder the text around them would make a name read as another one.
    const bool direction = (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
    return !control && !direction;
}

}  // namespace

std::string shown(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        std::size_t length = utf8_sequence(bytes, code);
        if (length == 0) length = 1, code = 0;  // a stray byte: escaped below
        const std::string_view piece = bytes.substr(0, length);
        if (code != 0 && printable(code)) {
            out += piece;
        } else {
            escape(out, piece);
        }
        bytes.remove_prefix(length);
    }
    return out;
}

std::string shown(const std::filesystem::path& path) {
    return shown(std::string_view(path.native()));
}

std::string in_quotes(std::string_view bytes) {
    return "\"" + shown(bytes) + "\"";
}

std::string in_quotes(const std::filesystem::path& path) {
    return "\"" + shown(path) + "\"";
}

}  // namespace orvena
