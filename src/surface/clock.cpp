#include "surface/clock.h"

#include <chrono>
#include <thread>

namespace orvena {

void SystemClock::Sleep(std::uint32_t milliseconds) {
    if (milliseconds == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

double SystemClock::now_ms() {
    using Ms = std::chrono::duration<double, std::milli>;
    return Ms(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace orvena
