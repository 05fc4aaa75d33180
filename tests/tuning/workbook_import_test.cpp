#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/temp_dir.h"
#include "support/text.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using test::padded;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::filesystem::path kFixtures = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

class ConversionsWorkbook : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_before_ = test::read_file_bytes(kFixtures / "conversions.xls");
        const auto failure = import_tuning(st_, kFixtures / "conversions.xls");
        ASSERT_FALSE(failure.has_value()) << import_failure_message(*failure);
    }
    InstrumentState st_;
    std::string bytes_before_;
};

// Grid cells: numbers, text that reads as a number, empty cells as 0; steps rounded to even.
TEST_F(ConversionsWorkbook, GridCellsConvertToDoubleAndRoundStepsToEven) {
    // 0.1, text "1.5e2", text " -12.25 ", empty
    EXPECT_EQ(std::tuple(st_.cents(1, -8), st_.cents(1, -7), st_.cents(1, -6), st_.cents(1, 0)),
              std::tuple(0.1, 150.0, -12.25, 0.0));
    // 2.5, 3.5, -2.5, text "7.5", -3.5, empty; strings 8..26 step as their position
    std::vector<int> steps;
    for (int p : {-8, -7, -6, -5, -4, 0}) steps.push_back(st_.mandal_step(1, p));
    EXPECT_EQ(steps, (std::vector<int>{2, 4, -2, 8, -4, 0}));
    EXPECT_EQ(st_.mandal_step(20, -8), -8);
    EXPECT_EQ(st_.cents(1, -3), 100.5);  // G11: 100.5 shown as the date 1900-04-09 12:00
}

TEST_F(ConversionsWorkbook, DegreeListFillsPlacesInItsOrder) {
    const auto places = [&](int d) {
        const degree_record& r = st_.degrees[d];
        return std::vector<int>{r.string_2, r.pos_2, r.string_1, r.pos_1, r.string_3, r.pos_3};
    };
    // G with more digits than single precision: the nearest float, widened. A empty, C
    // filled: only the first place.
    EXPECT_EQ(st_.degrees[5].degree_cents, 701.955001f);
    EXPECT_EQ(st_.cents(8, 3), static_cast<double>(701.955001f));
    EXPECT_NE(st_.cents(8, 3), 701.955001);
    EXPECT_EQ(places(5), (std::vector<int>{0, 0, 8, 3, 0, 0}));
    EXPECT_EQ(st_.degree_at(8, 3), 5);
    // Two rows name (9, 1): the later row's cents, the higher degree.
    EXPECT_EQ(std::pair(st_.cents(9, 1), int{st_.degree_at(9, 1)}), std::pair(300.0, 10));
    // Top strings named in the list keep the grid cents but get the degree.
    EXPECT_EQ(
        std::tuple(st_.cents(2, 4), st_.cents(3, -2), st_.degree_at(2, 4), st_.degree_at(3, -2)),
        std::tuple(444.25, 77.5, std::int16_t{20}, std::int16_t{20}));
    // All three places, one beyond the levers.
    EXPECT_EQ(places(30), (std::vector<int>{10, -8, 11, 0, 12, 13}));
    EXPECT_EQ(st_.cents(12, 13), 30.0);
    EXPECT_EQ(std::pair(st_.degree_at(10, -8), st_.degree_at(12, 13)),
              std::pair(std::int16_t{30}, std::int16_t{30}));
    // Numbers written as text: "12.75", "13", "2.5".
    EXPECT_EQ(st_.degrees[40].degree_cents, 12.75f);
    EXPECT_EQ(std::pair(int{st_.degrees[40].string_1}, int{st_.degrees[40].pos_1}),
              std::pair(13, 2));
    EXPECT_EQ(st_.cents(13, 2), 12.75);
    // The row without a degree number is degree 0; being the last row, it stays.
    EXPECT_EQ(st_.degrees[0].degree_cents, 12.5f);
    EXPECT_EQ(st_.cents(14, 0), 12.5);
    // Places nobody names.
    EXPECT_EQ(std::tuple(st_.cents(20, 5), int{st_.degree_at(20, 5)}, st_.freq(20, 5)),
              std::tuple(0.0, 0, 262.0));
}

