#include "recording/wav_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>

#include "files/shown_text.h"

namespace orvena {

namespace {

constexpr std::uint64_t kBytesPerFrame = 3 * kRenderChannels;
constexpr std::uint64_t kWavHeaderBytes = 44;    // RIFF, fmt and data chunk headers
constexpr std::uint64_t kRf64HeaderBytes = 104;  // ds64 and an extensible fmt besides
constexpr std::uint64_t kMaxRiffField = std::numeric_limits<std::uint32_t>::max();

}  // namespace

WavFileSize wav_file_size(std::int64_t frames) {
    const std::uint64_t data = static_cast<std::uint64_t>(frames < 0 ? 0 : frames) * kBytesPerFrame;
    // The RIFF size field counts everything after itself: the file less 8 bytes.
    if (kWavHeaderBytes - 8 + data <= kMaxRiffField) return {kWavHeaderBytes + data, false};
    return {kRf64HeaderBytes + data, true};
}

std::string size_text(std::uint64_t bytes) {
    const char* units[] = {"kB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1000.0;
    int unit = 0;
    while (value >= 1000.0 && unit < 3) value /= 1000.0, ++unit;
    char text[32];
    if (unit == 0) {
        std::snprintf(text, sizeof text, "%.0f %s", value < 1 ? 1.0 : value, units[unit]);
    } else {
        std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    }
    std::string s = text;
    if (const auto point = s.find('.'); point != std::string::npos) s[point] = ',';
    return s;
}

WavFileWriter::~WavFileWriter() {
    if (sound_ != nullptr) sf_close(sound_);
}

sf_count_t WavFileWriter::io_length(void* self) {
    auto* w = static_cast<WavFileWriter*>(self);
    struct stat info {};
    if (::fstat(w->out_.handle(), &info) != 0) return -1;
    return info.st_size;
}

sf_count_t WavFileWriter::io_seek(sf_count_t offset, int whence, void* self) {
    auto* w = static_cast<WavFileWriter*>(self);
    const off_t at = ::lseek(w->out_.handle(), offset, whence);
    if (at < 0) w->error_ = errno;
    return at;
}

sf_count_t WavFileWriter::io_read(void* to, sf_count_t count, void* self) {
    auto* w = static_cast<WavFileWriter*>(self);
    const ssize_t n = ::read(w->out_.handle(), to, static_cast<std::size_t>(count));
    if (n < 0) w->error_ = errno;
    return n < 0 ? 0 : n;
}

sf_count_t WavFileWriter::io_write(const void* from, sf_count_t count, void* self) {
    auto* w = static_cast<WavFileWriter*>(self);
    const auto* bytes = static_cast<const char*>(from);
    sf_count_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::write(w->out_.handle(), bytes + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            w->error_ = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    return done;
}

sf_count_t WavFileWriter::io_tell(void* self) {
    auto* w = static_cast<WavFileWriter*>(self);
    return ::lseek(w->out_.handle(), 0, SEEK_CUR);
}

bool WavFileWriter::open(const WavFileSize& size) {
    SF_INFO info{};
    info.samplerate = kRenderRateHz;
    info.channels = kRenderChannels;
    info.format = (size.rf64 ? SF_FORMAT_RF64 : SF_FORMAT_WAV) | SF_FORMAT_PCM_24;
    SF_VIRTUAL_IO io{io_length, io_seek, io_read, io_write, io_tell};
    sound_ = sf_open_virtual(&io, SFM_WRITE, &info, this);
    if (sound_ == nullptr) {
        library_error_ = sf_strerror(nullptr);
        return false;
    }
    sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool WavFileWriter::write(const float* frames, std::size_t count) {
    const auto n = static_cast<sf_count_t>(count);
    if (sf_writef_float(sound_, frames, n) == n) return true;
    if (error_ == 0) library_error_ = sf_strerror(sound_);
    return false;
}

bool WavFileWriter::close() {
    const bool closed = sf_close(sound_) == 0 && error_ == 0;
    sound_ = nullptr;
    return closed;
}

std::string WavFileWriter::failure() const {
    if (error_ != 0) return out_.failure(error_);
    return in_quotes(out_.target()) + " yazılamadı: " + shown(library_error_) + ".";
}

}  // namespace orvena
