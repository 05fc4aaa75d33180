#include "sound/stream_clock.h"

#include <algorithm>
#include <cmath>

namespace orvena {

namespace {
// The average follows a change of the stream over about this time: long enough that one late
// wake-up moves it by a small share of its lateness (1% for a block of 2.5 ms), short enough
// to follow a device clock that runs off the steady clock (300 ppm leaves it 0.08 ms behind).
constexpr double kFollowSeconds = 0.25;
// A block asked for this much earlier or later than the average means the stream itself moved
// (a dropout, a device that paused): the average starts again from that block.
constexpr double kJumpNs = 20e6;

double to_ns(StreamClock::TimePoint t) {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}
}  // namespace

void StreamClock::block_asked(std::int64_t first_frame, std::size_t frames,
                              TimePoint now) noexcept {
    const double origin = to_ns(now) - static_cast<double>(first_frame) * 1e9 / rate_;
    if (!known_ || std::abs(origin - origin_ns_) > kJumpNs) {
        origin_ns_ = origin;
        known_ = true;
        return;
    }
    const double share = std::min(1.0, static_cast<double>(frames) / (rate_ * kFollowSeconds));
    origin_ns_ += share * (origin - origin_ns_);
}

std::int64_t StreamClock::frame_at(TimePoint at) const noexcept {
    return std::llround((to_ns(at) - origin_ns_) * rate_ / 1e9);
}

}  // namespace orvena
