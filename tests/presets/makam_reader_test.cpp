// Reading makam files from text, as written by the program and as edited by hand.

#include <gtest/gtest.h>

#include <vector>

#include "presets/makam_format.h"

namespace orvena {
namespace {

InstrumentState with_limits() {
    InstrumentState st;
    set_lever_limits(st);
    return st;
}

std::string lines(const std::vector<std::string>& numbers, const std::string& sep = "\r\n") {
    std::string text;
    for (const std::string& n : numbers) text += n + sep;
    return text;
}

std::vector<std::string> numbers_of(int count, const std::string& n) {
    return std::vector<std::string>(static_cast<std::size_t>(count), n);
}

TEST(MakamReader, ReadsWhatTheProgramAndAHandEditWriteAndStopsAtTheFirstFault) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t read;  // positions read before the end or the fault
        int fault_string;  // 0: no fault
        int fault_line;
    };
    std::vector<std::string> mixed = numbers_of(26, " 2 ");
    mixed[0] = "-5 ";
    mixed[25] = " 12 ";
    std::vector<std::string> too_big = numbers_of(26, "0");
    too_big[9] = "40000";
    std::vector<std::string> outside = numbers_of(26, "1");
    outside[0] = "7";  // string 1 reaches 6
    std::vector<std::string> not_a_number = numbers_of(26, "1");
    not_a_number[2] = "x";
    const std::vector<Case> cases = {
        {"the program's own 26 lines", lines(mixed), 26, 0, 0},
        {"commas on one line", lines(numbers_of(26, "3"), ","), 26, 0, 0},
        {"spaces on one line, text after the 26th", lines(numbers_of(26, "-1"), " ") + "not read",
         26, 0, 0},
        {"fewer numbers", lines(numbers_of(3, "4")), 3, 4, 4},
        {"a number beyond 16 bits", lines(too_big), 9, 10, 10},
        {"a position outside the string's levers", lines(outside), 0, 1, 1},
        {"text that is not a number", lines(not_a_number), 2, 3, 3},
        {"an empty file", "", 0, 1, 1},
    };
    const InstrumentState st = with_limits();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MakamReading r = read_makam_text(c.text, st);
        EXPECT_EQ(r.positions.size(), c.read);
        ASSERT_EQ(r.error.has_value(), c.fault_string != 0);
        if (r.error) {
            EXPECT_EQ(r.error->string, c.fault_string);
            EXPECT_EQ(r.error->line, c.fault_line);
            EXPECT_FALSE(r.error->reason.empty());
        }
    }
    const MakamReading own = read_makam_text(lines(mixed), st);
    EXPECT_EQ(own.positions.front(), -5);
    EXPECT_EQ(own.positions.back(), 12);
}

}  // namespace
}  // namespace orvena
