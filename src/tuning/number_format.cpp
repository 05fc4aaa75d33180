#include "tuning/number_format.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/shown_text.h"

namespace orvena {

std::string print_form(long n) {
    std::string out(1, n < 0 ? '-' : ' ');
    out += std::to_string(n < 0 ? -static_cast<long long>(n) : static_cast<long long>(n));
    out += ' ';
    return out;
}

std::string join_print_zones(const std::vector<std::string>& items) {
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            const std::size_t next_zone = (line.size() / kPrintZoneWidth + 1) * kPrintZoneWidth;
            line.append(next_zone - line.size(), ' ');
        }
        line += items[i];
    }
    return line;
}

char decimal_separator_of(std::string_view locale_point) {
    if (locale_point.size() == 1 && static_cast<unsigned char>(locale_point[0]) < 128)
        return locale_point[0];
    return '.';
}

std::string format_picture(double value, std::string_view pattern, char decimal_separator) {
    if (!std::isfinite(value)) return "?";
    const std::size_t point = pattern.find('.');
    const std::string_view int_part = pattern.substr(0, point);
    const std::size_t decimals = point == std::string_view::npos ? 0 : pattern.size() - point - 1;
    std::size_t required_int_digits = 0;
    for (char c : int_part) required_int_digits += (c == '0');

    const double scale = std::pow(10.0, static_cast<double>(decimals));
    const double scaled = std::round(std::fabs(value) * scale);  // halves away from zero
    const bool negative = value < 0 && scaled != 0.0;

    // Whole digits of the scaled magnitude; split into integer and fraction parts.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", scaled);
    std::string digits = buffer;
    if (digits.size() < decimals + 1) digits.insert(0, decimals + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - decimals);
    const std::string fraction = digits.substr(digits.size() - decimals);

    // Strip leading zeros down to the required digit count.
    while (whole.size() > 1 && whole.front() == '0') whole.erase(0, 1);
    if (whole == "0" && required_int_digits == 0) whole.clear();
    if (whole.size() < required_int_digits) {
        whole.insert(0, required_int_digits - whole.size(), '0');
    }

    std::string out = negative ? "-" : "";
    out += whole;
    if (decimals > 0) {
        out += decimal_separator;
        out += fraction;
    }
    return out;
}

void NumberTextReader::skip_blanks() {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '\n') {
            ++line_;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            return;
        }
        ++pos_;
    }
}

bool NumberTextReader::at_end() {
    skip_blanks();
    return pos_ >= text_.size();
}

NumberTextReader::NumberTextReader(std::string text) : text_(std::move(text)) {
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
}

std::optional<double> NumberTextReader::next() {
    skip_blanks();
    if (pos_ >= text_.size()) return std::nullopt;
    std::size_t end = pos_;
    while (end < text_.size()) {
        const char c = text_[end];
        if (c == ' ' || c == ',' || c == '\r' || c == '\n' || c == '\t') break;
        ++end;
    }
    const std::string field = text_.substr(pos_, end - pos_);
    if (field.empty()) throw NumberFileError("sayı beklenen yerde boş alan", line_);
    char* parse_end = nullptr;
    errno = 0;
    const double value = std::strtod(field.c_str(), &parse_end);
    if (parse_end != field.c_str() + field.size() || errno == ERANGE || !std::isfinite(value)) {
        throw NumberFileError(in_quotes(field) + " bir sayı değil", line_);
    }
    pos_ = end;
    // One comma may follow the number, with blanks around it.
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
    return value;
}

}  // namespace orvena
