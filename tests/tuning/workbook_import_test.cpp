#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"
#include "tuning/xls_workbook.h"

namespace orvena {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::filesystem::path kShipped = test::source_dir() / "data" / "dizek.xls";
const std::filesystem::path kFixtures = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

// Home degree of each string in the shipped 79-degree tuning.
const std::map<int, int> kHome = {
    {1, 184},  {2, 171},  {3, 158},  {4, 151},  {5, 138},  {6, 125},  {7, 112},  {8, 105}, {9, 92},
    {10, 79},  {11, 72},  {12, 59},  {13, 46},  {14, 33},  {15, 26},  {16, 13},  {17, 0},  {18, -7},
    {19, -20}, {20, -33}, {21, -46}, {22, -53}, {23, -66}, {24, -79}, {25, -86}, {26, -99}};

double degree_cents(int d) {
    return d * 1200.0 / 79;
}
// What a degree's cents become after passing through the workbook's single-precision column.
double as_single(double x) {
    return static_cast<double>(static_cast<float>(x));
}

std::string padded(const std::string& s, std::size_t chars) {
    return s + std::string(30 - chars, ' ');
}

bool names_place(const degree_record& r, int s, int p) {
    return (r.string_1 == s && r.pos_1 == p) || (r.string_2 == s && r.pos_2 == p) ||
           (r.string_3 == s && r.pos_3 == p);
}

class ShippedWorkbook : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        state_ = new InstrumentState;
        set_names(*state_);
        const auto failure = import_tuning(*state_, kShipped);
        ASSERT_FALSE(failure.has_value()) << import_failure_message(*failure);
    }
    static void TearDownTestSuite() {
        delete state_;
        state_ = nullptr;
    }
    static InstrumentState* state_;
};
InstrumentState* ShippedWorkbook::state_ = nullptr;

TEST_F(ShippedWorkbook, PitchesAndRatesFollowTheSeventyNineDegreeOctave) {
    const InstrumentState& st = *state_;
    EXPECT_EQ(st.freq(17, 0), 262.0);
    const double a4 = as_single(degree_cents(59));
    EXPECT_EQ(st.cents(12, 0), a4);
    EXPECT_EQ(st.freq(12, 0), 262.0 * std::pow(2.0, a4 / 1200.0));
    EXPECT_NEAR(st.freq(12, 0), 262.0 * std::pow(2.0, 59.0 / 79.0), 1e-4);
    EXPECT_NEAR(st.freq(10, 0), 524.0, 1e-4);  // C5, an octave above C4
    EXPECT_NEAR(st.freq(24, 0), 131.0, 1e-4);  // C3
    for (int s = 1; s <= kStringCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(st.sample_cents[s], 0);
        EXPECT_EQ(st.sample_rate(s, 0), 44100);
        // One degree higher always sounds higher.
        for (int p = lever_min_of(s); p < lever_max_of(s); ++p) {
            EXPECT_LT(st.sample_rate(s, p), st.sample_rate(s, p + 1)) << p;
        }
    }
    EXPECT_EQ(st.sample_rate(12, 12), std::lround(44100 * std::pow(2.0, 12.0 / 79.0)));
}

TEST_F(ShippedWorkbook, EveryPlaceOfTheLowerStringsHasItsDegree) {
    const InstrumentState& st = *state_;
    for (int s = 8; s <= kStringCount; ++s) {
        for (int p = -12; p <= 13; ++p) {
            SCOPED_TRACE(testing::Message() << "string " << s << " position " << p);
            if (p < kLeverLo || p > kLeverHi) {
                EXPECT_EQ(st.degree_at(s, p), 0);
                EXPECT_EQ(st.cents(s, p), 0.0);
                continue;
            }
            const int d = kHome.at(s) + p;
            EXPECT_EQ(st.degree_at(s, p), d);
            EXPECT_EQ(st.cents(s, p), as_single(degree_cents(d)));
            EXPECT_TRUE(names_place(st.degrees[d], s, p));
            EXPECT_EQ(st.mandal_step(s, p), p);
        }
    }
    // Every degree can be played somewhere, its nearest place listed first.
    for (int d = -107; d <= 196; ++d) {
        const degree_record& r = st.degrees[d];
        ASSERT_GT(r.string_1, 0) << d;
        EXPECT_EQ(r.degree_cents, static_cast<float>(degree_cents(d))) << d;
        if (r.string_2 > 0) {
            EXPECT_LE(std::abs(r.pos_1), std::abs(r.pos_2)) << d;
        }
        if (r.string_3 > 0) {
            EXPECT_LE(std::abs(r.pos_2), std::abs(r.pos_3)) << d;
        }
    }
}

TEST_F(ShippedWorkbook, TopStringsTakeTheirStepsAndCentsFromTheGrid) {
    const InstrumentState& st = *state_;
    const std::vector<int> string1_steps{-8, -6, -5, -3, -1, 0, 1, 3, 4, 6, 8, 10};
    for (int p = -5; p <= 6; ++p) {
        EXPECT_EQ(st.mandal_step(1, p), string1_steps[static_cast<std::size_t>(p + 5)]) << p;
    }
    EXPECT_EQ(st.mandal_step(1, -8), -8);  // beyond the levers the step is the position
    EXPECT_EQ(st.mandal_step(1, 12), 12);
    EXPECT_EQ(st.mandal_step(5, -7), -8);
    EXPECT_EQ(st.mandal_step(5, 10), 12);
    for (int s = 1; s <= 7; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            SCOPED_TRACE(testing::Message() << "string " << s << " position " << p);
            // Grid cents are read as Double: no single-precision rounding.
            EXPECT_EQ(st.cents(s, p), degree_cents(kHome.at(s) + st.mandal_step(s, p)));
            // The degree list names top-string places by their step.
            EXPECT_EQ(st.degree_at(s, p), kHome.at(s) + p);
        }
    }
}

TEST_F(ShippedWorkbook, DegreesAreNamedAndCaptionsSet) {
    const InstrumentState& st = *state_;
    EXPECT_EQ(st.degrees[-107].degree_name, padded("G2 +5", 5));
    EXPECT_EQ(st.degrees[196].degree_name, padded("F6 +5", 5));
    EXPECT_EQ(st.degrees[-7].degree_name, padded("B3", 2));
    EXPECT_EQ(st.degrees[61].degree_name, padded("A4 +2", 5));
    EXPECT_EQ(st.degrees[-108].degree_name, std::string(30, '\0'));  // beyond the list
    EXPECT_EQ(st.degrees[197].degree_name, std::string(30, '\0'));
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(st.degrees[st.degree_at(s, 0)].degree_name, padded(st.note_names[s], 2)) << s;
    }
    EXPECT_EQ(st.option4_captions[0], "alt oktav");
    EXPECT_EQ(st.option4_captions[1], "üst oktav");
}

TEST(WorkbookImport, ProgramFolderCopyMatchesTheShippedWorkbook) {
    const auto copy = test::program_dir() / "dizek.xls";
    if (!std::filesystem::exists(copy)) GTEST_SKIP() << "program folder not assembled";
    EXPECT_EQ(test::read_file_bytes(copy), test::read_file_bytes(kShipped));
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
        {"bad_rate.xls", "X7", "örnekleme hızı"},
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
