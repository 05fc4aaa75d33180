#pragma once
// Where a moment of the steady clock falls in the stream of frames the mixer renders. A device
// asks for each block a little before it plays it, at moments that jitter from block to block;
// averaged over many blocks, frame n is asked for at origin + n / rate. The average follows the
// device's own clock slowly (so it does not drift from the steady clock), and moves at once when
// the stream itself moves, as after a dropout. Rendering thread only; no locks, no allocation.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace orvena {

class StreamClock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit StreamClock(double rate_hz) : rate_(rate_hz) {}

    // The block of `frames` frames that starts at `first_frame` is being asked for at `now`.
    void block_asked(std::int64_t first_frame, std::size_t frames, TimePoint now) noexcept;

    // False until the first block_asked().
    bool known() const noexcept { return known_; }

    // The frame (nearest) at which the moment `at` falls; meaningful once known().
    std::int64_t frame_at(TimePoint at) const noexcept;

  private:
    double rate_;
    bool known_ = false;
    double origin_ns_ = 0.0;     // steady-clock ns at which frame 0 was, on average, asked for
    int run_ = 0;                // blocks in a row asked off the average to one side
    double least_shift_ns_ = 0;  // the smallest of their deviations
};

}  // namespace orvena
