#pragma once
// Read-only access to the cells of an Excel 97-2003 workbook (.xls) through FreeXL.
//
// Cells are taken from the workbook's first worksheet: FreeXL does not tell which sheet
// Excel had marked active when the file was saved, and the tuning workbook has one sheet.
// The file is opened for reading only and never written.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

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
        Protected,  // password-protected (encrypted) workbook
        Charset,    // text in a character set that cannot be converted
        Memory,
    };
    XlsError(Problem problem, const std::string& what)
        : std::runtime_error(what), problem_(problem) {}
    Problem problem() const { return problem_; }

  private:
    Problem problem_;
};

struct XlsCell {
    enum class Kind {
        Empty,   // no value
        Number,  // number holds it
        Text,    // text holds it (UTF-8)
        Date,    // a number formatted as date or time; text holds FreeXL's rendering of it
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

class XlsWorkbook {
  public:
    // Opens the file and selects its first worksheet. Throws XlsError with a readable reason
    // when the file is missing, is not an .xls workbook, is damaged or has no worksheet.
    explicit XlsWorkbook(const std::filesystem::path& file);
    ~XlsWorkbook();
    XlsWorkbook(const XlsWorkbook&) = delete;
    XlsWorkbook& operator=(const XlsWorkbook&) = delete;

    // Value of a cell of the first worksheet; a cell beyond the used area is empty.
    // Throws XlsError when the stored value cannot be read.
    XlsCell cell(XlsAddress address) const;
    XlsCell cell(std::string_view a1) const { return cell(parse_a1(a1)); }

    // Extent of the used area of the first worksheet.
    std::uint32_t rows() const { return rows_; }
    std::uint16_t columns() const { return columns_; }

  private:
    const void* handle_ = nullptr;
    std::uint32_t rows_ = 0;
    std::uint16_t columns_ = 0;
    bool base_1904_ = false;  // day numbers count from 1904-01-01 instead of 1899-12-30
};

}  // namespace orvena
