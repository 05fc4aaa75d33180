#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "support/biff_bytes.h"
#include "support/temp_dir.h"
#include "support/text.h"
#include "tuning/biff_records.h"
#include "tuning/compound_document.h"
#include "tuning/compound_file.h"
#include "tuning/install_tables.h"
#include "tuning/number_format.h"
#include "tuning/rounding.h"
#include "tuning/start_values.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"
#include "tuning/xls_workbook.h"

namespace orvena {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Property;
using ::testing::StartsWith;
using ::testing::Throws;
using namespace test;  // the record builders

const std::filesystem::path kWorkbooks = std::filesystem::path(TEST_DATA_DIR) / "workbooks";

InstrumentState imported(const std::filesystem::path& file) {
    InstrumentState st;
    set_names(st.build);
    set_lever_limits(st.build);
    const auto failure = import_tuning(st, file);
    EXPECT_FALSE(failure.has_value()) << file << ": " << import_failure_message(*failure);
    return st;
}

// The little-endian number of `width` bytes at `at`.
std::uint32_t le_at(const std::string& bytes, std::size_t at, int width = 4) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// What importing `bytes` as dizek.xls says ("" when it loads).
std::string import_message(const std::string& bytes) {
    TempDir dir;
    write_file_bytes(dir / "dizek.xls", bytes);
    InstrumentState st;
    const auto failure = import_tuning(st, dir / "dizek.xls");
    return failure ? import_failure_message(*failure) : "";
}

const std::string kUnreadable =
    "dizek.xls bozuk veya eksik; çalışma kitabının kayıtları okunamıyor";

// saved-from.xls: levers 1200/79 cents apart (a top string's degree follows its name, not its
// step), C4 on degree 0, samples at 44100 Hz on lever 0. Saved again by a spreadsheet program
// (numbers rewritten, cents as formulas, a sheet of notes first) it must play the same.
TEST(SavedWorkbook, PlaysAsTheShippedTable) {
    // String, position, the string's home degree, the position's degree and its step.
    const std::tuple<int, int, int, int, int> cases[] = {
        {1, -5, 184, 179, -8}, {1, 6, 184, 190, 10},    {7, 10, 112, 122, 12}, {12, -8, 59, 51, -8},
        {12, 0, 59, 59, 0},    {26, -8, -99, -107, -8}, {26, 12, -99, -87, 12}};
    for (const char* name : {"saved-from.xls", "saved-v4.xls", "resaved.xls", "formulas.xls",
                             "second-sheet-active.xls"}) {
        SCOPED_TRACE(name);
        const InstrumentState st = imported(kWorkbooks / name);
        for (const auto& [s, p, home_degree, degree, step] : cases) {
            SCOPED_TRACE(testing::Message() << "string " << s << " position " << p);
            EXPECT_NEAR(st.tables.cents(s, p), (home_degree + step) * 1200.0 / 79, 1e-4);
            EXPECT_EQ(std::tuple(st.derived.sample_rate(s, p), int{st.tables.degree_at(s, p)},
                                 int{st.tables.mandal_step(s, p)}),
                      std::tuple(std::lround(44100 * std::exp2(step / 79.0)), degree, step));
        }
        EXPECT_EQ(st.tables.degrees[59].degree_name, "A4" + std::string(28, ' '));
        EXPECT_EQ(st.tables.degrees[185].degree_name, "E6 +1" + std::string(25, ' '));
        EXPECT_EQ(st.build.option4_captions,
                  (std::array<std::string, 2>{"alt oktav", "üst oktav"}));
    }
}

// Every lever from the lowest to the highest is played; a fine tuning of 1200 cents doubles a
// rate, no more; a home rate out of range is reported at lever 0.
TEST(PlayableRange, CoversTheHighestLeverAndTheFineTuning) {
    TuningTables t = imported(kWorkbooks / "saved-from.xls").tables;
    PerString<std::int16_t> octave_up{};
    octave_up[1] = 1200;
    EXPECT_FALSE(first_unplayable(t, octave_up).has_value());
    // String 12 (44100 Hz at lever 0) plays 1000 Hz on lever -8 and 1000000 Hz on lever 12,
    // not 2 cents beyond.
    for (const auto& [p, hz, beyond] : {std::tuple{-8, 1000.0, -2.0}, {12, 1e6, 2.0}}) {
        t.cents(12, p) = t.cents(12, 0) + 1200 * std::log2(hz / 44100);
        EXPECT_FALSE(first_unplayable(t, {}).has_value()) << p;
        t.cents(12, p) += beyond;
        EXPECT_EQ(first_unplayable(t, {}).value_or(UnplayablePlace{}).position, p);
        t.cents(12, p) -= beyond;
    }
    t.home_shift[12] = 6000;  // 44100 Hz five octaves up is past 1000000 Hz before any lever
    EXPECT_EQ(first_unplayable(t, {}).value_or(UnplayablePlace{0, -1, ""}).position, 0);
}

// A formula record at (row, column) holding its result's eight bytes: a number, or for text
// (in the STRING record that follows), a boolean or an error the type then the value.
std::string formula(unsigned row, unsigned column, double number, int type = -1, int value = 0) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    std::string result = le32(std::uint32_t(bits)) + le32(std::uint32_t(bits >> 32));
    if (type >= 0) result = std::string{char(type), 0, char(value), 0, 0, 0, '\xFF', '\xFF'};
    return record(0x0006, le16(row) + le16(column) + le16(15) + result + std::string(8, '\0'));
}

