#pragma once
// What a workbook stream (BIFF8, Excel 97-2003, and BIFF5, Excel 5.0/95) holds beyond the
// cell values FreeXL reports: which sheet the workbook marks active, and the result that the
// spreadsheet stored with each formula cell when it last calculated it. Read from the
// stream's own records; pure functions over bytes, any thread.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tuning/xls_workbook.h"

namespace orvena {

struct BiffSheet {
    std::string name;          // UTF-8
    std::uint32_t offset = 0;  // stream offset of the sheet's BOF record
    bool worksheet = true;     // false for chart, macro and module sheets
};

struct BiffGlobals {
    bool biff8 = true;  // false: BIFF5 (byte strings)
    std::vector<BiffSheet> sheets;
    std::optional<std::size_t> current_tab;  // WINDOW1's current tab, as stored
    bool complete = false;                   // the workbook globals end with their EOF record
    bool encrypted = false;                  // a FILEPASS record: what follows it is encrypted
};

BiffGlobals read_biff_globals(std::string_view stream);

// The sheet the workbook opens on: WINDOW1's current tab when it names a sheet, else the
// first sheet. Nothing when the workbook lists no sheet.
std::optional<std::size_t> active_sheet(const BiffGlobals& globals);

// True when a sheet's BOF record lies at offset.
bool sheet_starts_at(std::string_view stream, std::uint32_t offset);

// The stored result of every formula cell of a sheet, by 0-based row and column: a number
// (a TRUE or FALSE result as 1 or 0), a text, an empty text, or an error ("#DIV/0!").
using FormulaResults = std::map<std::pair<std::uint32_t, std::uint16_t>, XlsCell>;
FormulaResults read_formula_results(std::string_view stream, const BiffSheet& sheet, bool biff8);

}  // namespace orvena
