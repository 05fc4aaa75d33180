#pragma once
// The tables a tuning system gives the instrument, read from the workbook or built from a
// scale. The state holds the system in force as one part (`InstrumentState::tables`); other
// systems are kept beside it as whole values and switched at once by install_tables.
// Owned by tuning/: only the workbook import and install_tables write the part in force;
// everything else reads it.

#include <cstdint>
#include <string>

#include "tuning/string_tables.h"

namespace orvena {

struct TuningTables {
    std::string name;                      // as the window shows it
    PitchTable<double> cents;              // cents above C4
    PitchTable<std::int16_t> mandal_step;  // lever step shown for (s, p)
    PitchTable<std::int16_t> degree_at;    // degree number of (s, p); 0 = none
    IndexedArray<degree_record, kDegreeLo, kDegreeHi> degrees;
    PerString<std::int16_t> sample_cents;  // whole cents of each sample's correction
    // Cents by which a tuning other than the workbook moves each string's lever-0 pitch away
    // from the pitch its sample correction gives; 0 under a workbook.
    PerString<double> home_shift;
    // Whether the tables come from a scale (every lever position of every string one degree
    // of the scale, each place in degree_at, the top strings stepping like the others) rather
    // than from a workbook.
    bool scale_tuning = false;
    double scale_step_cents = 0.0;  // a scale's period over its note count
};

}  // namespace orvena
