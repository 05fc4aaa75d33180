#pragma once
// Reading and patching the header of a WAV sample file. One RIFF chunk walker serves both:
// it finds the fmt chunk wherever it sits (after LIST, JUNK or fact chunks, with the pad byte
// after odd-sized chunks) and the start of the data chunk. The rate patch writes exactly the
// 8 bytes of the sample-rate and byte-rate fields and nothing else, and only after the header
// has been checked: a file that is not integer PCM, or a rate outside the playable range, is
// never written. Event thread only (plain file I/O).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "tuning/instrument_state.h"  // kMinSampleRateHz, kMaxSampleRateHz

namespace orvena {

struct WavFormat {
    std::uint16_t format_tag = 0;  // 1 PCM, 3 float, 0xFFFE extensible
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;  // Hz, as stored
    std::uint32_t byte_rate = 0;    // bytes per second, as stored
    std::uint16_t block_align = 0;  // bytes per frame
    std::uint16_t bits_per_sample = 0;
    bool integer_pcm = false;           // PCM, or extensible with the PCM subformat
    std::uint64_t fmt_body_offset = 0;  // file offset of the fmt body (rate at +4)
    std::uint64_t data_offset = 0;      // first byte of sample data
    std::uint64_t data_size = 0;        // as declared by the data chunk
};

enum class WavProblem {
    none,
    cannot_open,
    not_riff_wave,    // no "RIFF....WAVE" at the start
    no_fmt_chunk,     // the chunk list ends before a complete fmt chunk
    no_data_chunk,    // no data chunk after the fmt chunk
    not_integer_pcm,  // float, compressed, or an extensible file of another subformat
    odd_layout,       // channels, bits and block size do not fit a 1- or 2-channel PCM stream
};

struct WavHeaderResult {
    std::optional<WavFormat> format;  // set when the problem is none
    WavProblem problem = WavProblem::none;
};

// Reads the header of a file (header only, no sample data) and checks that it is a playable
// 1- or 2-channel integer PCM stream of 8, 16, 24 or 32 bits.
WavHeaderResult read_wav_header(const std::filesystem::path& file);

// Parses a header held in memory (the first bytes of a file; chunks must lie within it).
WavHeaderResult parse_wav_header(const std::string& bytes);

enum class RatePatch {
    written,
    rate_out_of_range,  // below kMinSampleRateHz or above kMaxSampleRateHz: file untouched
    bad_header,         // missing, unreadable or not playable PCM: file untouched
    write_failed,       // the file could not be opened for writing or the write failed
};

// Writes rate_hz into the sample-rate field and block_align * rate_hz into the byte-rate
// field of a checked PCM file, in one 8-byte write. For a canonical 44-byte header these are
// byte offsets 24 and 28. Never creates a file.
RatePatch patch_wav_rate(const std::filesystem::path& file, std::int32_t rate_hz);

const char* describe(WavProblem problem);

}  // namespace orvena
