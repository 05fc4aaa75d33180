#pragma once
// The WAV file a render writes (48 kHz, 24-bit stereo): how large it will be, and libsndfile
// writing it through an OutputFile. A file whose sizes would not fit the 32-bit fields of a
// RIFF header (above 4 GiB) is written as RF64, which keeps 64-bit sizes. Event thread only.

#include <sndfile.h>

#include <cstdint>
#include <optional>
#include <string>

#include "files/safe_output.h"

namespace orvena {

inline constexpr int kRenderRateHz = 48000;
inline constexpr int kRenderChannels = 2;

struct WavFileSize {
    std::uint64_t bytes = 0;  // the whole file, header included
    bool rf64 = false;        // too large for a RIFF header
};

// The file that holds `frames` frames.
WavFileSize wav_file_size(std::int64_t frames);

// A size for the user: "850 kB", "52,3 MB", "618,4 GB" (powers of 1000, decimal comma).
std::string size_text(std::uint64_t bytes);

// libsndfile writing into out (opened) at out's descriptor; a failure keeps the system's own
// reason, so the user reads "diskte yer kalmadı" rather than the library's English.
class WavFileWriter {
  public:
    explicit WavFileWriter(OutputFile& out) : out_(out) {}
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    // Starts the file in the format size calls for; false when libsndfile refuses.
    bool open(const WavFileSize& size);
    bool write(const float* frames, std::size_t count);  // interleaved stereo
    bool close();                                        // the header gets its final sizes
    // Why the last call failed, as a sentence naming the file.
    std::string failure() const;

  private:
    static sf_count_t io_length(void* self);
    static sf_count_t io_seek(sf_count_t offset, int whence, void* self);
    static sf_count_t io_read(void* to, sf_count_t count, void* self);
    static sf_count_t io_write(const void* from, sf_count_t count, void* self);
    static sf_count_t io_tell(void* self);

    OutputFile& out_;
    SNDFILE* sound_ = nullptr;
    int error_ = 0;  // errno of the failed system call
    std::string library_error_;
};

}  // namespace orvena
