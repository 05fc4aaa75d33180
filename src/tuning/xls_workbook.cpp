#include "tuning/xls_workbook.h"

#include <freexl.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>

#include "files/user_file.h"
#include "tuning/biff_records.h"
#include "tuning/compound_document.h"
#include "tuning/compound_file.h"

namespace orvena {

namespace {

// Far above any tuning workbook (the shipped one is a few tens of kilobytes).
constexpr std::size_t kMaxWorkbookStream = 64u << 20;
constexpr std::size_t kMaxWorkbookFile = 2 * kMaxWorkbookStream;

XlsError::Problem problem_of(int code) {
    switch (code) {
        case FREEXL_FILE_NOT_FOUND:
            return XlsError::Problem::Missing;
        case FREEXL_INSUFFICIENT_MEMORY:
            return XlsError::Problem::Memory;
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_CFBF_INVALID_SIGNATURE:
            return XlsError::Problem::NotWorkbook;
        case FREEXL_BIFF_ILLEGAL_SHEET_INDEX:
            return XlsError::Problem::NoWorksheet;
        case FREEXL_UNSUPPORTED_CHARSET:
        case FREEXL_INVALID_CHARACTER:
            return XlsError::Problem::Charset;
        default:
            return XlsError::Problem::Damaged;
    }
}

[[noreturn]] void fail(int code, const std::string& where, std::string detail = {}) {
    throw XlsError(problem_of(code), where + ": FreeXL error " + std::to_string(code),
                   std::move(detail));
}

// Day number of a civil date, 0 = 1970-01-01 (proleptic Gregorian).
long days_from_civil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

// FreeXL hands date and time cells over as text ("2024-03-01", "2024-03-01 12:30:00",
// "12:30:00"); turn that back into the spreadsheet's day count, which is the value the
// cell holds.
double serial_of(const std::string& text, bool base_1904) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    double days = 0.0;
    double seconds = 0.0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6 ||
        std::sscanf(text.c_str(), "%d-%d-%d", &y, &mo, &d) == 3) {
        const long base = base_1904 ? days_from_civil(1904, 1, 1) : days_from_civil(1899, 12, 30);
        days = static_cast<double>(
            days_from_civil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) - base);
        seconds = h * 3600.0 + mi * 60.0 + s;
    } else if (std::sscanf(text.c_str(), "%d:%d:%d", &h, &mi, &s) == 3) {
        seconds = h * 3600.0 + mi * 60.0 + s;
    } else {
        throw XlsError(XlsError::Problem::Damaged,
                       "a date cell holds \"" + text + "\", which is not a date");
    }
    return days + seconds / 86400.0;
}

}  // namespace

// The workbook stream and what its records say about the sheets.
struct WorkbookRecords {
    std::string stream;
    BiffGlobals globals;
    std::size_t active = 0;
};

namespace {

// `bytes` holds the whole file, named `name`.
WorkbookRecords read_workbook_records(const std::string& name, const std::string& bytes) {
    WorkbookRecords out;
    auto stream = read_compound_stream(bytes, {"Workbook", "Book"}, kMaxWorkbookStream);
    if (!stream) {
        throw XlsError(XlsError::Problem::Damaged, name + ": the workbook stream cannot be read",
                       "çalışma kitabı bölümü okunamıyor");
    }
    out.stream = std::move(*stream);
    out.globals = read_biff_globals(out.stream);
    if (out.globals.encrypted) throw XlsError(XlsError::Problem::Protected, name + ": encrypted");
    const auto active = active_sheet(out.globals);
    if (!active) {
        // A sheet list that ends properly and names no sheet really has none; otherwise the
        // workbook was cut short before its sheets.
        if (out.globals.complete) {
            throw XlsError(XlsError::Problem::NoWorksheet, name + ": no sheet");
        }
        throw XlsError(XlsError::Problem::Damaged, name + ": the sheet list is cut short",
                       "sayfa listesi yarıda kesilmiş");
    }
    out.active = *active;
    const BiffSheet& sheet = out.globals.sheets[out.active];
    if (!sheet.worksheet) {
        throw XlsError(XlsError::Problem::ActiveNotWorksheet,
                       name + ": the active sheet \"" + sheet.name + "\" is not a worksheet");
    }
    if (!sheet_starts_at(out.stream, sheet.offset)) {
        throw XlsError(XlsError::Problem::Damaged,
                       name + ": the active sheet \"" + sheet.name + "\" cannot be found",
                       "\"" + sheet.name + "\" sayfası okunamıyor");
    }
    return out;
}

}  // namespace

XlsAddress parse_a1(std::string_view address) {
    std::size_t i = 0;
    std::uint32_t column = 0;
    while (i < address.size() && address[i] >= 'A' && address[i] <= 'Z') {
        column = column * 26 + static_cast<std::uint32_t>(address[i] - 'A' + 1);
        if (column > std::numeric_limits<std::uint16_t>::max()) break;
        ++i;
    }
    std::uint32_t row = 0;
    const std::size_t digits_start = i;
    while (i < address.size() && address[i] >= '0' && address[i] <= '9' && row < 10'000'000) {
        row = row * 10 + static_cast<std::uint32_t>(address[i] - '0');
        ++i;
    }
    if (column == 0 || digits_start == 0 || i == digits_start || i != address.size() || row == 0 ||
        column > std::numeric_limits<std::uint16_t>::max()) {
        throw std::invalid_argument("not a cell address: " + std::string(address));
    }
    return {row - 1, static_cast<std::uint16_t>(column - 1)};
}

