#pragma once
// The staff's accidental signs (one per lever step -12..12) in a score for other programs.
// MusicXML names the accidentals of Turkish music by the number of commas (53 to the octave)
// they raise or lower a note: the Arel-Ezgi-Uzdilek signs ("sharp" 4, "slash-quarter-sharp"
// 5, "slash-sharp" 8; "slash-flat" -4, "flat" -5, "double-slash-flat" -8) and the numbered
// signs of folk music ("sharp-1" .. "flat-4"). A staff sign takes the name whose commas lie
// within half a lever step of its steps (a step being one degree of 79 to the octave, the
// division the signs are drawn for), the names score editors know best first; a sign that no
// name fits has none, and its step count is printed above the note instead.

#include <string>

namespace orvena {

// The MusicXML accidental value of the sign of `step`, or nullptr for step 0, for a step
// outside -12..12 and for a sign no name fits.
const char* musicxml_accidental(int step);

// The step count printed above a note whose sign has no name: "+5", "-2".
std::string step_count_text(int step);

}  // namespace orvena
