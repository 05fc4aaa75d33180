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
#include "tuning/number_format.h"
#include "tuning/rounding.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using test::padded;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::filesystem::path kFixtures = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

// One of each kind of cell the grid, the degree list and the sample corrections can meet.
class ConversionsWorkbook : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_before_ = test::read_file_bytes(kFixtures / "conversions.xls");
        const auto failure = import_tuning(st_, kFixtures / "conversions.xls");
        ASSERT_FALSE(failure.has_value()) << import_failure_message(*failure);
    }
    void TearDown() override {
        EXPECT_EQ(test::read_file_bytes(kFixtures / "conversions.xls"), bytes_before_);
    }
    InstrumentState st_;
    std::string bytes_before_;
};

// Grid cells: numbers, text that reads as a number, empty cells as 0; steps rounded to even.
// The degree list fills its places in its order (second, first, third); top strings keep their
// grid cents; of two rows naming a place the later wins; a row without a degree number is
// degree 0; a degree with more digits than single precision is the nearest float.
TEST_F(ConversionsWorkbook, GridCellsAndTheDegreeListFillTheTables) {
    // 2.5, 3.5, -2.5, text "7.5", -3.5, empty; strings 8..26 step as their position
    std::vector<int> steps;
    for (int p : {-8, -7, -6, -5, -4, 0}) steps.push_back(st_.tables.mandal_step(1, p));
    steps.push_back(st_.tables.mandal_step(20, -8));
    EXPECT_EQ(steps, (std::vector<int>{2, 4, -2, 8, -4, 0, -8}));
    const degree_record& r = st_.tables.degrees[30];  // one place beyond the levers
    EXPECT_EQ((std::vector<int>{r.string_2, r.pos_2, r.string_1, r.pos_1, r.string_3, r.pos_3}),
              (std::vector<int>{10, -8, 11, 0, 12, 13}));
    const struct {
        int string, position;
        double cents;
        int degree;                                           // -1 not looked at
    } cases[] = {{1, -8, 0.1, -1},       {1, -7, 150.0, -1},  // text "1.5e2"
                 {1, -6, -12.25, -1},                         // text " -12.25 "
                 {1, -3, 100.5, -1},                          // shown as the date 1900-04-09 12:00
                 {8, 3, 701.955001f, 5}, {9, 1, 300.0, 10},  {2, 4, 444.25, 20},
                 {10, -8, 30.0, 30},     {12, 13, 30.0, 30}, {13, 2, 12.75, 40},
                 {14, 0, 12.5, 0},       {20, 5, 0.0, 0}};  // named by nobody
    for (const auto& c : cases) {
        const int degree = c.degree < 0 ? -1 : st_.tables.degree_at(c.string, c.position);
        EXPECT_EQ(std::pair(st_.tables.cents(c.string, c.position), degree),
                  std::pair(c.cents, c.degree))
            << c.string << " " << c.position;
    }
}

TEST_F(ConversionsWorkbook, NamesAreThirtyCharactersAndTextCellsConvert) {
    EXPECT_EQ(st_.tables.degrees[5].degree_name, "Bu ad otuz karakterden çok dah");  // cut at 30
    EXPECT_EQ(st_.tables.degrees[6].degree_name, padded("Çığ şölen", 9));  // Turkish letters
    EXPECT_EQ(st_.tables.degrees[40].degree_name, padded("1.5", 3));       // number as text
    EXPECT_EQ(st_.tables.degrees[0].degree_name, padded("sıfır", 5));
    EXPECT_EQ(st_.tables.degrees[100].degree_name, std::string(30, '\0'));  // never filled
    EXPECT_EQ(st_.build.option4_captions, (std::array<std::string, 2>{"aşağı", ""}));
    // Empty, 5, text "7", -12.5 (a tie to even), 0.75 shown as a time of day.
    EXPECT_EQ((std::vector<int>(&st_.tables.sample_cents[1], &st_.tables.sample_cents[6])),
              (std::vector<int>{0, 5, 7, -12, 1}));
    EXPECT_EQ(st_.derived.sample_rate(2, 0), std::lround(44100 * std::exp2(5 / 1200.0)));
}

