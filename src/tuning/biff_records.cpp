#include "tuning/biff_records.h"

#include <cstring>

namespace orvena {

namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kBiff8Version = 0x0600;

std::uint16_t le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(le16(b, at)) |
           (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}

struct Record {
    std::uint16_t type = 0;
    std::string_view body;
};

// Walks the records of a stream from an offset: a type, a length and the body.
class Records {
  public:
    Records(std::string_view stream, std::size_t offset) : stream_(stream), pos_(offset) {}

    // The next record; nothing at the end of the stream or where a record is cut short.
    std::optional<Record> next() {
        if (pos_ > stream_.size() || stream_.size() - pos_ < 4) return std::nullopt;
        const std::size_t length = le16(stream_, pos_ + 2);
        if (stream_.size() - pos_ - 4 < length) return std::nullopt;
        Record r{le16(stream_, pos_), stream_.substr(pos_ + 4, length)};
        pos_ += 4 + length;
        return r;
    }
    std::optional<Record> peek() {
        const std::size_t keep = pos_;
        auto r = next();
        pos_ = keep;
        return r;
    }

  private:
    std::string_view stream_;
    std::size_t pos_;
};

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Characters of a BIFF text: one byte each (the low byte of the code, or a BIFF5 byte taken
// as Latin-1) or UTF-16LE units. Collects up to `count` characters from body[at..] and
// returns how many it found.
std::size_t take_chars(std::u16string& out, std::string_view body, std::size_t at,
                       std::size_t count, bool wide) {
    std::size_t taken = 0;
    const std::size_t width = wide ? 2 : 1;
    while (taken < count && at + width <= body.size()) {
        out += wide ? static_cast<char16_t>(le16(body, at))
                    : static_cast<char16_t>(static_cast<unsigned char>(body[at]));
        at += width;
        ++taken;
    }
    return taken;
}

std::string utf8_of(const std::u16string& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone surrogate
        }
        append_utf8(out, c);
    }
    return out;
}

// The text of a STRING record, which may run on into CONTINUE records (each starting with
// its own option byte in BIFF8).
std::string string_record_text(const Record& r, Records& records, bool biff8) {
    if (r.body.size() < 2) return {};
    const std::size_t count = le16(r.body, 0);
    std::u16string units;
    std::size_t got = 0;
    if (biff8) {
        if (r.body.size() < 3) return {};
        got = take_chars(units, r.body, 3, count, (r.body[2] & 1) != 0);
    } else {
        got = take_chars(units, r.body, 2, count, false);
    }
    while (got < count) {
        const auto more = records.peek();
        if (!more || more->type != kContinue || more->body.empty()) break;
        records.next();
        got += biff8 ? take_chars(units, more->body, 1, count - got, (more->body[0] & 1) != 0)
                     : take_chars(units, more->body, 0, count - got, false);
    }
    return utf8_of(units);
}

std::string sheet_name(std::string_view body, bool biff8) {
    if (body.size() < 7) return {};
    const std::size_t count = static_cast<unsigned char>(body[6]);
    std::u16string units;
    if (biff8) {
        if (body.size() < 8) return {};
        take_chars(units, body, 8, count, (body[7] & 1) != 0);
    } else {
        take_chars(units, body, 7, count, false);
    }
    return utf8_of(units);
}

const char* error_text(unsigned code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
    }
    return "#ERROR";
}

// The result of a FORMULA record: 8 bytes that hold a double, or, when their last two bytes
// are FF FF, a type in the first byte (0 text in the following STRING record, 1 boolean,
// 2 error, 3 empty text) and its value in the third.
XlsCell formula_result(const Record& r, Records& records, bool biff8) {
    XlsCell cell;
    const std::string_view v = r.body.substr(6, 8);
    if (le16(v, 6) != 0xFFFF) {
        cell.kind = XlsCell::Kind::Number;
        std::uint64_t bits =
            static_cast<std::uint64_t>(le32(v, 0)) | (static_cast<std::uint64_t>(le32(v, 4)) << 32);
        std::memcpy(&cell.number, &bits, sizeof cell.number);
        return cell;
    }
    const auto type = static_cast<unsigned char>(v[0]);
    const auto value = static_cast<unsigned char>(v[2]);
    switch (type) {
        case 0:
            cell.kind = XlsCell::Kind::Text;
            // The text follows in a STRING record, after any shared or array formula records.
            while (const auto next = records.peek()) {
                if (next->type == kFormula || next->type == kEof || next->type == kBof) break;
                records.next();
                if (next->type == kString) {
                    cell.text = string_record_text(*next, records, biff8);
                    break;
                }
            }
            break;
        case 1:
            cell.kind = XlsCell::Kind::Number;
            cell.number = value != 0 ? 1.0 : 0.0;
            break;
        case 2:
            cell.kind = XlsCell::Kind::Error;
            cell.text = error_text(value);
            break;
        default:  // an empty text
            cell.kind = XlsCell::Kind::Text;
            break;
    }
    return cell;
}

// Calls visit(record, records) for each record of the substream that starts with the BOF
// at offset, up to its EOF, skipping substreams nested in it (charts on a worksheet).
template <typename Visit>
void walk_substream(std::string_view stream, std::size_t offset, Visit visit) {
    Records records(stream, offset);
    const auto bof = records.next();
    if (!bof || bof->type != kBof) return;
    int depth = 1;
    while (const auto r = records.next()) {
        if (r->type == kBof) ++depth;
        if (r->type == kEof && --depth == 0) return;
        if (depth == 1) visit(*r, records);
    }
}

}  // namespace

BiffGlobals read_biff_globals(std::string_view stream) {
    BiffGlobals g;
    Records records(stream, 0);
    const auto bof = records.next();
    if (!bof || bof->type != kBof || bof->body.size() < 2) return g;
    g.biff8 = le16(bof->body, 0) == kBiff8Version;
    while (const auto r = records.next()) {
        if (r->type == kEof) {
            g.complete = true;
            break;
        }
        if (r->type == kFilePass) {
            g.encrypted = true;
            break;
        }
        if (r->type == kBoundSheet && r->body.size() >= 6) {
            g.sheets.push_back({sheet_name(r->body, g.biff8), le32(r->body, 0),
                                static_cast<unsigned char>(r->body[5]) == 0});
        } else if (r->type == kWindow1 && r->body.size() >= 12 && !g.current_tab) {
            g.current_tab = le16(r->body, 10);
        }
    }
    return g;
}

std::optional<std::size_t> active_sheet(const BiffGlobals& globals) {
    if (globals.sheets.empty()) return std::nullopt;
    if (globals.current_tab && *globals.current_tab < globals.sheets.size()) {
        return globals.current_tab;
    }
    return 0;
}

bool sheet_starts_at(std::string_view stream, std::uint32_t offset) {
    const auto bof = Records(stream, offset).next();
    return bof && bof->type == kBof;
}

FormulaResults read_formula_results(std::string_view stream, const BiffSheet& sheet, bool biff8) {
    FormulaResults results;
    walk_substream(stream, sheet.offset, [&](const Record& r, Records& records) {
        if (r.type != kFormula || r.body.size() < 14) return;
        const std::uint32_t row = le16(r.body, 0);
        const std::uint16_t column = le16(r.body, 2);
        results[{row, column}] = formula_result(r, records, biff8);
    });
    return results;
}

}  // namespace orvena
