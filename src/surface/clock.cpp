#include "surface/clock.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace orvena {

namespace {
// The last stretch before a deadline is waited for by yielding, not sleeping: a sleep can
// wake a fraction of a millisecond late.
constexpr double kYieldMs = 1.0;
}  // namespace

void Clock::sleep_until_ms(double deadline_ms) {
    const double left = deadline_ms - now_ms();
    if (left > 0) Sleep(static_cast<std::uint32_t>(std::ceil(left)));
}

void SystemClock::Sleep(std::uint32_t milliseconds) {
    if (milliseconds == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

double SystemClock::now_ms() {
    using Ms = std::chrono::duration<double, std::milli>;
    return Ms(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleep_until_ms(double deadline_ms) {
    const double left = deadline_ms - now_ms();
    if (left > kYieldMs) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(left - kYieldMs));
    }
    while (now_ms() < deadline_ms) std::this_thread::yield();
}

}  // namespace orvena
