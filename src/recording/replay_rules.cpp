#include "recording/replay_rules.h"

#include <algorithm>

namespace orvena {

namespace {
bool valid_string(int s) {
    return s >= 1 && s <= kStringCount;
}
}  // namespace

int replayed_string(const Record& record) {
    if (!valid_string(record.string)) throw RecordOutOfRange();
    return record.string;
}

ReplayedPluck replayed_pluck(int string, const InstrumentSettings& settings) {
    const int sample = string + settings.ahenk_shift;
    if (!valid_string(sample)) throw RecordOutOfRange();
    return {sample, settings.mandal_pos[string]};
}

std::int32_t replayed_ms(const Record& record) {
    return std::max<std::int32_t>(0, record.interval_ms);
}

}  // namespace orvena
