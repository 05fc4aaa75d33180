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
};

class SystemClock : public Clock {
  public:
    void Sleep(std::uint32_t milliseconds) override;
    double now_ms() override;  // steady_clock
};

}  // namespace orvena