// The message names the cell (or the file), the command line's line the workbook; the state
// and the file are left as they were.
TEST(BadWorkbook, ReportsTheCellAndLeavesStateAndFileUntouched) {
    const std::vector<std::tuple<const char*, const char*, const char*>> cases{
        {"bad_text_in_number.xls", "G40", "\"yüz\" bir sayı değil"},
        {"bad_integer_range.xls", "D35", "32767.5 tamsayı sınırlarının (-32768..32767) dışında"},
        {"bad_degree.xls", "E32", "derece numarası 201"},
        {"bad_string.xls", "A33", "tel numarası 27"},
        {"bad_position.xls", "D32", "mandal konumu 14"},
        {"bad_single.xls", "G45", "1E+39"},
        {"bad_number_suffix.xls", "G40", "\"12abc\" bir sayı değil"},
        {"bad_rate.xls", "X7", "tel 7 için örnekleme hızı 32 bit"},
        {"bad_rate_grid.xls", "B11", "tel 1, mandal konumu -8 için örnekleme hızı 32 bit"},
        {"bad_rate_home.xls", "J11", "tel 1, mandal konumu -8 için örnekleme hızı 32 bit"},
        // Values no sample can be played at, or no panel can show.
        {"bad_rate_zero.xls", "X5",
         "tel 5 için örnekleme hızı 0 Hz; çalınabilir aralık 1000..1000000 Hz"},
        {"bad_rate_high.xls", "X5", "tel 5 için örnekleme hızı 1411200 Hz"},
        {"bad_rate_position.xls", "G31", "tel 12, mandal konumu 1 için örnekleme hızı 7982953 Hz"},
        {"bad_cents_huge.xls", "E11", "tel 1, mandal konumu -5 için frekans hesaplanamıyor"},
        {"not_a_workbook.xls", "", "not_a_workbook.xls bir Excel 97-2003 çalışma kitabı"},
        {"truncated.xls", "", "truncated.xls bozuk veya eksik"},
        {"no_such_workbook.xls", "", "no_such_workbook.xls bulunamadı"},
        {"TEMP/klasör.xls", "", "klasör.xls: bir klasör, dosya değil"},
        {"TEMP/boru.xls", "", "boru.xls: düzenli bir dosya değil (aygıt ya da FIFO)"}};
    test::TempDir temp;
    std::filesystem::create_directory(temp / "klasör.xls");
    ASSERT_EQ(::mkfifo((temp / "boru.xls").c_str(), 0644), 0);
    // The compound-file library's own complaints about a damaged file stay off the terminal.
    testing::internal::CaptureStderr();
    for (const auto& [name, cell, says] : cases) {
        SCOPED_TRACE(name);
        const bool special = std::string(name).starts_with("TEMP/");  // not read here
        const auto file = special ? temp / (name + 5) : kFixtures / name;
        const std::string before = special ? "" : test::read_file_bytes(file);
        InstrumentState st;
        st.tables.cents(9, 1) = 123.0;
        st.tables.sample_cents[7] = 3;
        st.build.option4_captions[0] = "eski";
        const auto failure = import_tuning(st, file);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cell, cell);
        const std::string in_cell = *cell ? std::string("Hücre ") + cell + ": " : "";
        EXPECT_THAT(import_failure_message(*failure),
                    AllOf(StartsWith("Excel yüklü değil veya dizek dosyası yok\r\n"),
                          HasSubstr(in_cell + says)));
        EXPECT_THAT(import_failure_line(file, *failure),  // the file, then the cell if any
                    StartsWith("\"" + file.string() +
                               "\": " + (*cell ? "hücre " + std::string(cell) + ": " : "") + says));
        EXPECT_EQ(std::tuple(st.tables.cents(9, 1), st.tables.sample_cents[7],
                             st.build.option4_captions[0], st.derived.freq(8, 0),
                             st.derived.sample_rate(5, 0)),
                  std::tuple(123.0, 3, "eski", 0.0, 0));
        EXPECT_EQ(special ? before : test::read_file_bytes(file), before);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

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
        {0.25, "#.00", '.', ".25"},
        {-0.00001, "0.0000", '.', "0.0000"},
        {INFINITY, "########0.0000", '.', "?"},
        {-INFINITY, "##0", '.', "?"},
        {NAN, "0.0000", '.', "?"}};
    for (const auto& [x, picture, point, shown] : cases)
        EXPECT_EQ(format_picture(x, picture, point), shown) << x;
}

// The locale's decimal point is printed when it is one ASCII character; the Arabic "٫", an
// empty or a longer text leave the point.
TEST(PictureFormat, TheLocalesDecimalPointIsTakenWhenItIsOneAsciiCharacter) {
    const std::pair<const char*, char> cases[] = {
        {",", ','}, {".", '.'}, {"\u066b", '.'}, {"", '.'}, {",,", '.'}};
    for (const auto& [point, separator] : cases)
        EXPECT_EQ(decimal_separator_of(point), separator) << point;
}

}  // namespace
}  // namespace orvena
