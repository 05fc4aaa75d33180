#include "sound/x_timer.h"

#include <chrono>
#include <utility>

namespace orvena {

std::int64_t xTimer::QueryPerformanceCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t xTimer::QueryPerformanceFrequency() {
    return 1'000'000'000;
}

xTimer::xTimer(Counter counter)
    : counter_(std::move(counter)), counts_per_second(QueryPerformanceFrequency()) {}

void xTimer::Calibrieren() {
    start_count = counter_();
    stop_count = counter_();
    overhead_ms = static_cast<double>(stop_count - start_count) /
                  static_cast<double>(counts_per_second) * 1000.0;
}

void xTimer::Halt() {
    stop_count = counter_();
}

void xTimer::Start() {
    start_count = counter_();
}

double xTimer::RunTime() const {
    return (static_cast<double>(stop_count) - static_cast<double>(start_count)) /
               static_cast<double>(counts_per_second) * 1000.0 -
           overhead_ms;
}

}  // namespace orvena
