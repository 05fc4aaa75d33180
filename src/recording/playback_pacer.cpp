#include "recording/playback_pacer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvena {

namespace {
// Longest single sleep: short enough that paint events are served at screen rate.
constexpr double kSliceMs = 5.0;
}  // namespace

PlaybackPacer::PlaybackPacer(Clock& clock, EventPump& pump) : clock_(clock), pump_(pump) {}

void PlaybackPacer::start() {
    start_ms_ = clock_.now_ms();
}

void PlaybackPacer::wait_until(double ms_since_start) {
    const double deadline = start_ms_ + ms_since_start;
    for (double left = deadline - clock_.now_ms(); left > 0; left = deadline - clock_.now_ms()) {
        if (left > kSliceMs) {
            pump_.process_non_input();
            left = deadline - clock_.now_ms();
            if (left <= 0) return;
        }
        // Whole milliseconds, never less than one: the last sleep may end a fraction of a
        // millisecond late, never early, and a clock that only moves by sleeping still moves.
        const double slice = std::max(1.0, std::floor(std::min(kSliceMs, left)));
        clock_.Sleep(static_cast<std::uint32_t>(slice));
    }
}

}  // namespace orvena
