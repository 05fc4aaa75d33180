#include <gtest/gtest.h>

#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {
namespace {

TEST(Rounding, HalvesGoToEvenAndValuesOutsideTheWidthAreErrorsNotWraps) {
    const std::pair<double, int> to16[] = {{2.5, 2},         {3.5, 4},          {-2.5, -2},
                                           {-3.5, -4},       {2.4999, 2},       {2.5001, 3},
                                           {32767.4, 32767}, {-32768.5, -32768}};
    for (auto [x, want] : to16) EXPECT_EQ(to_int16(x), want) << x;
    EXPECT_EQ(to_int32(88200.5), 88200);
    EXPECT_EQ(to_int32(88201.5), 88202);
    for (double x : {32767.5, -32769.0}) EXPECT_THROW(to_int16(x), NumberOverflow) << x;
    EXPECT_THROW(to_int32(3e9), NumberOverflow);
    EXPECT_THROW(checked_add16(32767, 1), NumberOverflow);
    EXPECT_EQ(checked_add16(-5, 5), 0);
}

TEST(NumberPrintForm, PrintZonesOfFourteenColumns) {
    // A recorded note: string 12, lever -3, 850 ms.
    const std::string line = join_print_zones({print_form(12), print_form(-3), print_form(850)});
    EXPECT_EQ(line, " 12           -3             850 ");
    EXPECT_EQ(line.size(), 33u);
    EXPECT_EQ(line.find("-3"), 14u);
    EXPECT_EQ(line.find("850"), 29u);
    // An item that fills its zone pushes the next one a whole zone on.
    EXPECT_EQ(join_print_zones({std::string(14, 'x'), "y"}),
              std::string(14, 'x') + std::string(14, ' ') + "y");
}

TEST(PictureFormat, PanelAndLegendPatterns) {
    EXPECT_EQ(format_picture(-203.5, "########0.0000"), "-203.5000");
    EXPECT_EQ(format_picture(1234.56789, "########0.0000", ','), "1234,5679");
    EXPECT_EQ(format_picture(0.8908987181403393, "0.00000000"), "0.89089872");
    EXPECT_EQ(format_picture(-5, "##0"), "-5");
    EXPECT_EQ(format_picture(7, "00"), "07");
    EXPECT_EQ(format_picture(26, "00"), "26");
    EXPECT_EQ(format_picture(2.5, "##0"), "3");               // halves away from zero in pictures
    EXPECT_EQ(format_picture(-0.00001, "0.0000"), "0.0000");  // no minus on a printed zero
}

TEST(NumberTextReader, TextThatIsNotANumberNamesItsLine) {
    NumberTextReader r("1 2\r\n3 x4\r\n");
    EXPECT_EQ(*r.next(), 1);
    EXPECT_EQ(*r.next(), 2);
    EXPECT_EQ(*r.next(), 3);
    try {
        r.next();
        FAIL() << "expected an error";
    } catch (const NumberFileError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_NE(std::string(e.what()).find("x4"), std::string::npos);
    }
}

}  // namespace
}  // namespace orvena
