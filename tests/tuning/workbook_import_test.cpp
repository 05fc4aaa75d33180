#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/text.h"
#include "tuning/tablo_oku.h"
#include "tuning/xls_workbook.h"

namespace orvena {
namespace {

using test::padded;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::filesystem::path kShipped = test::source_dir() / "data" / "dizek.xls";
const std::filesystem::path kFixtures = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

double degree_cents(int d) {
    return d * 1200.0 / 79;
}
// What a degree's cents become after passing through the workbook's single-precision column.
double as_single(double x) {
    return static_cast<double>(static_cast<float>(x));
}

// The shipped 79-degree tuning: C4 at 262 Hz, pitches through the single-precision degree
// column, rates rising with every lever, every home degree named after its string.
TEST(ShippedWorkbook, PitchesRatesAndNamesFollowTheSeventyNineDegreeOctave) {
    InstrumentState st;
    set_names(st);
    const auto failure = import_tuning(st, kShipped);
    ASSERT_FALSE(failure.has_value()) << import_failure_message(*failure);
    EXPECT_EQ(st.freq(17, 0), 262.0);
    const double a4 = as_single(degree_cents(59));
    EXPECT_EQ(st.cents(12, 0), a4);
    EXPECT_EQ(st.freq(12, 0), 262.0 * std::pow(2.0, a4 / 1200.0));
    EXPECT_NEAR(st.freq(10, 0), 524.0, 1e-4);  // C5, an octave above C4
    EXPECT_NEAR(st.freq(24, 0), 131.0, 1e-4);  // C3
    for (int s = 1; s <= kStringCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(st.sample_rate(s, 0), 44100);
        for (int p = lever_min_of(s); p < lever_max_of(s); ++p) {
            EXPECT_LT(st.sample_rate(s, p), st.sample_rate(s, p + 1)) << p;
        }
        EXPECT_EQ(st.degrees[st.degree_at(s, 0)].degree_name, padded(st.note_names[s], 2));
    }
    EXPECT_EQ(st.sample_rate(12, 12), std::lround(44100 * std::pow(2.0, 12.0 / 79.0)));
    EXPECT_EQ(st.degrees[-107].degree_name, padded("G2 +5", 5));
    EXPECT_EQ(st.degrees[196].degree_name, padded("F6 +5", 5));
    EXPECT_EQ(st.degrees[-108].degree_name, std::string(30, '\0'));  // beyond the list
    EXPECT_EQ(st.option4_captions[1], "üst oktav");
}

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

TEST_F(ConversionsWorkbook, GridCellsConvertToDoubleAndRoundStepsToEven) {
    EXPECT_EQ(st_.cents(1, -8), 0.1);
    EXPECT_EQ(st_.cents(1, -7), 150.0);     // text "1.5e2"
    EXPECT_EQ(st_.cents(1, -6), -12.25);    // text " -12.25 "
    EXPECT_EQ(st_.cents(1, 0), 0.0);        // empty
    EXPECT_EQ(st_.mandal_step(1, -8), 2);   // 2.5
    EXPECT_EQ(st_.mandal_step(1, -7), 4);   // 3.5
    EXPECT_EQ(st_.mandal_step(1, -6), -2);  // -2.5
    EXPECT_EQ(st_.mandal_step(1, -5), 8);   // text "7.5"
    EXPECT_EQ(st_.mandal_step(1, -4), -4);  // -3.5
    EXPECT_EQ(st_.mandal_step(1, 0), 0);
    EXPECT_EQ(st_.mandal_step(20, -8), -8);
}

TEST_F(ConversionsWorkbook, DegreeListFillsPlacesInItsOrder) {
    // G with more digits than single precision: the nearest float, widened.
    EXPECT_EQ(st_.degrees[5].degree_cents, 701.955001f);
    EXPECT_EQ(st_.cents(8, 3), static_cast<double>(701.955001f));
    EXPECT_NE(st_.cents(8, 3), 701.955001);
    // A empty, C filled: only the first place.
    EXPECT_EQ(st_.degrees[5].string_1, 8);
    EXPECT_EQ(st_.degrees[5].pos_1, 3);
    EXPECT_EQ(st_.degrees[5].string_2, 0);
    EXPECT_EQ(st_.degrees[5].string_3, 0);
    EXPECT_EQ(st_.degree_at(8, 3), 5);
    // Two rows name (9, 1): the later row's cents, the higher degree.
    EXPECT_EQ(st_.cents(9, 1), 300.0);
    EXPECT_EQ(st_.degree_at(9, 1), 10);
    // Top strings named in the list keep the grid cents but get the degree.
    EXPECT_EQ(st_.cents(2, 4), 444.25);
    EXPECT_EQ(st_.cents(3, -2), 77.5);
    EXPECT_EQ(st_.degree_at(2, 4), 20);
    EXPECT_EQ(st_.degree_at(3, -2), 20);
    // All three places, one beyond the levers.
    const degree_record& r = st_.degrees[30];
    EXPECT_EQ(r.string_2, 10);
    EXPECT_EQ(r.pos_2, -8);
    EXPECT_EQ(r.string_1, 11);
    EXPECT_EQ(r.pos_1, 0);
    EXPECT_EQ(r.string_3, 12);
    EXPECT_EQ(r.pos_3, 13);
    EXPECT_EQ(st_.cents(12, 13), 30.0);
    EXPECT_EQ(st_.degree_at(10, -8), 30);
    EXPECT_EQ(st_.degree_at(12, 13), 30);
    // Numbers written as text.
    EXPECT_EQ(st_.degrees[40].degree_cents, 12.75f);
    EXPECT_EQ(st_.degrees[40].string_1, 13);
    EXPECT_EQ(st_.degrees[40].pos_1, 2);  // "2.5"
    EXPECT_EQ(st_.cents(13, 2), 12.75);
    // The row without a degree number is degree 0; being the last row, it stays.
    EXPECT_EQ(st_.degrees[0].degree_cents, 12.5f);
    EXPECT_EQ(st_.cents(14, 0), 12.5);
    // Places nobody names.
    EXPECT_EQ(st_.cents(20, 5), 0.0);
    EXPECT_EQ(st_.degree_at(20, 5), 0);
    EXPECT_EQ(st_.freq(20, 5), 262.0);
}

TEST_F(ConversionsWorkbook, NamesAreThirtyCharactersAndTextCellsConvert) {
    EXPECT_EQ(st_.degrees[5].degree_name, "Bu ad otuz karakterden çok dah");  // cut at 30
    EXPECT_EQ(st_.degrees[6].degree_name, padded("Çığ şölen", 9));            // Turkish letters
    EXPECT_EQ(st_.degrees[6].degree_name.size(), 30u + 5u);    // five two-byte letters
    EXPECT_EQ(st_.degrees[40].degree_name, padded("1.5", 3));  // number as text
    EXPECT_EQ(st_.degrees[0].degree_name, padded("sıfır", 5));
    EXPECT_EQ(st_.degrees[100].degree_name, std::string(30, '\0'));  // never filled
    EXPECT_EQ(st_.option4_captions[0], "aşağı");
    EXPECT_EQ(st_.option4_captions[1], "");
    EXPECT_EQ(st_.sample_cents[1], 0);  // empty
    EXPECT_EQ(st_.sample_cents[2], 5);
    EXPECT_EQ(st_.sample_cents[3], 7);    // text "7"
    EXPECT_EQ(st_.sample_cents[4], -12);  // -12.5, tie to even
    EXPECT_EQ(st_.sample_cents[5], 1);    // 0.75, shown as a time of day
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
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.file);
        const auto file = kFixtures / c.file;
        const std::string before = test::read_file_bytes(file);
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

