#pragma once
// Checking a tuning system's tables against the instrument and putting them in force.
// Event thread only.

#include <cstdint>
#include <optional>
#include <string>

#include "tuning/instrument_state.h"
#include "tuning/tuning_tables.h"

namespace orvena {

// A lever position no sample can be played at under a tuning, and why (a Turkish phrase).
struct UnplayablePlace {
    int string = 0;
    int position = 0;
    std::string reason;
};

// The first position whose sample rate, with the fine tuning `akord_offset`, would not fit 32
// bits, or, for a position the string's lever reaches, would lie outside the playable rates or
// give no frequency. The same arithmetic as recompute_string_rates.
std::optional<UnplayablePlace> first_unplayable(const TuningTables& t,
                                                const PerString<std::int16_t>& akord_offset);

// Puts the tables in force and derives the frequencies and sample rates from them (keeping
// the fine tuning). Levers, transposition and everything else stay. The tables must have
// passed first_unplayable with the state's fine tuning.
void install_tables(InstrumentState& st, const TuningTables& t);

}  // namespace orvena
