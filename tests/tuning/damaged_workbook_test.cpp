// Workbooks damaged where the reading library trusts them: refused with a message.

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

std::uint32_t le32_at(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::string import_message(const std::string& bytes) {
    TempDir dir;
    write_file_bytes(dir / "dizek.xls", bytes);
    InstrumentState st;
    const auto failure = import_tuning(st, dir / "dizek.xls");
    if (!failure) return "accepted";
    EXPECT_EQ(failure->cell, "");
    return import_failure_message(*failure);
}

// The shipped workbook with one record of its workbook stream changed in place (the stream
// lies in consecutive sectors, so its records are found in the file's bytes).
TEST(DamagedWorkbook, MessageSaysWhatCouldNotBeRead) {
    const std::string shipped = read_file_bytes(source_dir() / "data" / "dizek.xls");
    // The workbook globals' BOF (BIFF8) and the sheet list entry of the one sheet "dizek".
    const std::size_t s = shipped.find(std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8));
    const std::size_t r = shipped.find(std::string("\x85\x00\x0d\x00", 4));
    ASSERT_EQ(shipped.substr(r + 12, 5), "dizek");
    const std::pair<std::size_t, const char*> cases[] = {
        {r, "içinde çalışma sayfası yok"},  // the sheet list names no sheet
        {r + 2, "bozuk veya eksik; sayfa listesi yarıda kesilmiş"},
        {s + le32_at(shipped, r + 4) - 4,
         "bozuk veya eksik; çalışma kitabının kayıtları okunamıyor"},
        {r + 7, "bozuk veya eksik; \"dizek\" sayfası okunamıyor"},           // beyond the stream
        {r + 9, "açıldığında gösterilen sayfa bir çalışma sayfası değil"}};  // a chart
    for (const auto& [at, says] : cases) {
        std::string bytes = shipped;
        bytes[at] = at == r ? '\x86' : at == r + 7 ? '\x7F' : at == r + 9 ? '\x02' : '\x0B';
        if (at == r + 2) bytes[r + 2] = bytes[r + 3] = '\xFF';  // the list past the stream's end
        EXPECT_EQ(import_message(bytes),
                  "Excel yüklü değil veya dizek dosyası yok\r\nexcel.exe or dizek not found\r\n"
                  "dizek.xls " +
                      std::string(says));
    }
}

std::string dimension(std::uint32_t rows, std::uint16_t columns) {
    return record(0x0200, le32(0) + le32(rows) + le16(0) + le16(columns) + le16(0));
}

// Every sheet is sized once, within 65536 rows and 256 columns, before its cells; the
// workbook's own substream holds no cells. (The damage the fuzzer found, a second size, a cell
// given twice, a text longer than its record, is replayed from its corpus.)
TEST(DamagedWorkbook, EverySheetIsSizedWithinTheFormatsLimits) {
    const std::string number = record(0x0203, le16(1) + le16(1) + std::string(10, '\1'));
    const std::string named = record(0x0085, std::string("\0\0\0\0\0\0\x05\0dizek", 13));
    const auto book = [&](const std::string& own, const std::string& records) {
        return bof(0x05) + named + own + kEof + bof(0x10) + records + kEof;
    };
    const std::pair<std::string, bool> cases[] = {{book("", dimension(65536, 256) + number), true},
                                                  {book("", dimension(65537, 24)), false},
                                                  {book("", dimension(10, 257)), false},
                                                  {book("", number), false},
                                                  {book(number, dimension(10, 10)), false},
                                                  {book(dimension(10, 10), ""), false}};
    for (const auto& [stream, sound] : cases) EXPECT_EQ(workbook_records_sound(stream), sound);
}

// The reading library takes the first directory entry named "Workbook"; the container's tree
// may name another. An entry outside the tree, ahead of the real one, holding the workbook cut
// short within its sheet (sound records still) would have another workbook read than ours.
TEST(DamagedWorkbook, AWorkbookEntryOutsideTheDirectoryTreeIsRefused) {
    std::string bytes = read_file_bytes(source_dir() / "data" / "dizek.xls");
    const auto le16_at = [&](std::size_t at) { return le32_at(bytes + "\0\0", at) & 0xFFFF; };
    // 512-byte sectors, the directory where the header says (entries 0 root, 1 workbook, 2
    // unused), the workbook stream from byte 512 in order.
    const std::size_t directory = 512 + 512 * (le16_at(0x30) + (le16_at(0x32) << 16));
    ASSERT_EQ(bytes.substr(directory + 128, 16), std::string("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
    ASSERT_EQ(bytes[directory + 256 + 0x42], '\0');
    // The first record boundary past the sheet's DIMENSION and 4096 bytes (a shorter stream
    // would live in the mini stream).
    std::size_t at = 512;
    int bofs = 0, after_dimension = -1;
    while (after_dimension < 1 || at - 512 < 4096) {
        const unsigned id = le16_at(at);
        at += 4 + le16_at(at + 2);
        if (after_dimension >= 0) ++after_dimension;
        if (id == 0x0809) ++bofs;
        if (bofs == 2 && id == 0x0200) after_dimension = 0;
    }
    bytes.replace(directory + 256, 128, bytes.substr(directory + 128, 128));  // the tree's copy
    bytes.replace(directory + 0x4C, 4, le32(2));                              // root -> entry 2
    bytes.replace(directory + 128 + 0x78, 4, le32(static_cast<std::uint32_t>(at - 512)));
    EXPECT_THAT(import_message(bytes),
                HasSubstr("dizek.xls bozuk veya eksik; çalışma kitabının kayıtları okunamıyor"));
}

}  // namespace
}  // namespace orvena
