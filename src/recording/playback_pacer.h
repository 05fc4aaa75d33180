#pragma once
// Keeps a replay in time: each wait ends at a deadline counted from the replay's start, so
// the time spent sounding notes and repainting never adds up to drift. While it waits the
// window keeps repainting, but no input is handled. Event thread only.

#include "surface/clock.h"
#include "surface/event_pump.h"

namespace orvena {

class PlaybackPacer {
  public:
    PlaybackPacer(Clock& clock, EventPump& pump);

    // Marks now as the replay's start; deadlines are counted from here.
    void start();
    // Returns at the time start + ms_since_start (milliseconds), never before it; returns at
    // once when that time has already passed.
    void wait_until(double ms_since_start);
    // The clock's reading at start + ms_since_start: the moment a note due then belongs to.
    double deadline_ms(double ms_since_start) const { return start_ms_ + ms_since_start; }
    // Milliseconds since start().
    double elapsed_ms() const { return clock_.now_ms() - start_ms_; }

  private:
    Clock& clock_;
    EventPump& pump_;
    double start_ms_ = 0;
};

}  // namespace orvena