TEST_F(ConversionsWorkbook, NamesAreThirtyCharactersAndTextCellsConvert) {
    EXPECT_EQ(st_.degrees[5].degree_name, "Bu ad otuz karakterden çok dah");  // cut at 30
    EXPECT_EQ(st_.degrees[6].degree_name, padded("Çığ şölen", 9));            // Turkish letters
    EXPECT_EQ(st_.degrees[6].degree_name.size(), 30u + 5u);    // five two-byte letters
    EXPECT_EQ(st_.degrees[40].degree_name, padded("1.5", 3));  // number as text
    EXPECT_EQ(st_.degrees[0].degree_name, padded("sıfır", 5));
    EXPECT_EQ(st_.degrees[100].degree_name, std::string(30, '\0'));  // never filled
    EXPECT_EQ(st_.option4_captions, (std::array<std::string, 2>{"aşağı", ""}));
    // Empty, 5, text "7", -12.5 (a tie to even), 0.75 shown as a time of day.
    std::vector<int> sample_cents;
    for (int s = 1; s <= 5; ++s) sample_cents.push_back(st_.sample_cents[s]);
    EXPECT_EQ(sample_cents, (std::vector<int>{0, 5, 7, -12, 1}));
    EXPECT_EQ(st_.sample_rate(2, 0), std::lround(44100 * std::pow(2.0, 5 / 1200.0)));
    EXPECT_EQ(test::read_file_bytes(kFixtures / "conversions.xls"), bytes_before_);
}

struct BadCase {
    const char* file;
    const char* cell;  // "" when the file itself fails
    const char* says;  // part of the second line of the message
};

TEST(BadWorkbook, ReportsTheCellAndLeavesStateAndFileUntouched) {
    const std::vector<BadCase> cases{
        {"bad_text_in_number.xls", "G40", "\"yüz\" bir sayı değil"},
        {"bad_integer_range.xls", "D35", "32767.5 tamsayı sınırlarının (-32768..32767) dışında"},
        {"bad_degree.xls", "E32", "derece numarası 201"},
        {"bad_string.xls", "A33", "tel numarası 27"},
        {"bad_position.xls", "D32", "mandal konumu 14"},
        {"bad_position_top.xls", "J36", "mandal konumu -13"},
        {"bad_single.xls", "G45", "1E+39"},
        {"bad_number_suffix.xls", "G40", "\"12abc\" bir sayı değil"},
        {"bad_decimal_comma.xls", "X3", "\"1,5\" bir sayı değil"},
        {"bad_rate.xls", "X7", "tel 7 için örnekleme hızı 32 bit"},
        {"bad_rate_grid.xls", "B11", "tel 1, mandal konumu -8 için örnekleme hızı 32 bit"},
        {"bad_rate_home.xls", "J11", "tel 1, mandal konumu -8 için örnekleme hızı 32 bit"},
        {"bad_rate_degree.xls", "G31", "tel 9, mandal konumu 2 için örnekleme hızı 32 bit"},
        {"not_a_workbook.xls", "", "not_a_workbook.xls bir Excel 97-2003 çalışma kitabı"},
        {"truncated.xls", "", "truncated.xls bozuk veya eksik"},
        {"no_such_workbook.xls", "", "no_such_workbook.xls bulunamadı"},
        {"TEMP/klasör.xls", "", "klasör.xls: bir klasör, dosya değil"},
        {"TEMP/boru.xls", "", "boru.xls: düzenli bir dosya değil (aygıt ya da FIFO)"},
    };
    test::TempDir temp;
    std::filesystem::create_directory(temp / "klasör.xls");
    ASSERT_EQ(::mkfifo((temp / "boru.xls").c_str(), 0644), 0);
    // The compound-file library's own complaints about a damaged file stay off the terminal.
    testing::internal::CaptureStderr();
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string name = c.file;
        const bool special = name.starts_with("TEMP/");  // a folder or a FIFO, not read here
        const auto file = special ? temp / name.substr(5) : kFixtures / c.file;
        const std::string before = special ? "" : test::read_file_bytes(file);
        InstrumentState st;
        st.cents(9, 1) = 123.0;
        st.cents(8, 0) = 5.0;
        st.degrees[1].degree_cents = 7.0f;
        st.sample_cents[7] = 3;
        st.option4_captions[0] = "eski";

        const auto failure = import_tuning(st, file);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cell, c.cell);
        const std::string message = import_failure_message(*failure);
        EXPECT_THAT(message, StartsWith("Excel yüklü değil veya dizek dosyası yok\r\n"));
        if (*c.cell != '\0') {
            EXPECT_THAT(message, HasSubstr(std::string("Hücre ") + c.cell + ": "));
        }
        EXPECT_THAT(message, HasSubstr(c.says));
        // The command line's line: the workbook, the cell only when there is one.
        const std::string line = import_failure_line(file, *failure);
        EXPECT_THAT(line, StartsWith("\"" + file.string() + "\": "));
        EXPECT_THAT(line, Not(HasSubstr(": :")));
        EXPECT_THAT(line, HasSubstr(c.says));

        EXPECT_EQ(st.cents(9, 1), 123.0);
        EXPECT_EQ(st.cents(8, 0), 5.0);
        EXPECT_EQ(st.degrees[1].degree_cents, 7.0f);
        EXPECT_EQ(st.sample_cents[7], 3);
        EXPECT_EQ(st.option4_captions[0], "eski");
        EXPECT_EQ(st.freq(8, 0), 0.0);
        if (!special) {
            EXPECT_EQ(test::read_file_bytes(file), before);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(kFixtures / "no_such_workbook.xls"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace orvena
