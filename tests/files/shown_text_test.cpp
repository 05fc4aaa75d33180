#include "files/shown_text.h"
#include <gtest/gtest.h>

namespace orvena {
namespace {

// Bytes from files and command lines as messages show them.
TEST(ShownText, PrintableTextStaysAndEveryOtherByteIsEscaped) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"12-A4.wav", "12-A4.wav"},
        {"Çârgâh Uşşak", "Çârgâh Uşşak"},
        {"a\0b"s, "a\\x00b"},                               // a NUL does not cut the text
        {"\x1b[2J", "\\x1B[2J"},                            // a terminal command
        {"a\x7f", "a\\x7F"},                                // DEL
        {"\xc2\x85", "\\xC2\\x85"},                         // a control character of the upper half
        {"ab\xff\xfe", "ab\\xFF\\xFE"},                     // not UTF-8
        {"\xc3", "\\xC3"},                                  // a sequence cut short
        {"\xc0\xaf", "\\xC0\\xAF"},                         // an overlong '/'
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},                // a surrogate
        {"exe.\xe2\x80\xaewav", "exe.\\xE2\\x80\\xAEwav"},  // turns the text around
        {"\xe2\x81\xa9\xc2\x9f", "\\xE2\\x81\\xA9\\xC2\\x9F"},  // the last mark and control
        {"\xe0\x83\x87\xf4\x90\x80\x80",
         "\\xE0\\x83\\x87\\xF4\\x90\\x80\\x80"},                  // overlong, too high
        {"\xe2\x81\xa5\xc2\xa0\xf4\x8f\xbf\xbf\xf0\x9f\x8e\xb5",  // just past those; four bytes
         "\xe2\x81\xa5\xc2\xa0\xf4\x8f\xbf\xbf\xf0\x9f\x8e\xb5"}};
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(shown(bytes), expected);
    EXPECT_EQ(in_quotes(std::filesystem::path("a\nb")), "\"a\\x0Ab\"");
}

}  // namespace
}  // namespace orvena
