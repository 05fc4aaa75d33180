#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/biff_bytes.h"
#include "support/temp_dir.h"
#include "tuning/biff_records.h"
#include "tuning/number_format.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_tables.h"

namespace orvena {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::filesystem::path kWorkbooks = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

InstrumentState imported(const std::filesystem::path& file) {
    InstrumentState st;
    set_names(st);
    set_lever_limits(st);
    const auto failure = import_tuning(st, file);
    EXPECT_FALSE(failure.has_value()) << file << ": " << import_failure_message(*failure);
    return st;
}

// Workbooks as a spreadsheet program leaves them when it saves a table of ours again
// (saved-from.xls, the shipped table before its degrees took perde names): numbers rewritten,
// cents turned into formulas, a sheet of notes put first. Each must play exactly as that table
// does.
TEST(SavedWorkbook, PlaysAsTheShippedTable) {
    const InstrumentState shipped = imported(kWorkbooks / "saved-from.xls");
    for (const char* name : {"resaved.xls", "formulas.xls", "second-sheet-active.xls"}) {
        SCOPED_TRACE(name);
        const InstrumentState st = imported(kWorkbooks / name);
        for (int s = 1; s <= kStringCount; ++s) {
            for (int p = kLeverLo; p <= kLeverHi; ++p) {
                SCOPED_TRACE(testing::Message() << "string " << s << " position " << p);
                EXPECT_NEAR(1200.0 * std::log2(st.freq(s, p) / shipped.freq(s, p)), 0.0, 0.001);
                EXPECT_EQ(st.sample_rate(s, p), shipped.sample_rate(s, p));
                EXPECT_EQ(st.degree_at(s, p), shipped.degree_at(s, p));
                EXPECT_EQ(st.mandal_step(s, p), shipped.mandal_step(s, p));
            }
        }
        for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
            EXPECT_EQ(st.degrees[d].degree_name, shipped.degrees[d].degree_name) << d;
        }
        EXPECT_EQ(st.option4_captions, shipped.option4_captions);
    }
}

// Values no sample can be played at, or no panel can show, are bad cells like any other: the
// message names the cell and the state is left as it was.
TEST(AbsurdWorkbookValue, IsReportedWithItsCell) {
    struct Case {
        const char* file;
        const char* cell;
        const char* says;
    };
    // clang-format off
    for (const Case& c : std::vector<Case>{
             {"bad_rate_zero.xls", "X5", "tel 5 için örnekleme hızı 0 Hz; çalınabilir aralık 1000..1000000 Hz"},
             {"bad_rate_high.xls", "X5", "tel 5 için örnekleme hızı 1411200 Hz"},
             {"bad_rate_position.xls", "G31", "tel 12, mandal konumu 1 için örnekleme hızı 7982953 Hz"},
             {"bad_cents_huge.xls", "E11", "tel 1, mandal konumu -5 için frekans hesaplanamıyor"}}) {
        // clang-format on
        SCOPED_TRACE(c.file);
        InstrumentState st;
        st.cents(1, 0) = 5.0;
        const auto failure = import_tuning(st, kWorkbooks / c.file);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cell, c.cell);
        EXPECT_THAT(import_failure_message(*failure),
                    HasSubstr(std::string("Hücre ") + c.cell + ": " + c.says));
        EXPECT_EQ(st.cents(1, 0), 5.0);
        EXPECT_EQ(st.sample_rate(5, 0), 0);
    }
    // The highest lever is played too; a fine tuning of 1200 cents doubles a rate, no more.
    TuningTables t = tables_in_force(imported(kWorkbooks / "saved-from.xls"));
    PerString<std::int16_t> octave_up{};
    octave_up[1] = 1200;
    EXPECT_FALSE(first_unplayable(t, octave_up).has_value());
    t.cents(12, lever_max_of(12)) += 6000.0;
    ASSERT_TRUE(first_unplayable(t, {}).has_value());
    EXPECT_EQ(first_unplayable(t, {})->position, lever_max_of(12));
    // Nothing on the panel reads "inf" or "nan", whatever reaches it.
    for (double x : {INFINITY, -INFINITY, NAN}) EXPECT_EQ(format_picture(x, "########0.0000"), "?");
}

// The shipped workbook with one record of its workbook stream changed in place. The stream
// lies in consecutive sectors of the file, so its records can be found in the file's bytes.
struct Damage {
    const char* what;
    void (*apply)(std::string& bytes, std::size_t stream, std::size_t sheet_record);
    const char* says;
};

