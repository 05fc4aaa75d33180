#pragma once
// Conversions of floating values to the program's 16-bit (Integer) and 32-bit (Long)
// whole numbers: to the nearest integer, a tie to the even one; a value that does not fit
// is an error, never a silent wrap.

#include <cstdint>
#include <stdexcept>

namespace orvena {

class NumberOverflow : public std::overflow_error {
  public:
    using std::overflow_error::overflow_error;
};

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double round_half_even(double x);

std::int16_t to_int16(double x);  // throws NumberOverflow outside -32768..32767
std::int32_t to_int32(double x);  // throws NumberOverflow outside the 32-bit range

// 16-bit arithmetic that stays within 16 bits or throws.
std::int16_t checked_add16(std::int16_t a, int b);

}  // namespace orvena
