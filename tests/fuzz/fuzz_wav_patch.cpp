// The RIFF chunk walker and the rate patch on any bytes. Promises: reading a header from a
// file and from memory agree; a file the patch refuses is left byte for byte as it was; a
// file it accepts differs only in the sample-rate and byte-rate fields, which hold the new
// rate. Input: the file's bytes, then one byte choosing the rate (last, so seeds that are
// plain WAV files keep their header).

#include <array>
#include <tuple>

#include "fuzz/fuzz_support.h"
#include "sound/wav_header.h"
#include "support/biff_bytes.h"

void orvena::fuzz::check(std::string_view input) {
    // Around both limits, 0 (an unused lever position), negative, and rates the instrument writes.
    static constexpr std::array<std::int32_t, 8> kRates = {
        0,     -44100, kMinSampleRateHz - 1, kMinSampleRateHz,
        44100, 37318,  kMaxSampleRateHz,     kMaxSampleRateHz + 1};
    const auto told = [](const WavHeaderResult& r) {  // all a reading tells
        const WavFormat f = r.format.value_or(WavFormat{});
        return std::tuple(r.problem, r.format.has_value(), f.format_tag, f.channels, f.sample_rate,
                          f.byte_rate, f.block_align, f.bits_per_sample, f.integer_pcm,
                          f.fmt_body_offset, f.data_offset, f.data_size);
    };
    const std::int32_t rate =
        input.empty() ? kRates[0] : kRates[static_cast<unsigned char>(input.back()) % 8];
    if (!input.empty()) input.remove_suffix(1);
    const std::string before(input);
    const std::filesystem::path& file = memory_file(before);
    const WavHeaderResult in_memory = parse_wav_header(before);
    FUZZ_CHECK(told(in_memory) == told(read_wav_header(file)));

    const RatePatch result = patch_wav_rate(file, rate);
    const std::string after = bytes_of(file);
    if (result != RatePatch::written) {
        FUZZ_CHECK(after == before && result != RatePatch::write_failed);
        return;
    }
    FUZZ_CHECK(in_memory.format.has_value());
    const std::uint64_t fields = in_memory.format->fmt_body_offset + 4;
    const auto rate_bits = static_cast<std::uint32_t>(rate);
    FUZZ_CHECK(fields + 8 <= before.size());
    FUZZ_CHECK(after == before.substr(0, fields) + test::le32(rate_bits) +
                            test::le32(in_memory.format->block_align * rate_bits) +
                            before.substr(fields + 8));
}
