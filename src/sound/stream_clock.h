#pragma once
// Where a moment of the steady clock falls in the stream of frames the mixer renders. A device
// asks for each block when it has room for it; the callback that renders the block may run
// late (a busy machine), never early. So the earliest asks, frame for frame, trace the device's
// own timeline: frame n is asked for from origin + n / rate on. The origin follows the earliest
// asks down at once and rises only slowly, so late callbacks hardly move it while a device
// clock that runs slow of the steady clock is still followed. A dropout (or a jump of the
// stream) starts it afresh. Rendering thread only; no locks, no allocation.

#include <chrono>
#include <cstdint>

namespace orvena {

class StreamClock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit StreamClock(double rate_hz) : rate_(rate_hz) {}

    // The block that starts at `first_frame` is being asked for at `now`.
    void block_asked(std::int64_t first_frame, TimePoint now) noexcept;
    // The stream broke (the device ran dry): what was known about it no longer holds.
    void forget() noexcept { known_ = false; }

    // False until the first block_asked() (and after forget()).
    bool known() const noexcept { return known_; }

    // The frame (nearest) at which the moment `at` falls; meaningful once known().
    std::int64_t frame_at(TimePoint at) const noexcept;

  private:
    double rate_;
    bool known_ = false;
    double origin_ns_ = 0.0;  // steady-clock ns from which frame 0 was asked for
    std::int64_t last_frame_ = 0;
};

}  // namespace orvena
