// The values a start leaves: the warning for a program folder with another count of samples.

#include <gtest/gtest.h>

#include "tuning/start_values.h"

namespace orvena {
namespace {

TEST(StartValues, AnotherSampleCountThanTwentySevenIsToldWithTheCount) {
    const std::string told =
        "ses dosyaları sayısı uygun değil, program düzgün çalışmayabilir\r\n"
        "kapatıp  dosya sayınızı kontrol edin    ";
    const std::pair<int, std::optional<std::string>> cases[] = {
        {27, std::nullopt}, {26, told + "26"}, {28, told + "28"}, {0, told + "0"}};
    for (const auto& [listed, expected] : cases) EXPECT_EQ(sample_count_warning(listed), expected);
}

}  // namespace
}  // namespace orvena
