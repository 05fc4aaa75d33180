#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tuning/compound_document.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using ::testing::HasSubstr;

// The bytes of a workbook whose directory entry `entry` (0 = the root) claims a name of
// `length` bytes. Sectors are 512 bytes; the first directory sector is named at 0x30.
std::string with_name_length(std::string book, int entry, std::uint16_t length) {
    const auto u8 = [&](std::size_t at) { return static_cast<unsigned char>(book[at]); };
    const std::size_t sector = u8(0x30) | (u8(0x31) << 8);
    const std::size_t at = (sector + 1) * 512 + static_cast<std::size_t>(entry) * 128 + 0x40;
    book[at] = static_cast<char>(length & 0xFF);
    book[at + 1] = static_cast<char>(length >> 8);
    return book;
}

// A name length beyond the 64 bytes a directory entry holds is refused as a damaged file
// (FreeXL would read that many bytes from a 128-byte entry); the instrument keeps its tables.
TEST(DamagedDirectory, LongNameLengthIsRefusedAsDamaged) {
    const std::string book = test::read_file_bytes(std::filesystem::path(TEST_DATA_DIR) /
                                                   "workbooks" / "conversions.xls");
    ASSERT_FALSE(book.empty());
    struct Case {
        int entry;
        std::uint16_t length;
        bool imports;
    };
    const Case cases[] = {{0, 64, true}, {0, 66, false}, {1, 0x3737, false}, {3, 0xFFFF, false}};
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.entry) + " " + std::to_string(c.length));
        test::write_file_bytes(dir / "dizek.xls", with_name_length(book, c.entry, c.length));
        InstrumentState st;
        st.option4_captions[0] = "eski";
        const auto failure = import_tuning(st, dir / "dizek.xls");
        EXPECT_EQ(!failure.has_value(), c.imports);
        if (failure) {
            EXPECT_THAT(import_failure_message(*failure), HasSubstr("dizek.xls bozuk veya eksik"));
            EXPECT_EQ(st.option4_captions[0], "eski");
        }
    }
}

// A BIFF record: id, length, body.
std::string record(unsigned id, const std::string& body = {}) {
    return std::string{static_cast<char>(id & 0xFF), static_cast<char>(id >> 8),
                       static_cast<char>(body.size() & 0xFF), static_cast<char>(body.size() >> 8)} +
           body;
}
// A BIFF8 DIMENSION record for a sheet of `rows` rows and `columns` columns.
std::string dimension(std::uint32_t rows, std::uint16_t columns) {
    std::string body(14, '\0');
    for (int i = 0; i < 4; ++i) body[4 + i] = static_cast<char>(rows >> (8 * i));
    body[10] = static_cast<char>(columns & 0xFF);
    body[11] = static_cast<char>(columns >> 8);
    return record(0x0200, body);
}

// FreeXL sizes a sheet's cell table by its DIMENSION record and trusts what follows. Damage:
// a second size, one beyond the format's 65536 rows and 256 columns, a sheet without one or a
// named sheet without records, a cell outside the size or given twice, a cell or size in the
// workbook's own substream, a sheet name among a sheet's records, a text longer than its record.
TEST(DamagedWorkbook, EverySheetIsSizedOnceAndHoldsEachCellOnce) {
    const std::string globals =
        record(0x0809, std::string("\0\x06\x05\0", 4) + std::string(12, '\0'));
    const std::string bof = record(0x0809, std::string("\0\x06\x10\0", 4) + std::string(12, '\0'));
    const std::string eof = record(0x000A);
    // A NUMBER record at (row, column) and a MULRK of three cells from (row, column).
    const auto number = [](std::uint16_t row, std::uint16_t column) {
        return record(0x0203,
                      std::string{static_cast<char>(row & 0xFF), static_cast<char>(row >> 8),
                                  static_cast<char>(column), 0} +
                          std::string(10, '\1'));
    };
    const auto mulrk = [](std::uint16_t row, std::uint16_t column) {
        return record(0x00BD,
                      std::string{static_cast<char>(row & 0xFF), static_cast<char>(row >> 8),
                                  static_cast<char>(column), 0} +
                          std::string(18, '\1') + std::string{static_cast<char>(column + 2), 0});
    };
    const std::string named = record(0x0085, std::string("\0\0\0\0\0\0\x05\0dizek", 13));
    // A LABEL record at (row, column) whose text claims `count` 8-bit characters of "abc".
    const auto label = [](std::uint16_t row, std::uint16_t column, std::uint16_t count) {
        return record(0x0204, std::string{static_cast<char>(row), 0, static_cast<char>(column), 0,
                                          15, 0, static_cast<char>(count), 0, 0} +
                                  "abc");
    };
    // A workbook stream: its own substream naming `listed` sheets, then the sheets' records.
    const auto book = [&](int listed, const std::string& sheets) {
        std::string own = globals;
        for (int i = 0; i < listed; ++i) own += named;
        return own + eof + sheets;
    };
    const auto sheet = [&](const std::string& records) { return bof + records + eof; };
    const std::string sized = dimension(334, 24);
    struct Case {
        std::string stream;
        bool sound;
    };
    const Case cases[] = {
        {book(1, sheet(sized + number(333, 23) + mulrk(0, 21))), true},
        {book(2, sheet(dimension(65536, 256)) + sheet(dimension(0, 0))), true},
        {book(1, sheet(number(400, 30) + sized)), true},
        {book(1, sheet(sized + number(77, 1) + dimension(0x84dc0012, 0xf95d))), false},
        {book(1, sheet(sized + number(334, 0))), false},
        {book(1, sheet(sized + number(0, 24))), false},
        {book(1, sheet(sized + mulrk(5, 22))), false},
        {book(1, sheet(sized + number(10, 1) + mulrk(10, 0))), false},
        {book(1, sheet(sized + named)), false},
        {book(1, sheet(sized + label(3, 4, 3))), true},
        {book(1, sheet(sized + label(3, 4, 4))), false},
        {book(1, sheet(dimension(65537, 24))), false},
        {book(1, sheet(dimension(10, 257))), false},
        {book(2, sheet(sized)), false},
        {book(1, sheet(number(0, 0))), false},
        {globals + named + number(1, 1) + eof + sheet(sized), false},
        {globals + named + sized + eof + sheet(sized), false},
    };
    for (const Case& c : cases) EXPECT_EQ(workbook_records_sound(c.stream), c.sound);

    // The file the fuzzer found: the shipped workbook with a NUMBER record turned DIMENSION.
    const std::filesystem::path found = std::filesystem::path(ORVENA_SOURCE_DIR) /
                                        "tests/fuzz/corpus/workbook/second_dimension_record.xls";
    InstrumentState st;
    const auto failure = import_tuning(st, found);
    ASSERT_TRUE(failure.has_value());
    EXPECT_THAT(import_failure_message(*failure), HasSubstr("bozuk veya eksik"));
}

}  // namespace
}  // namespace orvena
