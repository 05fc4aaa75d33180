#pragma once
// The MusicXML 3.1 (partwise) text of a score: one part on a treble staff, as the instrument's
// staff draws its notes, in 4/4 measures, with the tempo of the speed in force. Each note is
// the natural of its string with the staff's sign as an accidental name where one fits (the
// step count printed above it where none does) and its exact pitch as <alter>.

#include <QByteArray>

#include <string>
#include <vector>

#include "interchange/score_measures.h"

namespace orvena {

struct StaffPosition {
    char step = 'C';  // the natural's letter
    int octave = 4;
    int key = 60;  // its 12-tone key (60 = C4)
};

// The natural a string stands for on the staff: string 1 is E6, each next string one step
// lower, string 26 A2.
StaffPosition staff_position(int string);

// Semitones from a natural's 12-tone key to a pitch (a fractional key), as <alter> writes it:
// two decimals, and "0" for a pitch within half a hundredth of the natural.
std::string alter_text(double pitch, int natural_key);

struct ScoreSheet {
    std::string title;
    double quarters_per_minute = 0;
    std::vector<ScoreEvent> events;
    std::vector<ScoreMeasure> measures;
};

QByteArray musicxml_score(const ScoreSheet& sheet);

}  // namespace orvena
