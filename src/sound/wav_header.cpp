#include "sound/wav_header.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "files/user_file.h"

namespace orvena {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// The tail shared by every WAVE subformat GUID (after its leading 32-bit format code).
constexpr std::array<unsigned char, 12> kSubformatTail = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                          0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr int kMaxChunks = 4096;
// Only the header is read, so a sample file may be of any size here.
constexpr std::size_t kAnySize =
    std::numeric_limits<std::size_t>::max();  // a header with more chunks than this is not a sample

std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void put_le32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Random access to the bytes of a header: a file or a string.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly n bytes at offset; false when they are not all there.
    virtual bool read(std::uint64_t offset, unsigned char* out, std::size_t n) = 0;
};

class FileSource final : public ByteSource {
  public:
    explicit FileSource(std::FILE* f) : f_(f) {
        if (std::fseek(f_, 0, SEEK_END) == 0) {
            const long end = std::ftell(f_);
            size_ = end < 0 ? 0 : static_cast<std::uint64_t>(end);
        }
    }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, unsigned char* out, std::size_t n) override {
        if (offset + n > size_) return false;
        if (std::fseek(f_, static_cast<long>(offset), SEEK_SET) != 0) return false;
        return std::fread(out, 1, n, f_) == n;
    }

  private:
    std::FILE* f_;
    std::uint64_t size_ = 0;
};

class StringSource final : public ByteSource {
  public:
    explicit StringSource(const std::string& s) : s_(s) {}
    std::uint64_t size() const override { return s_.size(); }
    bool read(std::uint64_t offset, unsigned char* out, std::size_t n) override {
        if (offset + n > s_.size()) return false;
        std::memcpy(out, s_.data() + offset, n);
        return true;
    }

  private:
    const std::string& s_;
};

bool is_pcm_subformat(const unsigned char* guid) {
    return le32(guid) == kFormatPcm &&
           std::memcmp(guid + 4, kSubformatTail.data(), kSubformatTail.size()) == 0;
}

WavHeaderResult fail(WavProblem p) {
    return {std::nullopt, p};
}

// Walks the chunk list: RIFF header, then chunks of id, size and body, each padded to an
// even length, until both the fmt chunk and the start of the data chunk are known.
WavHeaderResult walk(ByteSource& src) {
    unsigned char riff[12];
    if (!src.read(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return fail(WavProblem::not_riff_wave);
    }
    WavFormat fmt;
    bool have_fmt = false;
    std::uint64_t offset = 12;
    for (int n = 0; n < kMaxChunks; ++n) {
        unsigned char head[8];
        if (!src.read(offset, head, sizeof head)) break;
        const std::uint32_t size = le32(head + 4);
        const std::uint64_t body = offset + 8;
        if (std::memcmp(head, "fmt ", 4) == 0 && !have_fmt) {
            if (size < 16) return fail(WavProblem::no_fmt_chunk);
            unsigned char b[40] = {};
            const std::size_t want = size >= 40 ? 40 : (size >= 18 ? 18 : 16);
            if (!src.read(body, b, want)) return fail(WavProblem::no_fmt_chunk);
            fmt.format_tag = le16(b);
            fmt.channels = le16(b + 2);
            fmt.sample_rate = le32(b + 4);
            fmt.byte_rate = le32(b + 8);
            fmt.block_align = le16(b + 12);
            fmt.bits_per_sample = le16(b + 14);
            fmt.fmt_body_offset = body;
            fmt.integer_pcm = fmt.format_tag == kFormatPcm ||
                              (fmt.format_tag == kFormatExtensible && want == 40 &&
                               le16(b + 16) >= 22 && is_pcm_subformat(b + 24));
            have_fmt = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!have_fmt) return fail(WavProblem::no_fmt_chunk);
            fmt.data_offset = body;
            fmt.data_size = size;
            break;
        }
        offset = body + size + (size & 1u);
    }
    if (!have_fmt) return fail(WavProblem::no_fmt_chunk);
    if (fmt.data_offset == 0) return fail(WavProblem::no_data_chunk);
    if (!fmt.integer_pcm) return fail(WavProblem::not_integer_pcm);
    const unsigned bits = fmt.bits_per_sample;
    const bool bits_ok = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (fmt.channels < 1 || fmt.channels > 2 || !bits_ok ||
        fmt.block_align != fmt.channels * (bits / 8)) {
        return fail(WavProblem::odd_layout);
    }
    return {fmt, WavProblem::none};
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

WavHeaderResult read_wav_header(const std::filesystem::path& file) {
    // Opening a FIFO would wait for a writer, a device would never end.
    if (user_file_problem(file, kAnySize)) return fail(WavProblem::cannot_open);
    FilePtr f(std::fopen(file.c_str(), "rb"));
    if (!f) return fail(WavProblem::cannot_open);
    FileSource src(f.get());
    return walk(src);
}

WavHeaderResult parse_wav_header(const std::string& bytes) {
    StringSource src(bytes);
    return walk(src);
}

RatePatch patch_wav_rate(const std::filesystem::path& file, std::int32_t rate_hz) {
    if (rate_hz < kMinSampleRateHz || rate_hz > kMaxSampleRateHz) {
        return RatePatch::rate_out_of_range;
    }
    // "r+b" opens an existing file only: a missing sample is never created. Nothing but a
    // regular file is opened: a FIFO would hold the pluck, a device take the bytes.
    if (user_file_problem(file, kAnySize)) return RatePatch::bad_header;
    FilePtr f(std::fopen(file.c_str(), "r+b"));
    if (!f) {
        return std::filesystem::exists(file) ? RatePatch::write_failed : RatePatch::bad_header;
    }
    FileSource src(f.get());
    const WavHeaderResult header = walk(src);
    if (!header.format) return RatePatch::bad_header;
    const WavFormat& fmt = *header.format;
    // Both bounds keep the product well inside 32 bits (block_align is at most 8 here).
    const auto byte_rate =
        static_cast<std::uint32_t>(fmt.block_align) * static_cast<std::uint32_t>(rate_hz);
    unsigned char fields[8];
    put_le32(fields, static_cast<std::uint32_t>(rate_hz));
    put_le32(fields + 4, byte_rate);
    if (std::fseek(f.get(), static_cast<long>(fmt.fmt_body_offset + 4), SEEK_SET) != 0 ||
        std::fwrite(fields, 1, sizeof fields, f.get()) != sizeof fields) {
        return RatePatch::write_failed;
    }
    if (std::fflush(f.get()) != 0) return RatePatch::write_failed;
    return RatePatch::written;
}

const char* describe(WavProblem problem) {
    switch (problem) {
        case WavProblem::none:
            return "playable PCM";
        case WavProblem::cannot_open:
            return "cannot be opened";
        case WavProblem::not_riff_wave:
            return "not a RIFF/WAVE file";
        case WavProblem::no_fmt_chunk:
            return "no complete fmt chunk";
        case WavProblem::no_data_chunk:
            return "no data chunk";
        case WavProblem::not_integer_pcm:
            return "not integer PCM";
        case WavProblem::odd_layout:
            return "unsupported channel or sample layout";
    }
    return "unknown";
}

}  // namespace orvena
