#pragma once
// Read-only access to the cells of an Excel 97-2003 workbook (.xls) through FreeXL.
//
// Cells are taken from the sheet the workbook marks active (the one a spreadsheet program
// opens on), and a formula cell reads as the result stored with it when the workbook was
// last calculated. FreeXL reports neither, so both come from the workbook's own records
// (tuning/biff_records.h). The file is opened for reading only and never written.

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace orvena {

// The file could not be opened or read as a workbook; problem() says why, what() says it in
// English with the FreeXL error code where there is one.
class XlsError : public std::runtime_error {
  public:
    enum class Problem {
        Missing,      // no such file, or it cannot be read
        NotWorkbook,  // not an Excel 97-2003 (.xls) file at all
        Damaged,      // an .xls file whose structure is broken or cut short
        NoWorksheet,
        ActiveNotWorksheet,  // the sheet the workbook opens on is a chart or macro sheet
        Protected,           // password-protected (encrypted) workbook
        Charset,             // text in a character set that cannot be converted
        Memory,
    };
    XlsError(Problem problem, const std::string& what, std::string detail = {})
        : std::runtime_error(what), problem_(problem), detail_(std::move(detail)) {}
    Problem problem() const { return problem_; }
    // What exactly could not be read, as a Turkish phrase for the user; may be empty.
    const std::string& detail() const { return detail_; }

  private:
    Problem problem_;
    std::string detail_;
};

struct XlsCell {
    enum class Kind {
        Empty,   // no value
        Number,  // number holds it
        Text,    // text holds it (UTF-8)
        Date,    // a number formatted as date or time; text holds FreeXL's rendering of it
        Error,   // a formula whose stored result is an error; text holds it ("#DIV/0!")
    };
    Kind kind = Kind::Empty;
    double number = 0.0;
    std::string text;
};

// A cell position, 0-based.
struct XlsAddress {
    std::uint32_t row = 0;
    std::uint16_t column = 0;
};

// "B11" -> row 10, column 1. Throws std::invalid_argument for anything that is not a
// column of letters followed by a row number from 1.
XlsAddress parse_a1(std::string_view address);
// Row 10, column 1 -> "B11".
std::string format_a1(XlsAddress address);

struct WorkbookRecords;

class XlsWorkbook {
  public:
    // Opens the file and selects its active sheet. Throws XlsError with a readable reason
    // when the file is missing, is not an .xls workbook, is damaged or has no worksheet.
    explicit XlsWorkbook(const std::filesystem::path& file);
    ~XlsWorkbook();
    XlsWorkbook(const XlsWorkbook&) = delete;
    XlsWorkbook& operator=(const XlsWorkbook&) = delete;

    // Value of a cell of the active sheet; a cell beyond the used area is empty.
    // Throws XlsError when the stored value cannot be read.
    XlsCell cell(XlsAddress address) const;
    XlsCell cell(std::string_view a1) const { return cell(parse_a1(a1)); }

    // Extent of the used area of the active sheet.
    std::uint32_t rows() const { return rows_; }
    std::uint16_t columns() const { return columns_; }

  private:
    void select_active_sheet(const std::string& name, const WorkbookRecords& records);

    const void* handle_ = nullptr;
    std::uint32_t rows_ = 0;
    std::uint16_t columns_ = 0;
    bool base_1904_ = false;  // day numbers count from 1904-01-01 instead of 1899-12-30
    // Stored results of the active sheet's formula cells, by 0-based row and column.
    std::map<std::pair<std::uint32_t, std::uint16_t>, XlsCell> formulas_;
};

}  // namespace orvena