        EXPECT_EQ(st.cents(9, 1), 123.0);
        EXPECT_EQ(st.cents(8, 0), 5.0);
        EXPECT_EQ(st.degrees[1].degree_cents, 7.0f);
        EXPECT_EQ(st.sample_cents[7], 3);
        EXPECT_EQ(st.option4_captions[0], "eski");
        EXPECT_EQ(st.freq(8, 0), 0.0);
        EXPECT_EQ(test::read_file_bytes(file), before);
    }
    EXPECT_FALSE(std::filesystem::exists(kFixtures / "no_such_workbook.xls"));
}

TEST(BadWorkbook, MessageIsTheProgramsTwoLinesAndTheCell) {
    InstrumentState st;
    const auto failure = tablo_oku(st, kFixtures / "bad_text_in_number.xls");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(import_failure_message(*failure),
              "Excel yüklü değil veya dizek dosyası yok\r\n"
              "excel.exe or dizek not found\r\n"
              "Hücre G40: \"yüz\" bir sayı değil; bu hücrede sayı olmalı");
    // The table itself reads fine; only the derived rate does not fit.
    EXPECT_FALSE(tablo_oku(st, kFixtures / "bad_rate.xls").has_value());
    EXPECT_EQ(st.sample_cents[7], 20000);
}

TEST(BadWorkbook, DamagedCopiesOfTheShippedWorkbookNeverThrow) {
    // Cut the shipped workbook at many lengths and flip bytes through it: each import either
    // succeeds or reports a failure, and never throws or reads out of bounds.
    const std::string whole = test::read_file_bytes(kShipped);
    ASSERT_FALSE(whole.empty());
    test::TempDir dir;
    const auto file = dir / "dizek.xls";
    int failures = 0;
    for (std::size_t cut = 0; cut < whole.size(); cut += 1531) {
        test::write_file_bytes(file, whole.substr(0, cut));
        InstrumentState st;
        std::optional<ImportFailure> failure;
        EXPECT_NO_THROW(failure = import_tuning(st, file)) << cut;
        failures += failure.has_value();
    }
    for (std::size_t at = 0; at < whole.size(); at += 997) {
        std::string bytes = whole;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        test::write_file_bytes(file, bytes);
        InstrumentState st;
        EXPECT_NO_THROW((void)import_tuning(st, file)) << at;
    }
    EXPECT_GT(failures, 0);
}

TEST(XlsAddress, A1AddressesBothWays) {
    EXPECT_EQ(parse_a1("B11").row, 10u);
    EXPECT_EQ(parse_a1("B11").column, 1u);
    EXPECT_EQ(parse_a1("AA334").column, 26u);
    EXPECT_EQ(parse_a1("AA334").row, 333u);
    EXPECT_EQ(format_a1({333, 26}), "AA334");
    EXPECT_EQ(format_a1({0, 23}), "X1");
    for (const char* bad : {"", "B", "11", "B0", "b11", "B11 ", "1B"}) {
        EXPECT_THROW(parse_a1(bad), std::invalid_argument) << bad;
    }
}

}  // namespace
}  // namespace orvena
