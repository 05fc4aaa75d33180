#pragma once
// What one record of "kayıt.txt" asks a replay to sound: the string it shows, the sample
// string and lever its note sounds with ("çalgı"), and how long the note lasts. Pure
// functions of the record and the instrument, shared by the replay and the WAV export.

#include <cstdint>
#include <stdexcept>

#include "recording/record_file.h"
#include "tuning/instrument_state.h"

namespace orvena {

class RecordOutOfRange : public std::runtime_error {
  public:
    RecordOutOfRange() : std::runtime_error("tel numarası 1..26 aralığının dışında") {}
};

// The string a record selects and shows; throws RecordOutOfRange outside 1..26.
int replayed_string(const Record& record);

struct ReplayedPluck {
    int sample_string = 0;  // the string whose sample sounds, moved by the pitch level
    int lever = 0;          // the instrument's own lever of the string shown
};

// The pluck that sounds for the shown string; throws RecordOutOfRange when the pitch level
// moves it off the instrument.
ReplayedPluck replayed_pluck(int string, const InstrumentSettings& settings);

// Milliseconds the note lasts; an interval below 0 (an edited file) lasts nothing.
std::int32_t replayed_ms(const Record& record);

}  // namespace orvena
