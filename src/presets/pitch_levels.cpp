#include "presets/pitch_levels.h"

#include <cmath>
#include <stdexcept>

namespace orvena {

const PitchLevel& pitch_level(int level) {
    if (level < 1 || level > kPitchLevelCount) {
        throw std::out_of_range("pitch level " + std::to_string(level));
    }
    return kPitchLevels[static_cast<std::size_t>(level - 1)];
}

int level_degree_step(const TuningTables& tables, const PitchLevel& level) {
    if (!tables.scale_tuning || !(tables.scale_step_cents > 0.0)) return level.degree_step;
    return static_cast<int>(
        std::lround(level.degree_step * kLevelDegreeCents / tables.scale_step_cents));
}

}  // namespace orvena
