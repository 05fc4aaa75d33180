#pragma once
// A score's notes and rests laid into 4/4 measures: an event that crosses a bar line is cut
// into pieces of written values tied together, and the triplets are grouped under their
// brackets, three of a kind to a bracket, never across a bar line.

#include <cstddef>
#include <vector>

#include "interchange/score_events.h"

namespace orvena {

inline constexpr int kMeasureDivisions = 4 * kDivisionsPerQuarter;

struct ScorePiece {
    std::size_t event = 0;  // index of the event the piece belongs to
    int divisions = 0;
    NoteValue value;
    bool tied_from = false;  // continues the piece before it (a note only)
    bool tied_to = false;    // goes on in the piece after it
    bool tuplet_start = false;
    bool tuplet_stop = false;
};

using ScoreMeasure = std::vector<ScorePiece>;

// The written values that make up `divisions` (> 0), longest first: plain and dotted values,
// or triplet values for a triplet; a rest of divisions no value makes up goes into the last
// piece, which then lasts longer than its value says.
std::vector<NoteValue> values_making_up(int divisions, bool triplet);

std::vector<ScoreMeasure> score_measures(const std::vector<ScoreEvent>& events);

}  // namespace orvena