TEST(FormulaResults, ReadAsTheSpreadsheetStoredThem) {
    // "Çığ" in UTF-16, its last letter carried over into a CONTINUE record; a text in one-byte
    // characters; the formulas of a chart on the sheet and beyond the sheet are not read.
    const std::string sheet = bof(0x10) + formula(30, 6, -1625.3164556962) + formula(31, 7, 0, 0) +
                              record(0x04BC, std::string(8, '\0')) +
                              record(0x0207, le16(3) + "\x01" + le16(0xC7) + le16(0x131)) +
                              record(0x003C, "\x01" + le16(0x11F)) + formula(32, 7, 0, 0) +
                              record(0x0207, le16(4) + std::string(1, '\0') + "F6+5") +
                              formula(33, 0, 0, 1, 1) + formula(34, 0, 0, 2, 0x07) +
                              formula(35, 7, 0, 3) + bof(0x20) + formula(36, 0, 9) + kEof + kEof +
                              formula(37, 0, 9);
    const std::string globals = bof(0x05) + kEof;
    const FormulaResults results = read_formula_results(
        globals + sheet, {"s", static_cast<std::uint32_t>(globals.size()), true}, true);
    using K = XlsCell::Kind;
    const std::tuple<std::uint32_t, std::uint16_t, K, double, std::string> cases[] = {
        {30, 6, K::Number, -1625.3164556962, ""},
        {31, 7, K::Text, 0, "Çığ"},
        {32, 7, K::Text, 0, "F6+5"},
        {33, 0, K::Number, 1, ""},
        {34, 0, K::Error, 0, "#DIV/0!"},
        {35, 7, K::Text, 0, ""}};
    ASSERT_EQ(results.size(), std::size(cases));
    for (const auto& [row, column, kind, number, text] : cases) {
        const XlsCell& cell = results.at({row, column});
        EXPECT_EQ(std::tuple(cell.kind, kind == K::Number ? cell.number : 0,
                             kind == K::Number ? "" : cell.text),
                  std::tuple(kind, number, text))
            << row;
    }
}

