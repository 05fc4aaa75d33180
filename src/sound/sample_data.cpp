#include "sound/sample_data.h"

#include <algorithm>
#include <stdexcept>

namespace orvena {

SampleData::SampleData(const std::vector<float>& interleaved, int channels)
    : channels_(channels),
      frames_(channels > 0 ? static_cast<std::int64_t>(interleaved.size()) / channels : 0) {
    if (channels < 1 || channels > 2) throw std::invalid_argument("samples have 1 or 2 channels");
    samples_.assign(static_cast<std::size_t>((frames_ + 2 * kPadFrames) * channels_), 0.0f);
    std::copy_n(interleaved.begin(), frames_ * channels_,
                samples_.begin() + kPadFrames * channels_);
}

}  // namespace orvena
