#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/biff_bytes.h"
#include "tuning/biff_records.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_tables.h"

namespace orvena {
namespace {

using ::testing::HasSubstr;

const std::filesystem::path kWorkbooks = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

InstrumentState imported(const std::filesystem::path& file) {
    InstrumentState st;
    set_names(st);
    set_lever_limits(st);
    const auto failure = import_tuning(st, file);
    EXPECT_FALSE(failure.has_value()) << file << ": " << import_failure_message(*failure);
    return st;
}

// saved-from.xls: levers a step of 1200/79 cents apart (a top string's degree follows its
// name, not its step), C4 on degree 0, every sample played at 44100 Hz on its lever 0; a
// spreadsheet program saving it again rewrites its numbers, turns its cents into formulas or puts a
// sheet of notes first. Each must play as the table does.
TEST(SavedWorkbook, PlaysAsTheShippedTable) {
    const struct {
        int string, position, home_degree, degree, step;
    } cases[] = {{1, -5, 184, 179, -8}, {1, 6, 184, 190, 10}, {7, 10, 112, 122, 12},
                 {12, -8, 59, 51, -8},  {12, 0, 59, 59, 0},   {26, -8, -99, -107, -8},
                 {26, 12, -99, -87, 12}};
    for (const char* name :
         {"saved-from.xls", "resaved.xls", "formulas.xls", "second-sheet-active.xls"}) {
        SCOPED_TRACE(name);
        const InstrumentState st = imported(kWorkbooks / name);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "string " << c.string << " position " << c.position);
            EXPECT_NEAR(st.cents(c.string, c.position), (c.home_degree + c.step) * 1200.0 / 79,
                        1e-4);
            EXPECT_EQ(st.sample_rate(c.string, c.position),
                      std::lround(44100 * std::exp2(c.step / 79.0)));
            EXPECT_EQ(st.degree_at(c.string, c.position), c.degree);
            EXPECT_EQ(st.mandal_step(c.string, c.position), c.step);
        }
        EXPECT_EQ(st.degrees[59].degree_name, "A4" + std::string(28, ' '));
        EXPECT_EQ(st.degrees[185].degree_name, "E6 +1" + std::string(25, ' '));
        EXPECT_EQ(st.option4_captions, (std::array<std::string, 2>{"alt oktav", "üst oktav"}));
    }
}

// Values no sample can be played at, or no panel can show, are bad cells like any other: the
// message names the cell and the state is left as it was.
TEST(AbsurdWorkbookValue, IsReportedWithItsCell) {
    const struct {
        const char *file, *cell, *says;
    } cases[] = {
        {"bad_rate_zero.xls", "X5",
         "tel 5 için örnekleme hızı 0 Hz; çalınabilir aralık 1000..1000000 Hz"},
        {"bad_rate_high.xls", "X5", "tel 5 için örnekleme hızı 1411200 Hz"},
        {"bad_rate_position.xls", "G31", "tel 12, mandal konumu 1 için örnekleme hızı 7982953 Hz"},
        {"bad_cents_huge.xls", "E11", "tel 1, mandal konumu -5 için frekans hesaplanamıyor"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        InstrumentState st;
        st.cents(1, 0) = 5.0;
        const auto failure = import_tuning(st, kWorkbooks / c.file);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cell, c.cell);
        EXPECT_THAT(import_failure_message(*failure),
                    HasSubstr(std::string("Hücre ") + c.cell + ": " + c.says));
        EXPECT_EQ(std::pair(st.cents(1, 0), st.sample_rate(5, 0)), std::pair(5.0, 0));
    }
    // The highest lever is played too; a fine tuning of 1200 cents doubles a rate, no more.
    TuningTables t = tables_in_force(imported(kWorkbooks / "saved-from.xls"));
    PerString<std::int16_t> octave_up{};
    octave_up[1] = 1200;
    EXPECT_FALSE(first_unplayable(t, octave_up).has_value());
    t.cents(12, 12) += 6000.0;
    ASSERT_TRUE(first_unplayable(t, {}).has_value());
    EXPECT_EQ(first_unplayable(t, {})->position, 12);
}

using namespace test;  // the record builders

std::string formula(unsigned row, unsigned column, const std::string& result) {
    return record(0x0006,
                  le16(row) + le16(column) + le16(15) + result + le16(0) + le32(0) + le16(0));
}
std::string number_result(double x) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof x);
    return le32(static_cast<std::uint32_t>(bits)) + le32(static_cast<std::uint32_t>(bits >> 32));
}
// A result that is not a number: 0 text (in the record that follows), 1 boolean, 2 error.
std::string special_result(unsigned type, unsigned value) {
    std::string v(8, '\0');
    v[0] = static_cast<char>(type);
    v[2] = static_cast<char>(value);
    v[6] = v[7] = '\xFF';
    return v;
}

TEST(FormulaResults, ReadAsTheSpreadsheetStoredThem) {
    // "Çığ" in UTF-16, its last letter carried over into a CONTINUE record; then a text in
    // one-byte characters; the formulas of a chart on the sheet and beyond the sheet are not read.
    const std::string sheet =
        bof(0x10) + formula(30, 6, number_result(-1625.3164556962)) +
        formula(31, 7, special_result(0, 0)) + record(0x04BC, std::string(8, '\0')) +
        record(0x0207, le16(3) + "\x01" + le16(0xC7) + le16(0x131)) +
        record(0x003C, "\x01" + le16(0x11F)) + formula(32, 7, special_result(0, 0)) +
        record(0x0207, le16(4) + std::string(1, '\0') + "F6+5") +
        formula(33, 0, special_result(1, 1)) + formula(34, 0, special_result(2, 0x07)) +
        formula(35, 7, special_result(3, 0)) + bof(0x20) + formula(36, 0, number_result(9)) + kEof +
        kEof + formula(37, 0, number_result(9));
    const std::string globals = bof(0x05) + kEof;
    const FormulaResults results = read_formula_results(
        globals + sheet, {"s", static_cast<std::uint32_t>(globals.size()), true}, true);
    using K = XlsCell::Kind;
    const struct {
        std::uint32_t row;
        std::uint16_t column;
        K kind;
        double number;
        std::string text;
    } cases[] = {{30, 6, K::Number, -1625.3164556962, ""},
                 {31, 7, K::Text, 0, "Çığ"},
                 {32, 7, K::Text, 0, "F6+5"},
                 {33, 0, K::Number, 1, ""},
                 {34, 0, K::Error, 0, "#DIV/0!"},
                 {35, 7, K::Text, 0, ""}};
    ASSERT_EQ(results.size(), std::size(cases));
    for (const auto& c : cases) {
        const XlsCell& cell = results.at({c.row, c.column});
        EXPECT_EQ(cell.kind, c.kind) << c.row;
        EXPECT_EQ(c.kind == K::Number ? cell.number : 0, c.number) << c.row;
        EXPECT_EQ(c.kind == K::Number ? "" : cell.text, c.text) << c.row;
    }
}

}  // namespace
}  // namespace orvena
