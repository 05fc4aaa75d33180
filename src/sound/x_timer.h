#pragma once
// A stopwatch with sub-millisecond resolution, used to time recorded notes. Event thread
// only. Calibrieren measures the cost of two back-to-back counter reads so that RunTime
// can subtract it.

#include <cstdint>
#include <functional>

namespace orvena {

class xTimer {
  public:
    // The counter it reads: nanosecond counts, QueryPerformanceCounter unless a test gives
    // one it moves by hand.
    using Counter = std::function<std::int64_t()>;
    explicit xTimer(Counter counter = &QueryPerformanceCounter);

    void Calibrieren();  // overwrites both counts: Start must follow before a measurement
    void Halt();
    void Start();
    double RunTime() const;  // milliseconds between Start and Halt, less the overhead

    // The counter behind the stopwatch: a monotonic clock in nanosecond counts.
    static std::int64_t QueryPerformanceCounter();
    static std::int64_t QueryPerformanceFrequency();

  private:
    Counter counter_;
    std::int64_t start_count = 0;
    std::int64_t stop_count = 0;
    std::int64_t counts_per_second = 0;
    double overhead_ms = 0.0;
};

}  // namespace orvena
