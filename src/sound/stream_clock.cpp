#include "sound/stream_clock.h"

#include <algorithm>
#include <cmath>

namespace orvena {

namespace {
// How fast the origin may rise, as a share of the time the stream plays: faster than any
// sound card's clock runs slow of the steady clock, slow enough that a second of callbacks
// running late moves it by only 0.5 ms.
constexpr double kRiseRate = 5e-4;
// A block asked for this much earlier or later than the origin means the stream itself moved:
// it starts afresh from that block.
constexpr double kJumpNs = 20e6;

double to_ns(StreamClock::TimePoint t) {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}
}  // namespace

void StreamClock::block_asked(std::int64_t first_frame, TimePoint now) noexcept {
    const double origin = to_ns(now) - static_cast<double>(first_frame) * 1e9 / rate_;
    if (!known_ || std::abs(origin - origin_ns_) > kJumpNs) {
        origin_ns_ = origin;
        known_ = true;
    } else {
        const double played_ns = static_cast<double>(first_frame - last_frame_) * 1e9 / rate_;
        origin_ns_ = std::min(origin, origin_ns_ + kRiseRate * played_ns);
    }
    last_frame_ = first_frame;
}

std::int64_t StreamClock::frame_at(TimePoint at) const noexcept {
    return std::llround((to_ns(at) - origin_ns_) * rate_ / 1e9);
}

}  // namespace orvena
