#pragma once
// Where the degree list places a pitch on the instrument: the degree played by a string at a
// lever position, and the lever position at which a string plays a degree.

#include <optional>

#include "tuning/instrument_state.h"

namespace orvena {

// The degree numbers the workbook fills.
inline constexpr int kFirstFilledDegree = -107;
inline constexpr int kLastFilledDegree = 196;

// The degree whose place is (s, position): the lowest degree with that first place, else the
// lowest with that second place, else the lowest with that third place.
std::optional<int> degree_of_place(const InstrumentState& st, int s, int position);

// The lever position at which string s plays degree d (a filled degree): its second place,
// else its first, else its third; nothing when none of its places is on string s.
std::optional<int> position_on_string(const InstrumentState& st, int d, int s);

}  // namespace orvena
