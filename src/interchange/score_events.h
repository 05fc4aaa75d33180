#pragma once
// A sequence file as a score: its notes and rests with the note values they are written
// with, each note on the staff step of its string with the sign of the lever it sounds with,
// and the pitch it sounds. The score keeps the written values: a triplet eighth is a third
// of a quarter here, while the players hold it 5 of the quarter's 16 units.

#include <string>
#include <vector>

#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr int kDivisionsPerQuarter = 48;  // a triplet sixteenth and a dotted 32nd are whole

struct NoteValue {
    int type = 0;  // 0 whole, 1 half, 2 quarter, 3 eighth, 4 16th, 5 32nd, 6 64th
    bool dotted = false;
    bool triplet = false;
    bool operator==(const NoteValue&) const = default;
};

// Divisions (kDivisionsPerQuarter to the quarter) a value lasts.
int value_divisions(const NoteValue& value);
// The MusicXML name of a value's type ("whole" .. "64th").
const char* value_type_name(int type);

struct ScoreEvent {
    bool rest = false;
    int string = 0;    // a note's string, 1..26: its staff step
    int step = 0;      // the lever step whose sign the staff draws before it (0: none)
    double pitch = 0;  // the pitch it sounds, a fractional MIDI key; NaN for a silent lever
    NoteValue value;   // as written
    int divisions = 0;
};

// The notes and rests of a sequence file's text at the state st, each note's lever from
// `source`, as the sequence player reads them: skipped records are left out, and so is a note
// that takes no time. Throws ScheduleError at the record the players would stop at.
std::vector<ScoreEvent> score_events(const std::string& text, const InstrumentState& st,
                                     AccidentalSource source);

// The sign the staff draws for a lever: its step, or 0 when the step points the other way
// than the lever (the staff then draws none).
int staff_sign_step(const TuningTables& tables, int string, int lever);

}  // namespace orvena
