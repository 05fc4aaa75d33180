// The RIFF chunk walker and the rate patch on any bytes. Promises: reading a header from a
// file and from memory agree; a file the patch refuses is left byte for byte as it was; a
// file it accepts differs only in the 8 bytes of the sample-rate and byte-rate fields, which
// then hold the new rate.
//
// Input: the file's bytes, then one byte choosing the rate (from the end, so seeds that are
// plain WAV files keep their header).

#include <array>
#include <cstring>
#include <limits>

#include "fuzz/fuzz_support.h"
#include "sound/wav_header.h"

namespace {

using namespace orvena;

// Rates at and around both limits, 0 (an unused lever position), a negative one, and the
// rates the instrument really writes.
constexpr std::array<std::int32_t, 8> kRates = {
    0,     -44100, kMinSampleRateHz - 1, kMinSampleRateHz,
    44100, 37318,  kMaxSampleRateHz,     kMaxSampleRateHz + 1};

std::uint32_t le32_at(const std::string& bytes, std::uint64_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return v;
}

bool same(const WavHeaderResult& a, const WavHeaderResult& b) {
    if (a.problem != b.problem || a.format.has_value() != b.format.has_value()) return false;
    if (!a.format) return true;
    const WavFormat& x = *a.format;
    const WavFormat& y = *b.format;
    return x.format_tag == y.format_tag && x.channels == y.channels &&
           x.sample_rate == y.sample_rate && x.byte_rate == y.byte_rate &&
           x.block_align == y.block_align && x.bits_per_sample == y.bits_per_sample &&
           x.fmt_body_offset == y.fmt_body_offset && x.data_offset == y.data_offset &&
           x.data_size == y.data_size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvena::fuzz::MemFile file;
    std::size_t file_size = size;
    const std::int32_t rate =
        kRates[orvena::fuzz::pick_index_from_end(data, file_size, kRates.size())];
    const std::string before(reinterpret_cast<const char*>(data), file_size);
    file.assign(reinterpret_cast<const std::uint8_t*>(before.data()), before.size());

    const WavHeaderResult in_memory = parse_wav_header(before);
    FUZZ_CHECK(same(in_memory, read_wav_header(file.path())));

    const RatePatch result = patch_wav_rate(file.path(), rate);
    const std::string after = file.bytes();
    if (result != RatePatch::written) {
        FUZZ_CHECK(after == before);
        FUZZ_CHECK(result != RatePatch::write_failed);
        return 0;
    }
    FUZZ_CHECK(in_memory.format.has_value());
    FUZZ_CHECK(after.size() == before.size());
    const WavFormat& fmt = *in_memory.format;
    const std::uint64_t fields = fmt.fmt_body_offset + 4;
    FUZZ_CHECK(fields + 8 <= after.size());
    FUZZ_CHECK(std::memcmp(after.data(), before.data(), fields) == 0);
    FUZZ_CHECK(std::memcmp(after.data() + fields + 8, before.data() + fields + 8,
                           after.size() - fields - 8) == 0);
    FUZZ_CHECK(le32_at(after, fields) == static_cast<std::uint32_t>(rate));
    FUZZ_CHECK(le32_at(after, fields + 4) == fmt.block_align * static_cast<std::uint32_t>(rate));
    return 0;
}
