#include "recording/wav_render.h"

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
    OfflineRenderer(WavFileWriter& file, std::int64_t total_frames, const RenderProgress& progress)
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
            if (!file_.write(block_.data(), n)) return false;
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
    WavFileWriter& file_;
    std::int64_t total_;
    const RenderProgress& progress_;
    Mixer mixer_{kRenderRateHz};
    std::vector<float> block_;
    std::int64_t done_ = 0;
    int blocks_ = 0;
    bool cancelled_ = false;
};

std::int64_t tail_frames() {
    return std::lround(Mixer::kFadeSeconds * kRenderRateHz);
}

// Renders every pluck; false when stopped by a write failure or the user.
bool render_schedule(OfflineRenderer& r, const RenderSchedule& schedule,
                     const InstrumentBuild& build, SampleBank& bank, std::int64_t tail) {
    for (const ScheduledPluck& pluck : schedule.plucks) {
        if (!r.render_to(pluck.at_ms * kFramesPerMs)) return false;
        r.mixer().cut_pluck();
        if (pluck.sample_string != 0 && audible_rate(pluck.rate_hz)) {
            if (const SampleData* data = bank.get(build.wav_files[pluck.sample_string])) {
                r.mixer().start_pluck(*data, pluck.rate_hz);
            }
        }
        r.apply_commands();  // so that any number of plucks on one frame fits the queue
    }
    const std::int64_t end = schedule.end_ms * kFramesPerMs;
    if (!r.render_to(end)) return false;
    r.mixer().cut_pluck();
    return r.render_to(end + tail);
}

}  // namespace

bool audible_rate(std::int32_t rate_hz) {
    return rate_hz >= kMinSampleRateHz && rate_hz <= kMaxSampleRateHz;
}

std::int64_t rendered_frames(const RenderSchedule& schedule) {
    return schedule.end_ms * kFramesPerMs + tail_frames();
}

RenderResult render_wav(const RenderSchedule& schedule, const InstrumentState& st, SampleBank& bank,
                        OutputFile& out, const RenderProgress& progress) {
    const std::int64_t total = rendered_frames(schedule);
    WavFileWriter writer(out);
    if (!writer.open(wav_file_size(total))) return {RenderOutcome::unwritable, writer.failure(), 0};
    OfflineRenderer renderer(writer, total, progress);
    const bool finished = render_schedule(renderer, schedule, st.build, bank, tail_frames());
    const bool closed = writer.close();
    if (renderer.cancelled()) {
        out.cancel();
        return {RenderOutcome::cancelled, {}, renderer.frames()};
    }
    if (!finished || !closed) {
        out.cancel();
        return {RenderOutcome::unwritable, writer.failure(), renderer.frames()};
    }
    if (auto problem = out.commit())
        return {RenderOutcome::unwritable, *problem, renderer.frames()};
    return {RenderOutcome::written, {}, renderer.frames()};
}

}  // namespace orvena
