#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/biff_bytes.h"
#include "support/temp_dir.h"
#include "tuning/biff_check.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using ::testing::HasSubstr;
using namespace test;  // the record builders

// A BIFF8 DIMENSION record for a sheet of `rows` rows and `columns` columns.
std::string dimension(std::uint32_t rows, std::uint16_t columns) {
    return record(0x0200, le32(0) + le32(rows) + le16(0) + le16(columns) + le16(0));
}

// FreeXL sizes a sheet's cell table by its DIMENSION record and trusts what follows. Damage:
// a second size, one beyond the format's 65536 rows and 256 columns, a sheet without one or a
// named sheet without records, a cell outside the size or given twice, a cell or size in the
// workbook's own substream, a sheet name among a sheet's records, a text longer than its record.
TEST(DamagedWorkbook, EverySheetIsSizedOnceAndHoldsEachCellOnce) {
    // A NUMBER record at (row, column) and a MULRK of three cells from (row, column).
    const auto number = [](unsigned row, unsigned column) {
        return record(0x0203, le16(row) + le16(column) + std::string(10, '\1'));
    };
    const auto mulrk = [](unsigned row, unsigned column) {
        return record(0x00BD, le16(row) + le16(column) + std::string(18, '\1') + le16(column + 2));
    };
    const std::string named = record(0x0085, std::string("\0\0\0\0\0\0\x05\0dizek", 13));
    // A LABEL record at (row, column) whose text claims `count` 8-bit characters of "abc".
    const auto label = [](unsigned row, unsigned column, unsigned count) {
        return record(0x0204, le16(row) + le16(column) + le16(15) + le16(count) + '\0' + "abc");
    };
    // A workbook stream: its own substream naming `listed` sheets, then the sheets' records.
    const auto book = [&](int listed, const std::string& sheets) {
        std::string own = bof(0x05);
        for (int i = 0; i < listed; ++i) own += named;
        return own + kEof + sheets;
    };
    const auto sheet = [&](const std::string& records) { return bof(0x10) + records + kEof; };
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
        {bof(0x05) + named + number(1, 1) + kEof + sheet(sized), false},
        {bof(0x05) + named + sized + kEof + sheet(sized), false},
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

// FreeXL takes the first directory entry named "Workbook" of the first directory sector; the
// container's own directory tree may name another. An entry outside the tree, ahead of the
// real one, holding the workbook cut short part way through its sheet (sound records still),
// makes FreeXL read another workbook than ours: the file is refused.
TEST(DamagedWorkbook, AWorkbookEntryOutsideTheDirectoryTreeIsRefused) {
    const std::filesystem::path shipped =
        std::filesystem::path(ORVENA_SOURCE_DIR) / "data/dizek.xls";
    std::string bytes = test::read_file_bytes(shipped);
    const auto le16_at = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    // The shipped file: 512-byte sectors, the directory where the header says (entries 0 root,
    // 1 workbook, 2 unused), the workbook stream in sectors 0.. in order.
    const std::size_t directory = 512 + 512 * (le16_at(0x30) + (le16_at(0x32) << 16));
    ASSERT_EQ(bytes.substr(directory + 128, 16), std::string("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
    ASSERT_EQ(bytes[directory + 256 + 0x42], '\0');  // entry 2 unused
    // The first record boundary past the sheet's DIMENSION and 4096 bytes (a shorter stream
    // would live in the mini stream), in the stream that starts at byte 512.
    std::size_t at = 512;
    int bofs = 0, after_dimension = -1;
    while (after_dimension < 1 || at - 512 < 4096) {
        const unsigned id = le16_at(at);
        at += 4 + le16_at(at + 2);
        if (after_dimension >= 0) ++after_dimension;
        if (id == 0x0809) ++bofs;
        if (bofs == 2 && id == 0x0200) after_dimension = 0;
    }
    const std::uint32_t cut = static_cast<std::uint32_t>(at - 512);
    bytes.replace(directory + 256, 128, bytes.substr(directory + 128, 128));  // the tree's copy
    bytes.replace(directory + 0x4C, 4, le32(2));                              // root -> entry 2
    bytes.replace(directory + 128 + 0x78, 4, le32(cut));                      // the stray one

    test::TempDir dir;
    test::write_file_bytes(dir / "dizek.xls", bytes);
    InstrumentState st;
    const auto failure = import_tuning(st, dir / "dizek.xls");
    ASSERT_TRUE(failure.has_value());
    EXPECT_THAT(import_failure_message(*failure),
                HasSubstr("dizek.xls bozuk veya eksik; çalışma kitabının kayıtları okunamıyor"));
}

}  // namespace
}  // namespace orvena
