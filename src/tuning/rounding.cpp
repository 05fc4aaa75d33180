#include "tuning/rounding.h"

#include <cmath>
#include <limits>
#include <string>

namespace orvena {

double round_half_even(double x) {
    // std::nearbyint honours the current rounding mode, which is round-to-nearest-even
    // unless someone changed it; do the tie handling explicitly so it never depends on that.
    const double floor_x = std::floor(x);
    const double diff = x - floor_x;
    if (diff < 0.5) return floor_x;
    if (diff > 0.5) return floor_x + 1.0;
    return std::fmod(floor_x, 2.0) == 0.0 ? floor_x : floor_x + 1.0;
}

namespace {
template <typename Int>
Int to_integer(double x) {
    if (std::isnan(x)) throw NumberOverflow("sayı değil");
    const double r = round_half_even(x);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw NumberOverflow(std::to_string(x) + " değeri sığmıyor");
    }
    return static_cast<Int>(r);
}
}  // namespace

std::int16_t to_int16(double x) {
    return to_integer<std::int16_t>(x);
}
std::int32_t to_int32(double x) {
    return to_integer<std::int32_t>(x);
}

std::int16_t checked_add16(std::int16_t a, int b) {
    const int sum = a + b;
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max()) {
        throw NumberOverflow("16 bitlik taşma: " + std::to_string(a) + " + " + std::to_string(b));
    }
    return static_cast<std::int16_t>(sum);
}

}  // namespace orvena
