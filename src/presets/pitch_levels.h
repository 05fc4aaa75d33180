#pragma once
// The eight traditional pitch levels (ahenk) of the "Ahenkler" group: how far each moves
// the notes in strings and the pitches in degrees, and which strings its main pass reads.

#include <array>
#include <cstdint>

#include "tuning/instrument_state.h"

namespace orvena {

struct PitchLevel {
    const char* caption;
    std::int16_t string_shift;  // ahenk_shift: target string = source string + string_shift
    std::int16_t degree_step;   // degrees of the tuning system the level moves every pitch
    std::int16_t first_source;  // source strings of the main pass, in the order walked
    std::int16_t last_source;
};

inline constexpr int kPitchLevelCount = 8;
inline constexpr int kSupurde = 5;  // the level without shift, selected at start-up

inline constexpr std::array<PitchLevel, kPitchLevelCount> kPitchLevels = {{
    {"ŞAH", 4, -46, 22, 8},
    {"MANSUR", 3, -33, 23, 8},
    {"KIZ NEYİ", 2, -20, 24, 8},
    {"MÜSTAHSEN", 1, -7, 25, 8},
    {"SÜPÜRDE", 0, 0, 26, 8},
    {"BOLAHENK NIS.", -1, 13, 9, 26},
    {"DAVUD NIS.", -2, 26, 10, 26},
    {"ŞAH NISFİYE", -3, 33, 11, 26},
}};

// Level 1..8 (Option1's index); throws std::out_of_range otherwise.
const PitchLevel& pitch_level(int level);

// The degree steps above count degrees of the shipped workbook's division (1200/79 cents).
inline constexpr double kLevelDegreeCents = 1200.0 / 79.0;

// The degree step of a level in the tuning in force: the table's under a workbook; under a
// scale, the whole number of its degrees (period over note count) nearest the same interval.
int level_degree_step(const TuningTables& tables, const PitchLevel& level);

}  // namespace orvena