// The shipped workbook with one record of its workbook stream changed in place (the stream
// lies in consecutive sectors, so its records are found in the file's bytes).
TEST(DamagedWorkbook, MessageSaysWhatCouldNotBeRead) {
    const std::string shipped = read_file_bytes(source_dir() / "data" / "dizek.xls");
    // The workbook globals' BOF (BIFF8), the sheet list entry of the one sheet "dizek" and the
    // sheet's offset in the stream, which its globals' EOF record ends just before.
    const std::size_t s = shipped.find(std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8));
    const std::size_t r = shipped.find(std::string("\x85\x00\x0d\x00", 4));
    const std::size_t window = shipped.find(std::string("\x3D\x00\x12\x00", 4));
    ASSERT_EQ(shipped.substr(r + 12, 5), "dizek");
    const std::uint32_t sheet = le_at(shipped, r + 4);
    // Where the bytes go, the bytes, what the message then says.
    const std::tuple<std::size_t, std::string, std::string> cases[] = {
        {r, "\x86", "içinde çalışma sayfası yok"},  // the list entry's type spoilt
        {r + 2, "\xFF\xFF", "bozuk veya eksik; sayfa listesi yarıda kesilmiş"},
        {s + sheet - 4, "\x0B", "bozuk veya eksik; çalışma kitabının kayıtları okunamıyor"},
        {r + 7, "\x7F", "bozuk veya eksik; \"dizek\" sayfası okunamıyor"},
        {r + 9, "\x02", "açıldığında gösterilen sayfa bir çalışma sayfası değil"},
        {window, "\x2F", "parola ile korunuyor; okunamadı"}};  // WINDOW1 made FILEPASS
    for (const auto& [at, spoilt, says] : cases) {  // no cell named: the message names the file
        std::string bytes = shipped;
        EXPECT_EQ(import_message(bytes.replace(at, spoilt.size(), spoilt)),
                  "Excel yüklü değil veya dizek dosyası yok\r\n"
                  "excel.exe or dizek not found\r\ndizek.xls " +
                      says);
    }
}

