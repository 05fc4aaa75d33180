#include "tuning/biff_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace orvena {

namespace {

constexpr unsigned kBof = 0x0809;
constexpr unsigned kEof = 0x000A;
constexpr unsigned kGlobals = 0x0005;  // BOF type of the workbook's own substream
constexpr unsigned kBoundSheet = 0x0085;
constexpr unsigned kFormat = 0x041E;
constexpr unsigned kLabel = 0x0204;
constexpr unsigned kRichLabel = 0x00D6;
constexpr unsigned kDimension = 0x0200;
constexpr unsigned kMulRk = 0x00BD;
constexpr unsigned kMulBlank = 0x00BE;
// Records of one cell each: row and column first.
constexpr std::array<unsigned, 8> kCells = {0x0006, 0x00D6, 0x00FD, 0x0201,
                                            0x0203, 0x0204, 0x0205, 0x027E};
constexpr std::uint32_t kMaxRows = 65536;
constexpr unsigned kMaxColumns = 256;
constexpr std::size_t kMaxDepth = 16;  // substreams (embedded charts) inside substreams

unsigned le16(const unsigned char* p) {
    return static_cast<unsigned>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Whether the text of a record fits in it: a count of characters (16 or 8 bits wide) at
// `at`, then in BIFF8 a flags byte (wide characters, and optional fields before them) and
// the characters. FreeXL copies as many as the count says from a buffer of fixed size.
bool text_fits(const unsigned char* body, unsigned length, unsigned at, bool wide_count,
               bool biff8) {
    const unsigned count_size = wide_count ? 2 : 1;
    if (at + count_size > length) return false;
    const unsigned count = wide_count ? le16(body + at) : body[at];
    std::uint64_t end = at + count_size;
    std::uint64_t width = 1;
    if (biff8) {
        if (end + 1 > length) return false;
        const unsigned flags = body[end];
        end += 1 + ((flags & 0x08) ? 2 : 0) + ((flags & 0x04) ? 4 : 0);
        width = (flags & 0x01) ? 2 : 1;
    }
    return end + count * width <= length;
}

struct Record {
    unsigned id;
    unsigned length;
    const unsigned char* body;
};

// The substreams open at the record being read, and what was seen in them so far.
class RecordsCheck {
  public:
    // Each returns false on damage.
    bool begin_substream(const Record& r);
    bool end_substream();
    bool texts_fit(const Record& r) const;
    bool sheet_listed_in_globals(const Record& r);
    bool sheet_record(const Record& r);
    // After the last record: every named sheet has its records, sized.
    bool complete() const;

  private:
    struct Substream {
        unsigned type = 0;
        bool sized = false;  // its DIMENSION record has been read
        std::uint32_t rows = 0;
        unsigned columns = 0;
        std::vector<bool> filled;  // cells given a value, row by row
    };
    bool size_sheet(Substream& sheet, const Record& r);
    bool fill_cells(Substream& sheet, const Record& r, bool runs);

    std::vector<Substream> open_;
    bool biff8_ = true;  // Excel 97 and later; BIFF5 (Excel 95) texts have no flags byte
    int listed_ = 0;     // sheets named in the workbook's own substream
    int sheets_ = 0;     // sheet substreams
};

bool RecordsCheck::begin_substream(const Record& r) {
    if (open_.size() == kMaxDepth) return false;
    if (open_.empty() && r.length >= 2) biff8_ = le16(r.body) == 0x0600;
    open_.push_back({r.length >= 4 ? le16(r.body + 2) : 0});
    if (open_.size() == 1 && open_.back().type != kGlobals) ++sheets_;
    return true;
}

bool RecordsCheck::end_substream() {
    if (open_.empty()) return true;
    // FreeXL sizes a sheet without DIMENSION after reading everything, into the table of
    // whichever sheet it read last, leaking that one's cells.
    if (open_.size() == 1 && open_.back().type != kGlobals && !open_.back().sized) return false;
    open_.pop_back();
    return true;
}

bool RecordsCheck::texts_fit(const Record& r) const {
    if ((r.id == kLabel || r.id == kRichLabel) && !text_fits(r.body, r.length, 6, true, biff8_))
        return false;
    if (r.id == kFormat && !text_fits(r.body, r.length, 2, biff8_, biff8_)) return false;
    if (r.id == kBoundSheet && !text_fits(r.body, r.length, 6, false, biff8_)) return false;
    return true;
}

bool RecordsCheck::sheet_listed_in_globals(const Record& r) {
    if (r.id != kBoundSheet) return true;
    // FreeXL makes a sheet of every BOUNDSHEET record; one among a sheet's records leaves
    // that sheet's cell table behind when the sheet list changes under it.
    if (open_.empty() || open_.back().type != kGlobals) return false;
    ++listed_;
    return true;
}

bool RecordsCheck::sheet_record(const Record& r) {
    const bool runs = r.id == kMulRk || r.id == kMulBlank;
    const bool cell = runs || std::find(kCells.begin(), kCells.end(), r.id) != kCells.end();
    if (r.id != kDimension && !cell) return true;
    // Sheet sizes and cells belong to a sheet: FreeXL has no sheet to put them in elsewhere
    // (and leaks a cell's text when it gives up).
    if (open_.empty() || open_.back().type == kGlobals) return false;
    Substream& sheet = open_.back();
    return r.id == kDimension ? size_sheet(sheet, r) : fill_cells(sheet, r, runs);
}

bool RecordsCheck::size_sheet(Substream& sheet, const Record& r) {
    // FreeXL allocates the cell table by the first one and walks it by the last.
    if (sheet.sized) return false;
    if (r.length >= 14) {  // BIFF8: 32-bit rows
        sheet.rows = le32(r.body + 4);
        sheet.columns = le16(r.body + 10);
    } else if (r.length >= 10) {  // BIFF5
        sheet.rows = le16(r.body + 2);
        sheet.columns = le16(r.body + 6);
    } else {
        return false;
    }
    if (sheet.rows > kMaxRows || sheet.columns > kMaxColumns) return false;
    sheet.sized = true;
    sheet.filled.assign(std::size_t{sheet.rows} * sheet.columns, false);
    return true;
}

bool RecordsCheck::fill_cells(Substream& sheet, const Record& r, bool runs) {
    // A cell outside the table makes FreeXL give up on the file, leaking the cell's text.
    if (!sheet.sized || r.length < 4) return true;
    const unsigned row = le16(r.body);
    unsigned last_column = le16(r.body + 2);
    if (runs) {
        // row, first column, a run of cells, last column
        const unsigned each = r.id == kMulRk ? 6 : 2;
        if (r.length < 6 + each) return false;
        last_column += (r.length - 6) / each - 1;
    }
    if (row >= sheet.rows || last_column >= sheet.columns) return false;
    // A second value for a cell makes FreeXL drop the first without freeing its text.
    for (unsigned column = le16(r.body + 2); column <= last_column; ++column) {
        const std::size_t slot = std::size_t{row} * sheet.columns + column;
        if (sheet.filled[slot]) return false;
        sheet.filled[slot] = true;
    }
    return true;
}

bool RecordsCheck::complete() const {
    // FreeXL sizes the others in the same faulty way.
    if (!open_.empty() && open_.front().type != kGlobals && !open_.front().sized) return false;
    return listed_ == sheets_;
}

}  // namespace

bool workbook_records_sound(const std::string& stream) {
    RecordsCheck check;
    const auto* p = reinterpret_cast<const unsigned char*>(stream.data());
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const Record r{le16(p + at), le16(p + at + 2), p + at + 4};
        if (at + 4 + r.length > stream.size()) break;  // padding after the last record
        at += 4 + r.length;
        if (r.id == kBof) {
            if (!check.begin_substream(r)) return false;
        } else if (r.id == kEof) {
            if (!check.end_substream()) return false;
        } else if (!check.texts_fit(r) || !check.sheet_listed_in_globals(r) ||
                   !check.sheet_record(r)) {
            return false;
        }
    }
    return check.complete();
}

}  // namespace orvena
