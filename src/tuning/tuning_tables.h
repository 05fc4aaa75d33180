#pragma once
// The tables a tuning system gives the instrument, taken out of the state or put into it as
// a whole, so that systems can be kept side by side and switched at once.

#include <cstdint>
#include <optional>
#include <string>

#include "tuning/instrument_state.h"

namespace orvena {

struct TuningTables {
    std::string name;  // as the window shows it
    PitchTable<double> cents;
    PitchTable<std::int16_t> mandal_step;
    PitchTable<std::int16_t> degree_at;
    IndexedArray<degree_record, kDegreeLo, kDegreeHi> degrees;
    PerString<std::int16_t> sample_cents;
    PerString<double> home_shift;
    bool scale_tuning = false;
    double scale_step_cents = 0.0;
};

// The tables in force.
TuningTables tables_in_force(const InstrumentState& st);

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

// Puts the tables into the state and derives its frequencies and sample rates (keeping the
// fine tuning). Levers, transposition and everything else stay. The tables must have passed
// first_unplayable with the state's fine tuning.
void install_tables(InstrumentState& st, const TuningTables& t);

}  // namespace orvena
