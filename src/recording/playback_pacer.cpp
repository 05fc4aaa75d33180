#include "recording/playback_pacer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvena {

namespace {
// Longest sleep between two rounds of paint events: the window repaints at screen rate.
constexpr double kSliceMs = 5.0;
// No painting in the last stretch before a deadline, so a slow repaint cannot make the next
// note late.
constexpr double kQuietMs = 8.0;
}  // namespace

PlaybackPacer::PlaybackPacer(Clock& clock, EventPump& pump) : clock_(clock), pump_(pump) {}

void PlaybackPacer::start() {
    start_ms_ = clock_.now_ms();
}

void PlaybackPacer::wait_until(double ms_since_start) {
    const double deadline = start_ms_ + ms_since_start;
    for (double left = deadline - clock_.now_ms(); left > kQuietMs;
         left = deadline - clock_.now_ms()) {
        pump_.process_non_input();
        left = deadline - clock_.now_ms();
        if (left <= kQuietMs) break;
        // Whole milliseconds and at least one, so that a clock that moves only by sleeping
        // still moves.
        const double slice = std::max(1.0, std::floor(std::min(kSliceMs, left - kQuietMs)));
        clock_.Sleep(static_cast<std::uint32_t>(slice));
    }
    clock_.sleep_until_ms(deadline);
}

}  // namespace orvena
