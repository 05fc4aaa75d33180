#include "tuning/compound_document.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace orvena {

namespace {

constexpr std::array<unsigned char, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                                     0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kEntrySize = 128;
constexpr unsigned kMaxNameLength = 64;  // bytes: 32 UTF-16 code units, terminator included
constexpr std::size_t kHeaderFatSlots = 109;

unsigned le16(const unsigned char* p) {
    return static_cast<unsigned>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The sectors of a compound document held in memory, and the chains through them.
class Sectors {
  public:
    Sectors(const std::string& file, std::size_t sector_size) : file_(file), size_(sector_size) {}

    std::size_t count() const { return (file_.size() - kHeaderSize) / size_; }
    const unsigned char* sector(std::uint32_t n) const {
        return reinterpret_cast<const unsigned char*>(file_.data()) + kHeaderSize + n * size_;
    }

    // Follows a chain through `table` from `first`, appending each link's bytes (of
    // `unit` bytes, read by `at`) until `length` bytes are gathered. Nothing when the chain
    // leaves the table, loops or ends too soon.
    template <typename At>
    static std::optional<std::string> chain(const std::vector<std::uint32_t>& table,
                                            std::uint32_t first, std::uint64_t length,
                                            std::size_t unit, At at) {
        std::string out;
        std::uint32_t link = first;
        for (std::size_t steps = 0; out.size() < length; ++steps) {
            if (link >= table.size() || steps >= table.size()) return std::nullopt;
            const unsigned char* bytes = at(link);
            if (bytes == nullptr) return std::nullopt;
            out.append(reinterpret_cast<const char*>(bytes), unit);
            link = table[link];
        }
        out.resize(static_cast<std::size_t>(length));
        return out;
    }

    std::optional<std::string> stream(const std::vector<std::uint32_t>& fat, std::uint32_t first,
                                      std::uint64_t length) const {
        return chain(fat, first, length, size_,
                     [this](std::uint32_t n) { return n < count() ? sector(n) : nullptr; });
    }

  private:
    const std::string& file_;
    std::size_t size_;
};

// The FAT: its sectors are listed in the header (the first 109) and in a chain of DIFAT
// sectors, each ending with the number of the next one.
std::optional<std::vector<std::uint32_t>> read_fat(const unsigned char* header,
                                                   const Sectors& sectors,
                                                   std::size_t sector_size) {
    const std::uint32_t fat_sectors = le32(header + 0x2C);
    if (fat_sectors > sectors.count()) return std::nullopt;
    std::vector<std::uint32_t> where;
    for (std::size_t i = 0; i < kHeaderFatSlots && where.size() < fat_sectors; ++i) {
        where.push_back(le32(header + 0x4C + 4 * i));
    }
    const std::size_t per_difat = sector_size / 4 - 1;
    std::uint32_t difat = le32(header + 0x44);
    for (std::size_t steps = 0; where.size() < fat_sectors; ++steps) {
        if (difat >= sectors.count() || steps > sectors.count()) return std::nullopt;
        const unsigned char* s = sectors.sector(difat);
        for (std::size_t i = 0; i < per_difat && where.size() < fat_sectors; ++i) {
            where.push_back(le32(s + 4 * i));
        }
        difat = le32(s + 4 * per_difat);
    }
    std::vector<std::uint32_t> fat;
    for (const std::uint32_t n : where) {
        if (n >= sectors.count()) return std::nullopt;
        const unsigned char* s = sectors.sector(n);
        for (std::size_t i = 0; i < sector_size / 4; ++i) fat.push_back(le32(s + 4 * i));
    }
    return fat;
}

std::string utf16_name(const unsigned char* entry) {
    const unsigned length = le16(entry + 0x40);
    std::string name;
    for (unsigned i = 0; i + 1 < length; i += 2) {
        const unsigned c = le16(entry + i);
        if (c == 0) break;
        name += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return name;
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

CompoundCheck check_bytes(const std::string& file) {
    const auto* header = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < kSignature.size() ||
        std::memcmp(header, kSignature.data(), kSignature.size()) != 0) {
        return CompoundCheck::not_compound;
    }
    if (file.size() < kHeaderSize) return CompoundCheck::damaged;
    // Sectors of 512 bytes (version 3) or 4096 bytes (version 4); sector n starts after the
    // header, at (n + 1) * size (a version 4 header is padded to a whole sector).
    const unsigned shift = le16(header + 0x1E);
    if (shift != 9 && shift != 12) return CompoundCheck::damaged;
    const std::size_t sector_size = std::size_t{1} << shift;
    if (file.size() < sector_size) return CompoundCheck::damaged;
    const Sectors sectors(file, sector_size);

    // FreeXL reads the first directory sector only, entry by entry until the workbook.
    const std::uint32_t directory = le32(header + 0x30);
    if (directory >= sectors.count()) return CompoundCheck::damaged;
    const unsigned char* entries = sectors.sector(directory);
    const unsigned char* workbook = nullptr;
    const unsigned char* root = nullptr;
    for (std::size_t at = 0; at + kEntrySize <= sector_size; at += kEntrySize) {
        const unsigned char* entry = entries + at;
        if (le16(entry + 0x40) > kMaxNameLength) return CompoundCheck::damaged;
        const std::string name = utf16_name(entry);
        if (name == "Root Entry" && root == nullptr) root = entry;
        if ((name == "Workbook" || name == "Book") && workbook == nullptr) workbook = entry;
    }
    if (workbook == nullptr) return CompoundCheck::ok;  // FreeXL says so itself

    const auto fat = read_fat(header, sectors, sector_size);
    if (!fat) return CompoundCheck::damaged;
    const std::uint32_t first = le32(workbook + 0x74);
    const std::uint32_t length = le32(workbook + 0x78);
    std::optional<std::string> stream;
    if (length >= le32(header + 0x38)) {
        stream = sectors.stream(*fat, first, length);
    } else {
        // A small stream lives in 64-byte pieces of the mini stream (the root entry's data),
        // chained by the mini FAT.
        if (root == nullptr) return CompoundCheck::damaged;
        const auto mini_fat_bytes = sectors.stream(
            *fat, le32(header + 0x3C), std::uint64_t{le32(header + 0x40)} * sector_size);
        const auto mini_stream = sectors.stream(*fat, le32(root + 0x74), le32(root + 0x78));
        if (!mini_fat_bytes || !mini_stream) return CompoundCheck::damaged;
        std::vector<std::uint32_t> mini_fat;
        for (std::size_t i = 0; i + 4 <= mini_fat_bytes->size(); i += 4) {
            mini_fat.push_back(
                le32(reinterpret_cast<const unsigned char*>(mini_fat_bytes->data()) + i));
        }
        const std::string& mini = *mini_stream;
        stream = Sectors::chain(mini_fat, first, length, 64, [&mini](std::uint32_t n) {
            return (std::uint64_t{n} + 1) * 64 <= mini.size()
                       ? reinterpret_cast<const unsigned char*>(mini.data()) + n * 64
                       : nullptr;
        });
    }
    if (!stream) return CompoundCheck::damaged;
    return workbook_records_sound(*stream) ? CompoundCheck::ok : CompoundCheck::damaged;
}

}  // namespace

CompoundCheck check_compound_document(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return CompoundCheck::unreadable;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return check_bytes(bytes);
}

bool workbook_records_sound(const std::string& stream) {
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

    struct Substream {
        unsigned type = 0;
        bool sized = false;  // its DIMENSION record has been read
        std::uint32_t rows = 0;
        unsigned columns = 0;
        std::vector<bool> filled;  // cells given a value, row by row
    };
    std::vector<Substream> open;
    bool biff8 = true;  // Excel 97 and later; BIFF5 (Excel 95) texts have no flags byte
    int listed = 0;     // sheets named in the workbook's own substream
    int sheets = 0;     // sheet substreams
    const auto* p = reinterpret_cast<const unsigned char*>(stream.data());
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned id = le16(p + at);
        const unsigned length = le16(p + at + 2);
        const unsigned char* body = p + at + 4;
        if (at + 4 + length > stream.size()) break;  // padding after the last record
        at += 4 + length;
        if (id == kBof) {
            if (open.size() == kMaxDepth) return false;
            if (open.empty() && length >= 2) biff8 = le16(body) == 0x0600;
            open.push_back({length >= 4 ? le16(body + 2) : 0});
            if (open.size() == 1 && open.back().type != kGlobals) ++sheets;
            continue;
        }
        if (id == kEof) {
            if (open.empty()) continue;
            // FreeXL sizes a sheet without DIMENSION after reading everything, into the table
            // of whichever sheet it read last, leaking that one's cells.
            if (open.size() == 1 && open.back().type != kGlobals && !open.back().sized) {
                return false;
            }
            open.pop_back();
            continue;
        }
        if ((id == kLabel || id == kRichLabel) && !text_fits(body, length, 6, true, biff8)) {
            return false;
        }
        if (id == kFormat && !text_fits(body, length, 2, biff8, biff8)) return false;
        if (id == kBoundSheet && !text_fits(body, length, 6, false, biff8)) return false;
        if (id == kBoundSheet && !open.empty() && open.back().type == kGlobals) ++listed;
        // FreeXL makes a sheet of every BOUNDSHEET record; one among a sheet's records leaves
        // that sheet's cell table behind when the sheet list changes under it.
        if (id == kBoundSheet && (open.empty() || open.back().type != kGlobals)) return false;
        const bool runs = id == kMulRk || id == kMulBlank;
        const bool cell = runs || std::find(kCells.begin(), kCells.end(), id) != kCells.end();
        if (id != kDimension && !cell) continue;
        // Sheet sizes and cells belong to a sheet: FreeXL has no sheet to put them in
        // elsewhere (and leaks a cell's text when it gives up).
        if (open.empty() || open.back().type == kGlobals) return false;
        Substream& sheet = open.back();
        if (id == kDimension) {
            // FreeXL allocates the cell table by the first one and walks it by the last.
            if (sheet.sized) return false;
            if (length >= 14) {  // BIFF8: 32-bit rows
                sheet.rows = le32(body + 4);
                sheet.columns = le16(body + 10);
            } else if (length >= 10) {  // BIFF5
                sheet.rows = le16(body + 2);
                sheet.columns = le16(body + 6);
            } else {
                return false;
            }
            if (sheet.rows > kMaxRows || sheet.columns > kMaxColumns) return false;
            sheet.sized = true;
            sheet.filled.assign(std::size_t{sheet.rows} * sheet.columns, false);
            continue;
        }
        // A cell outside the table makes FreeXL give up on the file, leaking the cell's text.
        if (!sheet.sized || length < 4) continue;
        const unsigned row = le16(body);
        unsigned last_column = le16(body + 2);
        if (runs) {
            // row, first column, a run of cells, last column
            const unsigned each = id == kMulRk ? 6 : 2;
            if (length < 6 + each) return false;
            last_column += (length - 6) / each - 1;
        }
        if (row >= sheet.rows || last_column >= sheet.columns) return false;
        // A second value for a cell makes FreeXL drop the first without freeing its text.
        for (unsigned column = le16(body + 2); column <= last_column; ++column) {
            const std::size_t slot = std::size_t{row} * sheet.columns + column;
            if (sheet.filled[slot]) return false;
            sheet.filled[slot] = true;
        }
    }
    // Every named sheet has its records, sized: FreeXL sizes the others in the same faulty way.
    if (!open.empty() && open.front().type != kGlobals && !open.front().sized) return false;
    return listed == sheets;
}

}  // namespace orvena
