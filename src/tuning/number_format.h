#pragma once
// How numbers look wherever the program shows or stores them: the print form of whole
// numbers (" 3 ", "-3 "), print zones of 14 characters in text files, CR LF line ends,
// the numeric picture formats of the information panel and legend, and the reader of
// number files.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvena {

// A leading space for zero or positive numbers (the minus sign otherwise), the digits,
// and one trailing space: 3 -> " 3 ", -3 -> "-3 ", 0 -> " 0 ".
std::string print_form(long n);

inline constexpr std::size_t kPrintZoneWidth = 14;
inline constexpr std::string_view kLineEnd = "\r\n";

// Items separated by commas in a Print line: each item after the first starts at the next
// print zone (columns 1, 15, 29, ... counting from 1). No line end is added.
std::string join_print_zones(const std::vector<std::string>& items);

// Numeric picture formats: '0' a required digit, '#' an optional digit, '.' the decimal
// point (printed as decimal_separator). Halves round away from zero. Supports the patterns
// the program uses: "00", "000", "##0", "########0.0000", "######0.0000", "0.00000000".
// A value that is not a finite number has no digits to show and prints as "?".
std::string format_picture(double value, std::string_view pattern, char decimal_separator = '.');

// The decimal separator the panel prints for a locale's decimal point (UTF-8 text): the point
// itself when it is one ASCII character, else '.' (a picture format prints one byte).
char decimal_separator_of(std::string_view locale_point);

class NumberFileError : public std::runtime_error {
  public:
    NumberFileError(const std::string& what, int line) : std::runtime_error(what), line_(line) {}
    int line() const { return line_; }  // 1-based line of the offending text

  private:
    int line_;
};

// Reads successive numbers from a number file: spaces, tabs and line ends before a number
// are skipped; numbers are separated by spaces, commas or line ends. Text that is not a
// number throws NumberFileError naming its line.
class NumberTextReader {
  public:
    // A UTF-8 byte order mark at the start, which some editors write, is skipped.
    explicit NumberTextReader(std::string text);

    // The next number, or nothing at the end of the text.
    std::optional<double> next();
    bool at_end();
    int line() const { return line_; }

  private:
    void skip_blanks();
    std::string text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace orvena
