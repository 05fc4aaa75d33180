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
// A smaller move (a short dropout) shows as blocks asked early or late by about the same amount,
// one after another, where jitter scatters them either side: after kShiftBlocks blocks on one
// side by more than kShiftNs, the average moves at once by the least of their deviations.
constexpr double kShiftNs = 0.5e6;
constexpr int kShiftBlocks = 8;

double to_ns(StreamClock::TimePoint t) {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}
}  // namespace

void StreamClock::block_asked(std::int64_t first_frame, std::size_t frames,
                              TimePoint now) noexcept {
    const double origin = to_ns(now) - static_cast<double>(first_frame) * 1e9 / rate_;
    const double deviation = origin - origin_ns_;
    if (!known_ || std::abs(deviation) > kJumpNs) {
        origin_ns_ = origin;
        known_ = true;
        run_ = 0;
        return;
    }
    if (std::abs(deviation) <= kShiftNs) {
        run_ = 0;
    } else if (run_ > 0 && (deviation > 0) == (least_shift_ns_ > 0)) {
        ++run_;
        if (std::abs(deviation) < std::abs(least_shift_ns_)) least_shift_ns_ = deviation;
    } else {
        run_ = 1;
        least_shift_ns_ = deviation;
    }
    if (run_ >= kShiftBlocks) {
        origin_ns_ += least_shift_ns_;
        run_ = 0;
        return;
    }
    const double share = std::min(1.0, static_cast<double>(frames) / (rate_ * kFollowSeconds));
    origin_ns_ += share * (origin - origin_ns_);
}

std::int64_t StreamClock::frame_at(TimePoint at) const noexcept {
    return std::llround((to_ns(at) - origin_ns_) * rate_ / 1e9);
}

}  // namespace orvena