// What FreeXL would misread is refused before FreeXL sees it: workbooks in the wild, and a
// stray "Workbook" entry ahead of the real one (FreeXL takes the first of the first directory
// sector, the container's tree may name another) holding the workbook cut short in its sheet.
TEST(DamagedWorkbook, WhatFreeXLWouldMisreadIsRefused) {
    const std::filesystem::path corpus = source_dir() / "tests/fuzz/corpus/workbook";
    for (const char* name : {"cell_given_twice.xls", "label_in_workbook_globals.xls",
                             "label_longer_than_its_record.xls", "named_sheet_without_records.xls",
                             "second_dimension_record.xls", "sheet_name_record_in_sheet.xls",
                             "short_sheet_name_record.xls"})
        EXPECT_THAT(import_message(read_file_bytes(corpus / name)), HasSubstr(kUnreadable)) << name;
    std::string bytes = read_file_bytes(source_dir() / "data" / "dizek.xls");
    // 512-byte sectors; directory entries 0 root, 1 workbook, 2 unused; the stream from 512.
    const std::size_t directory = 512 + 512 * std::size_t{le_at(bytes, 0x30)};
    ASSERT_EQ(bytes.substr(directory + 128, 16), std::string("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
    ASSERT_EQ(bytes[directory + 256 + 0x42], '\0');
    // The first record boundary past the sheet's DIMENSION and 4096 bytes (not a mini stream).
    std::size_t at = 512;
    int bofs = 0, after_dimension = -1;
    while (after_dimension < 1 || at - 512 < 4096) {
        const unsigned id = le_at(bytes, at, 2);
        at += 4 + le_at(bytes, at + 2, 2);
        if (after_dimension >= 0) ++after_dimension;
        if (id == 0x0809) ++bofs;
        if (bofs == 2 && id == 0x0200) after_dimension = 0;
    }
    bytes.replace(directory + 256, 128, bytes.substr(directory + 128, 128));  // the tree's copy
    bytes.replace(directory + 0x4C, 4, le32(2));                              // root -> entry 2
    bytes.replace(directory + 128 + 0x78, 4, le32(static_cast<std::uint32_t>(at - 512)));
    EXPECT_THAT(import_message(bytes), HasSubstr(kUnreadable));
}

// A stream is found by its name in any case (as the container compares names) and refused
// above the size limit. The shipped file's workbook stream (directory entry 1) lies in
// consecutive sectors.
TEST(CompoundStream, FoundByNameInAnyCaseWithinTheLimitAndAlikeByBothReaders) {
    const std::string file = read_file_bytes(source_dir() / "data" / "dizek.xls");
    const std::size_t entry = 512 + 512 * std::size_t{le_at(file, 0x30)} + 128;
    const std::uint32_t length = le_at(file, entry + 0x78);
    const std::string stream =
        file.substr(512 + 512 * std::size_t{le_at(file, entry + 0x74)}, length);
    const std::tuple<std::string_view, std::size_t, std::optional<std::string>> cases[] = {
        {"Workbook", length, stream},
        {"WORKBOOK", length, stream},
        {"workbook", length - 1, std::nullopt},
        {"Book", length, std::nullopt}};
    for (const auto& [name, limit, bytes] : cases)
        EXPECT_EQ(read_compound_stream(file, {name}, limit), bytes) << name << limit;
    // Our own look at the container finds the stream libgsf reads, whether it lies in the
    // sectors or (under 4096 bytes) in the mini stream.
    for (const auto& path : {source_dir() / "data" / "dizek.xls", kWorkbooks / "bad_rate.xls",
                             kWorkbooks / "conversions.xls"}) {
        const std::string bytes = read_file_bytes(path);
        std::string ours;
        EXPECT_EQ(check_compound_document(bytes, ours), CompoundCheck::ok) << path;
        EXPECT_EQ(std::optional(ours), read_compound_stream(bytes, {"Workbook"}, 1 << 20)) << path;
    }
}

// A cell's name as a spreadsheet shows it, both ways, on each side of the single letters'
// end; anything else is not a cell name.
TEST(CellNames, LettersCountColumnsFromAAndRowsFromOne) {
    const std::tuple<const char*, std::uint32_t, std::uint16_t> cases[] = {
        {"A1", 0, 0},   {"B11", 10, 1}, {"Y2", 1, 24},   {"Z3", 2, 25},    {"AA4", 3, 26},
        {"AZ5", 4, 51}, {"BA6", 5, 52}, {"ZZ7", 6, 701}, {"AAA8", 7, 702}, {"IV65536", 65535, 255}};
    for (const auto& [name, row, column] : cases) {
        const XlsAddress read = parse_a1(name);
        EXPECT_EQ(std::pair(read.row, read.column), std::pair(row, column)) << name;
        EXPECT_EQ(format_a1({row, column}), name);
    }
    for (const char* bad : {"", "A", "7", "A0", "1A", "a1", "A1B"})
        EXPECT_THROW(parse_a1(bad), std::invalid_argument) << bad;
}

// One of each kind of cell the grid, the degree list and the sample corrections can meet.
class ConversionsWorkbook : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_before_ = test::read_file_bytes(kWorkbooks / "conversions.xls");
        const auto failure = import_tuning(st_, kWorkbooks / "conversions.xls");
        ASSERT_FALSE(failure.has_value()) << import_failure_message(*failure);
    }
    void TearDown() override {
        EXPECT_EQ(test::read_file_bytes(kWorkbooks / "conversions.xls"), bytes_before_);
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
    // String, position, cents, degree (-1 not looked at).
    const std::tuple<int, int, double, int> cases[] = {
        {1, -8, 0.1, -1},       {1, -7, 150.0, -1},  // text "1.5e2"
        {1, -6, -12.25, -1},                         // text " -12.25 "
        {1, -3, 100.5, -1},                          // shown as the date 1900-04-09 12:00
        {8, 3, 701.955001f, 5}, {9, 1, 300.0, 10},  {2, 4, 444.25, 20},
        {10, -8, 30.0, 30},     {12, 13, 30.0, 30}, {13, 2, 12.75, 40},
        {14, 0, 12.5, 0},       {20, 5, 0.0, 0}};  // named by nobody
    for (const auto& [s, p, cents, degree] : cases) {
        const int seen = degree < 0 ? -1 : st_.tables.degree_at(s, p);
        EXPECT_EQ(std::pair(st_.tables.cents(s, p), seen), std::pair(cents, degree))
            << s << " " << p;
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

// The message names the cell (or the file), the command line's line the workbook and so does
// a workbook refused as a tuning system; the state and the file are left as they were.
TEST(BadWorkbook, ReportsTheCellAndLeavesStateAndFileUntouched) {
    const std::vector<std::tuple<const char*, const char*, const char*>> cases{
        {"bad_text_in_number.xls", "G40", "\"yüz\" bir sayı değil"},
        {"bad_integer_range.xls", "D35", "32767.5 tamsayı sınırlarının (-32768..32767) dışında"},
        {"bad_degree.xls", "E32", "derece numarası 201"},
        {"bad_string.xls", "A33", "tel numarası 27"},
        {"bad_position.xls", "D32", "mandal konumu 14"},
        {"bad_single.xls", "G45", "1E+39"},
        {"bad_single_small.xls", "G45", "1E+39"},  // its stream in 64-byte pieces
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
        const auto file = special ? temp / (name + 5) : kWorkbooks / name;
        const std::string before = special ? "" : test::read_file_bytes(file);
        InstrumentState st;
        st.tables.cents(9, 1) = 123.0;
        st.tables.sample_cents[7] = 3;
        st.build.option4_captions[0] = "eski";
        const auto failure = import_tuning(st, file);
        ASSERT_TRUE(failure.has_value());
        const std::string in_cell = *cell ? std::string("Hücre ") + cell + ": " : "";
        EXPECT_THAT(import_failure_message(*failure),
                    AllOf(StartsWith("Excel yüklü değil veya dizek dosyası yok\r\n"),
                          HasSubstr(in_cell + says)));
        const std::string at = *cell ? "hücre " + std::string(cell) + ": " : "";
        EXPECT_THAT(import_failure_line(file, *failure),  // the file, then the cell if any
                    StartsWith("\"" + file.string() + "\": " + at + says));
        EXPECT_THAT(
            [&] { load_tuning(file, st.tables, {}, ""); },
            Throws<ScalaFileError>(Property(&ScalaFileError::reason, StartsWith(at + says))));
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
// on a zero, and show "?" for what is not a number. The locale's decimal point is printed when
// it is one ASCII character; the Arabic "٫", an empty or a longer text leave the point.
TEST(PictureFormat, PanelAndLegendPatternsWithTheLocalesPoint) {
    const std::tuple<double, const char*, const char*, const char*> cases[] = {
        {-203.5, "########0.0000", ".", "-203.5000"},
        {1234.56789, "########0.0000", ",", "1234,5679"},
        {0.8908987181403393, "0.00000000", ".", "0.89089872"},
        {-5, "##0", ".", "-5"},
        {7, "00", ".", "07"},
        {2.5, "##0", ".", "3"},
        {0.25, "#.00", ".", ".25"},
        {-0.00001, "0.0000", ".", "0.0000"},
        {INFINITY, "########0.0000", ".", "?"},
        {-INFINITY, "##0", ".", "?"},
        {NAN, "0.0000", ".", "?"},
        {0.25, "0.00", "\u066b", "0.25"},
        {0.25, "0.00", "", "0.25"},
        {0.25, "0.00", ",,", "0.25"}};
    for (const auto& [x, picture, point, shown] : cases)
        EXPECT_EQ(format_picture(x, picture, decimal_separator_of(point)), shown) << x << point;
}

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
