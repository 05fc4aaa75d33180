#include "tuning/compound_document.h"

#include "tuning/biff_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

    // The header takes the first sector's place: 512 bytes, padded to 4096 in version 4.
    std::size_t count() const { return file_.size() / size_ - 1; }
    const unsigned char* sector(std::uint32_t n) const {
        return reinterpret_cast<const unsigned char*>(file_.data()) + (std::size_t{n} + 1) * size_;
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

CompoundCheck check_bytes(const std::string& file, std::string& workbook_stream) {
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
    workbook_stream = std::move(*stream);
    return workbook_records_sound(workbook_stream) ? CompoundCheck::ok : CompoundCheck::damaged;
}

}  // namespace

CompoundCheck check_compound_document(const std::string& file, std::string& workbook_stream) {
    workbook_stream.clear();
    return check_bytes(file, workbook_stream);
}

}  // namespace orvena
