// The number-file reader on any text: it hands out finite numbers or stops with an error
// naming a line of the text, and always comes to an end.

#include <algorithm>
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "tuning/number_format.h"

void orvena::fuzz::check(std::string_view input) {
    const int lines = 1 + static_cast<int>(std::count(input.begin(), input.end(), '\n'));
    NumberTextReader reader{std::string(input)};
    std::size_t numbers = 0;
    try {
        while (const auto value = reader.next())
            FUZZ_CHECK(std::isfinite(*value) && ++numbers <= input.size());
        FUZZ_CHECK(reader.at_end());
    } catch (const NumberFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= lines);
    }
    FUZZ_CHECK(reader.line() >= 1 && reader.line() <= lines);
}
