#include "interchange/staff_accidentals.h"

#include <cmath>
#include <cstdlib>

namespace orvena {

namespace {

constexpr double kCommaCents = 1200.0 / 53.0;
constexpr double kStepCents = 1200.0 / 79.0;
constexpr int kLargestStep = 12;

struct NamedAccidental {
    const char* name;
    int commas;
};

// In order of preference: the names score editors draw (the Arel-Ezgi-Uzdilek signs, of
// which the plain sharp and flat are two) before the numbered ones.
constexpr NamedAccidental kNames[] = {
    {"sharp", 4},       {"slash-quarter-sharp", 5},
    {"slash-sharp", 8}, {"slash-flat", -4},
    {"flat", -5},       {"double-slash-flat", -8},
    {"sharp-1", 1},     {"sharp-2", 2},
    {"sharp-3", 3},     {"sharp-5", 5},
    {"flat-1", -1},     {"flat-2", -2},
    {"flat-3", -3},     {"flat-4", -4},
};

}  // namespace

const char* musicxml_accidental(int step) {
    if (step == 0 || std::abs(step) > kLargestStep) return nullptr;
    for (const NamedAccidental& named : kNames) {
        if (std::abs(named.commas * kCommaCents - step * kStepCents) < kStepCents / 2) {
            return named.name;
        }
    }
    return nullptr;
}

std::string step_count_text(int step) {
    std::string text = step > 0 ? "+" : "";
    text += std::to_string(step);
    return text;
}

}  // namespace orvena
