#pragma once
// Decoded sample frames in memory, shared between the event thread (which owns them) and
// the audio thread (which reads them while a voice plays). The frames are padded with
// silence on both sides so the interpolator can read its whole window at any position.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvena {

class SampleData {
  public:
    // Silent frames before the first and after the last frame; enough for the widest
    // interpolation window the mixer uses.
    static constexpr std::int64_t kPadFrames = 40;

    // interleaved: frames of `channels` (1 or 2) values in -1..1.
    SampleData(const std::vector<float>& interleaved, int channels);

    int channels() const { return channels_; }
    std::int64_t frames() const { return frames_; }
    // Frame i (0 <= i < frames) begins at frame_ptr()[i * channels]; indexes from -kPadFrames
    // to frames + kPadFrames - 1 are readable and read as silence outside 0..frames-1.
    const float* frame_ptr() const { return samples_.data() + kPadFrames * channels_; }
    // All the memory a voice may read, padding included.
    const void* storage() const { return samples_.data(); }
    std::size_t storage_bytes() const { return samples_.size() * sizeof(float); }

    // Voices that play this data or are about to: counted up by the event thread when it
    // sends a start command, down by the audio thread when the voice ends. Data whose count
    // is 0 and that no new command will name may be freed.
    std::atomic<int>& users() const { return users_; }

  private:
    int channels_;
    std::int64_t frames_;
    std::vector<float> samples_;
    mutable std::atomic<int> users_{0};
};

}  // namespace orvena
