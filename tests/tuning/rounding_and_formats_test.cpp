#include <gtest/gtest.h>

#include <cmath>

#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {
namespace {

TEST(Rounding, HalvesGoToEvenAndValuesOutsideTheWidthAreErrorsNotWraps) {
    const std::pair<double, int> to16[] = {{2.5, 2},         {3.5, 4},          {-2.5, -2},
                                           {-3.5, -4},       {2.4999, 2},       {2.5001, 3},
                                           {32767.4, 32767}, {-32768.5, -32768}};
    for (auto [x, want] : to16) EXPECT_EQ(to_int16(x), want) << x;
    EXPECT_EQ(std::pair(to_int32(88200.5), to_int32(88201.5)), std::pair(88200, 88202));
    for (double x : {32767.5, -32769.0}) EXPECT_THROW(to_int16(x), NumberOverflow) << x;
    EXPECT_THROW(to_int32(3e9), NumberOverflow);
    EXPECT_THROW(checked_add16(32767, 1), NumberOverflow);
    EXPECT_EQ(checked_add16(-5, 5), 0);
}

// The panel's and the legend's numbers: pictures round halves away from zero, print no minus
// on a zero, and show "?" for what is not a number.
TEST(PictureFormat, PanelAndLegendPatterns) {
    const std::tuple<double, const char*, char, const char*> cases[] = {
        {-203.5, "########0.0000", '.', "-203.5000"},
        {1234.56789, "########0.0000", ',', "1234,5679"},
        {0.8908987181403393, "0.00000000", '.', "0.89089872"},
        {-5, "##0", '.', "-5"},
        {7, "00", '.', "07"},
        {2.5, "##0", '.', "3"},
        {-0.00001, "0.0000", '.', "0.0000"},
        {INFINITY, "########0.0000", '.', "?"},
        {-INFINITY, "##0", '.', "?"},
        {NAN, "0.0000", '.', "?"}};
    for (const auto& [x, picture, point, shown] : cases)
        EXPECT_EQ(format_picture(x, picture, point), shown) << x;
}

}  // namespace
}  // namespace orvena
