#pragma once
// The tables worked out from the tuning tables and the fine tuning: the frequency of every
// lever position and the sample rate written before its pluck. Owned by tuning/: only
// derive_freq, recompute_string_rates and derive_sample_rates write them (the handlers that
// change a fine tuning or install a tuning call those); everything else reads them.

#include <cstdint>

#include "tuning/string_tables.h"

namespace orvena {

struct DerivedTables {
    PitchTable<double> freq;               // Hz
    PitchTable<std::int32_t> sample_rate;  // samples per second written before a pluck
};

}  // namespace orvena
