#include "surface/clock.h"

#include <chrono>
#include <thread>

namespace orvena {

void SystemClock::Sleep(std::uint32_t milliseconds) {
    if (milliseconds == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace orvena