std::uint32_t le32_at(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

TEST(DamagedWorkbook, MessageSaysWhatCouldNotBeRead) {
    const std::string shipped = test::read_file_bytes(test::source_dir() / "data" / "dizek.xls");
    // The workbook globals' BOF (BIFF8) and the sheet list entry of the one sheet "dizek".
    const std::size_t stream = shipped.find(std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8));
    const std::size_t sheet_record = shipped.find(std::string("\x85\x00\x0d\x00", 4));
    ASSERT_NE(stream, std::string::npos);
    ASSERT_NE(sheet_record, std::string::npos);
    ASSERT_EQ(shipped.substr(sheet_record + 12, 5), "dizek");

    using B = std::string&;
    using At = std::size_t;
    // clang-format off
    const std::vector<Damage> cases{
        {"the sheet list names no sheet", [](B b, At, At r) { b[r] = '\x86'; },
         "dizek.xls içinde çalışma sayfası yok"},
        {"the sheet list runs past the end of the stream",
         [](B b, At, At r) { b[r + 2] = b[r + 3] = '\xFF'; },
         "dizek.xls bozuk veya eksik; sayfa listesi yarıda kesilmiş"},
        {"the globals lose their EOF (the record just before the sheet's BOF)",
         [](B b, At s, At r) { b[s + le32_at(b, r + 4) - 4] = '\x0B'; },
         "dizek.xls bozuk veya eksik; çalışma kitabının kayıtları okunamıyor"},
        {"the sheet lies beyond the stream", [](B b, At, At r) { b[r + 7] = '\x7F'; },
         "dizek.xls bozuk veya eksik; \"dizek\" sayfası okunamıyor"},
        {"the active sheet is a chart", [](B b, At, At r) { b[r + 9] = '\x02'; },
         "dizek.xls açıldığında gösterilen sayfa bir çalışma sayfası değil"},
    };
    // clang-format on
    test::TempDir dir;
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = shipped;
        c.apply(bytes, stream, sheet_record);
        test::write_file_bytes(dir / "dizek.xls", bytes);
        InstrumentState st;
        const auto failure = import_tuning(st, dir / "dizek.xls");
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cell, "");
        EXPECT_EQ(import_failure_message(*failure),
                  std::string("Excel yüklü değil veya dizek dosyası yok\r\n"
                              "excel.exe or dizek not found\r\n") +
                      c.says);
    }
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
std::string special_result(unsigned type, unsigned value) {
    std::string v(8, '\0');
    v[0] = static_cast<char>(type);
    v[2] = static_cast<char>(value);
    v[6] = v[7] = '\xFF';
    return v;
}

TEST(FormulaResults, ReadAsTheSpreadsheetStoredThem) {
    // "Çığ" in UTF-16, its last letter carried over into a CONTINUE record; then a text in
    // one-byte characters.
    const std::string sheet =
        bof(0x10) + formula(30, 6, number_result(-1625.3164556962)) +
        formula(31, 7, special_result(0, 0)) + record(0x04BC, std::string(8, '\0')) +
        record(0x0207, le16(3) + "\x01" + le16(0xC7) + le16(0x131)) +
        record(0x003C, "\x01" + le16(0x11F)) + formula(32, 7, special_result(0, 0)) +
        record(0x0207, le16(4) + std::string(1, '\0') + "F6+5") +
        formula(33, 0, special_result(1, 1)) + formula(34, 0, special_result(2, 0x07)) +
        formula(35, 7, special_result(3, 0)) + bof(0x20) + formula(36, 0, number_result(9)) +
        kEof +                                    // a chart on the sheet
        kEof + formula(37, 0, number_result(9));  // beyond the sheet
    const std::string globals = bof(0x05) + kEof;
    const FormulaResults results = read_formula_results(
        globals + sheet, {"s", static_cast<std::uint32_t>(globals.size()), true}, true);

    ASSERT_EQ(results.size(), 6u);
    const auto at = [&](std::uint32_t r, std::uint16_t c) { return results.at({r, c}); };
    EXPECT_EQ(at(30, 6).kind, XlsCell::Kind::Number);
    EXPECT_EQ(at(30, 6).number, -1625.3164556962);
    EXPECT_EQ(at(31, 7).kind, XlsCell::Kind::Text);
    EXPECT_EQ(at(31, 7).text, "Çığ");
    EXPECT_EQ(at(32, 7).text, "F6+5");
    EXPECT_EQ(at(33, 0).kind, XlsCell::Kind::Number);
    EXPECT_EQ(at(33, 0).number, 1.0);
    EXPECT_EQ(at(34, 0).kind, XlsCell::Kind::Error);
    EXPECT_EQ(at(34, 0).text, "#DIV/0!");
    EXPECT_EQ(at(35, 7).kind, XlsCell::Kind::Text);
    EXPECT_EQ(at(35, 7).text, "");
}

}  // namespace
}  // namespace orvena
