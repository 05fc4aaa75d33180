#include "presets/pitch_levels.h"

#include <stdexcept>

namespace orvena {

const PitchLevel& pitch_level(int level) {
    if (level < 1 || level > kPitchLevelCount) {
        throw std::out_of_range("pitch level " + std::to_string(level));
    }
    return kPitchLevels[static_cast<std::size_t>(level - 1)];
}

}  // namespace orvena
