#pragma once
// The wall-clock waits of the long actions: a note or a rest blocks the event thread for its
// length, and replay reads the time to keep its deadlines. Behind an interface so tests run
// without real time passing.

#include <cstdint>

namespace orvena {

class Clock {
  public:
    virtual ~Clock() = default;
    // Blocks the calling thread for the given milliseconds; 0 returns at once.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // Monotonic time in milliseconds from an arbitrary origin; only differences mean anything.
    virtual double now_ms() = 0;
    // Blocks until now_ms() reaches deadline_ms, returning at once when it has passed. This
    // one sleeps whole milliseconds (so it may end up to 1 ms late); a clock with a finer
    // wait overrides it.
    virtual void sleep_until_ms(double deadline_ms);
};

class SystemClock : public Clock {
  public:
    void Sleep(std::uint32_t milliseconds) override;
    double now_ms() override;  // steady_clock
    // Sleeps to just before the deadline, then yields until it is reached.
    void sleep_until_ms(double deadline_ms) override;
};

}  // namespace orvena