std::string format_a1(XlsAddress address) {
    std::string letters;
    for (std::uint32_t c = address.column + 1u; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return letters + std::to_string(address.row + 1u);
}

XlsWorkbook::XlsWorkbook(const std::filesystem::path& file) {
    std::error_code ec;
    const std::string name = file.string();
    if (!std::filesystem::is_regular_file(file, ec)) fail(FREEXL_FILE_NOT_FOUND, name);
    // The file is read once: libgsf opens the container from these bytes for our reading of
    // the records, and the check below looks at them as FreeXL will.
    const UserFileRead read = read_user_file(file, kMaxWorkbookFile);
    if (read.problem) fail(FREEXL_FILE_NOT_FOUND, name);
    // FreeXL reports a file that is not a compound document at all as a read error; tell that
    // case apart, since it is the likely one (a workbook saved as .xlsx or as text).
    std::string freexl_stream;
    const CompoundCheck check = check_compound_document(read.bytes, freexl_stream);
    if (check == CompoundCheck::not_compound) {
        throw XlsError(XlsError::Problem::NotWorkbook, name + ": not a compound document");
    }
    // Our own reading of the workbook's records first: where the file is damaged, it names
    // what is damaged.
    const WorkbookRecords records = read_workbook_records(name, read.bytes);
    // Damage that FreeXL would read past its own buffers on is refused before it opens the
    // file, and so is a file where FreeXL would read another workbook stream than ours.
    if (check == CompoundCheck::damaged ||
        (!freexl_stream.empty() && freexl_stream != records.stream)) {
        throw XlsError(XlsError::Problem::Damaged, name + ": damaged compound document",
                       "çalışma kitabının kayıtları okunamıyor");
    }
    int rc = freexl_open(name.c_str(), &handle_);
    if (rc != FREEXL_OK) {
        if (handle_ != nullptr) freexl_close(handle_);
        handle_ = nullptr;
        fail(rc, name);
    }
    try {
        // Some damage makes FreeXL give up while it reads the records and still answer OK,
        // without a workbook.
        if (handle_ == nullptr) {
            throw XlsError(XlsError::Problem::Damaged, name + ": FreeXL read no workbook",
                           "çalışma kitabının kayıtları okunamıyor");
        }
        unsigned int info = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
            info == FREEXL_BIFF_OBFUSCATED) {
            throw XlsError(XlsError::Problem::Protected, name + ": password-protected");
        }
        if (freexl_get_info(handle_, FREEXL_BIFF_DATEMODE, &info) == FREEXL_OK) {
            base_1904_ = info == FREEXL_BIFF_DATEMODE_1904;
        }
        select_active_sheet(name, records);
        unsigned int rows = 0;
        unsigned short columns = 0;
        rc = freexl_worksheet_dimensions(handle_, &rows, &columns);
        if (rc != FREEXL_OK)
            fail(rc, name + ": the size of the active sheet", "sayfanın boyutu okunamıyor");
        rows_ = rows;
        columns_ = columns;
    } catch (...) {
        if (handle_ != nullptr) freexl_close(handle_);
        handle_ = nullptr;
        throw;
    }
}

void XlsWorkbook::select_active_sheet(const std::string& name, const WorkbookRecords& records) {
    const BiffSheet& sheet = records.globals.sheets[records.active];
    unsigned int count = 0;
    int rc = freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count);
    if (rc != FREEXL_OK) fail(rc, name + ": the sheet count", "sayfa sayısı okunamıyor");
    // FreeXL numbers the sheets as the workbook lists them; should its list differ from
    // ours, the name decides.
    std::optional<unsigned int> index;
    if (count == records.globals.sheets.size()) index = static_cast<unsigned int>(records.active);
    for (unsigned int i = 0; !index && i < count; ++i) {
        const char* listed = nullptr;
        if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &listed) ==
                FREEXL_OK &&
            listed != nullptr && sheet.name == listed) {
            index = i;
        }
    }
    if (!index) {
        throw XlsError(XlsError::Problem::Damaged,
                       name + ": the active sheet \"" + sheet.name + "\" cannot be read",
                       "\"" + sheet.name + "\" sayfası okunamıyor");
    }
    rc = freexl_select_active_worksheet(handle_, static_cast<unsigned short>(*index));
    if (rc != FREEXL_OK) fail(rc, name + ": selecting the active sheet", "etkin sayfa seçilemiyor");
    formulas_ = read_formula_results(records.stream, sheet, records.globals.biff8);
}

XlsWorkbook::~XlsWorkbook() {
    if (handle_ != nullptr) freexl_close(handle_);
}

XlsCell XlsWorkbook::cell(XlsAddress address) const {
    // FreeXL reports a formula cell as empty; its stored result is the cell's value.
    if (const auto f = formulas_.find({address.row, address.column}); f != formulas_.end()) {
        return f->second;
    }
    XlsCell out;
    if (address.row >= rows_ || address.column >= columns_) return out;
    FreeXL_CellValue value{};
    const int rc = freexl_get_cell_value(handle_, address.row, address.column, &value);
    if (rc == FREEXL_ILLEGAL_CELL_ROW_COL) return out;
    if (rc != FREEXL_OK) fail(rc, "cell " + format_a1(address));
    switch (value.type) {
        case FREEXL_CELL_INT:
            out.kind = XlsCell::Kind::Number;
            out.number = value.value.int_value;
            break;
        case FREEXL_CELL_DOUBLE:
            out.kind = XlsCell::Kind::Number;
            out.number = value.value.double_value;
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            out.kind = XlsCell::Kind::Text;
            out.text = value.value.text_value != nullptr ? value.value.text_value : "";
            break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            out.kind = XlsCell::Kind::Date;
            out.text = value.value.text_value != nullptr ? value.value.text_value : "";
            out.number = serial_of(out.text, base_1904_);
            break;
        default:  // FREEXL_CELL_NULL
            break;
    }
    return out;
}

}  // namespace orvena
