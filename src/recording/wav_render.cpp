#include "recording/wav_render.h"

#include <QFile>
#include <QSaveFile>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound/mixer.h"

namespace orvena {

namespace {

constexpr std::int64_t kFramesPerMs = kRenderRateHz / 1000;
constexpr std::size_t kBlockFrames = 4096;
constexpr int kBlocksPerReport = 8;  // about 0.7 s of sound between two progress reports

// The mixer and the file it is rendered into, one stretch of frames at a time.
class OfflineRenderer {
  public:
    OfflineRenderer(SNDFILE* file, std::int64_t total_frames, const RenderProgress& progress)
        : file_(file), total_(total_frames), progress_(progress), block_(2 * kBlockFrames) {}

    Mixer& mixer() { return mixer_; }
    std::int64_t frames() const { return done_; }

    // Applies the commands sent since the last render at the current frame.
    void apply_commands() { mixer_.render(block_.data(), 0); }

    // Renders up to (not including) `frame`; false when writing failed or the user cancelled.
    bool render_to(std::int64_t frame) {
        while (done_ < frame) {
            const auto n =
                static_cast<std::size_t>(std::min<std::int64_t>(kBlockFrames, frame - done_));
            mixer_.render(block_.data(), n);
            if (sf_writef_float(file_, block_.data(), static_cast<sf_count_t>(n)) !=
                static_cast<sf_count_t>(n)) {
                return false;
            }
            done_ += static_cast<std::int64_t>(n);
            if (++blocks_ % kBlocksPerReport == 0 && progress_ &&
                !progress_(static_cast<double>(done_) / static_cast<double>(total_))) {
                cancelled_ = true;
                return false;
            }
        }
        return true;
    }
    bool cancelled() const { return cancelled_; }

  private:
    SNDFILE* file_;
    std::int64_t total_;
    const RenderProgress& progress_;
    Mixer mixer_{kRenderRateHz};
    std::vector<float> block_;
    std::int64_t done_ = 0;
    int blocks_ = 0;
    bool cancelled_ = false;
};

bool audible_rate(std::int32_t rate) {
    return rate >= kMinSampleRateHz && rate <= kMaxSampleRateHz;
}

// Renders every pluck; false when stopped by a write failure or the user.
bool render_schedule(OfflineRenderer& r, const RenderSchedule& schedule, const InstrumentState& st,
                     SampleBank& bank, std::int64_t tail_frames) {
    for (const ScheduledPluck& pluck : schedule.plucks) {
        if (!r.render_to(pluck.at_ms * kFramesPerMs)) return false;
        r.mixer().cut_pluck();
        if (pluck.sample_string != 0 && audible_rate(pluck.rate_hz)) {
            if (const SampleData* data = bank.get(st.wav_files[pluck.sample_string])) {
                r.mixer().start_pluck(*data, pluck.rate_hz);
            }
        }
        r.apply_commands();  // so that any number of plucks on one frame fits the queue
    }
    const std::int64_t end = schedule.end_ms * kFramesPerMs;
    if (!r.render_to(end)) return false;
    r.mixer().cut_pluck();
    return r.render_to(end + tail_frames);
}

}  // namespace

RenderResult render_wav(const RenderSchedule& schedule, const InstrumentState& st, SampleBank& bank,
                        const std::filesystem::path& out, const RenderProgress& progress) {
    QSaveFile file(QFile::decodeName(out.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        return {RenderOutcome::unwritable, file.errorString().toStdString(), 0};
    }
    SF_INFO info{};
    info.samplerate = kRenderRateHz;
    info.channels = kRenderChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    // libsndfile writes through the temporary file's descriptor and leaves it open for
    // QSaveFile to rename.
    SNDFILE* sound = sf_open_fd(file.handle(), SFM_WRITE, &info, SF_FALSE);
    if (sound == nullptr) return {RenderOutcome::unwritable, sf_strerror(nullptr), 0};
    sf_command(sound, SFC_SET_CLIPPING, nullptr, SF_TRUE);

    const auto tail = static_cast<std::int64_t>(std::lround(Mixer::kFadeSeconds * kRenderRateHz));
    OfflineRenderer renderer(sound, schedule.end_ms * kFramesPerMs + tail, progress);
    const bool finished = render_schedule(renderer, schedule, st, bank, tail);
    std::string why = finished ? std::string() : sf_strerror(sound);
    const bool closed = sf_close(sound) == 0;
    if (renderer.cancelled()) {
        file.cancelWriting();
        return {RenderOutcome::cancelled, {}, renderer.frames()};
    }
    if (finished && closed && file.commit()) {
        return {RenderOutcome::written, {}, renderer.frames()};
    }
    if (why.empty()) why = file.errorString().toStdString();
    file.cancelWriting();
    return {RenderOutcome::unwritable, why, renderer.frames()};
}

}  // namespace orvena
