// The number-file reader on any text: it hands out finite numbers or stops with an error
// naming a line of the text, and always comes to an end.

#include <algorithm>
#include <cmath>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tuning/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    orvena::NumberTextReader reader(text);
    std::size_t numbers = 0;
    try {
        while (const auto value = reader.next()) {
            FUZZ_CHECK(std::isfinite(*value));
            FUZZ_CHECK(++numbers <= size);
        }
        FUZZ_CHECK(reader.at_end());
    } catch (const orvena::NumberFileError& e) {
        FUZZ_CHECK(e.line() >= 1 && e.line() <= lines);
    }
    FUZZ_CHECK(reader.line() >= 1 && reader.line() <= lines);
    return 0;
}
