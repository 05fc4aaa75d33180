#pragma once
// What one record of a sequence file asks the instrument to do: rest, skip, or play a string
// with a lever for a number of duration units. Pure functions of the record and the state
// they name, so every rule can be checked from a table.

#include <cstdint>

#include "recording/sequence_file.h"
#include "tuning/instrument_state.h"

namespace orvena {

// The "arızalar" options of the sequence player: where a note's lever comes from.
enum class AccidentalSource {
    Instrument = 1,   // "çalgı": the instrument's own lever
    Conditional = 2,  // "şartlı": the file's lever where the note has its own accidental
    File = 3,         // "dosya": always the file's lever
};

struct SequenceStep {
    enum class Kind { Skip, Rest, Note };
    Kind kind = Kind::Skip;
    std::int16_t units = 0;  // duration units of a rest or a note (one unit lasts `speed` ms)
    int string = 0;          // string of a note, 1..26
};

// Units of a note value 1..6 (whole .. thirty-second), dotted when asked; 0 otherwise.
std::int16_t note_units(int length_code, bool dotted);
// Units of a rest 26..31 (2 .. 64); 0 otherwise.
std::int16_t rest_units(int pitch_code);

// The string a note pitch code 0..25 plays at the pitch level's string shift.
int note_string(int pitch_code, int ahenk_shift);

// The step a record makes. current_units is the duration in force: rests and notes with a
// note value set it, other length codes leave it as it was.
SequenceStep plan_record(const SequenceRecord& record, std::int16_t& current_units,
                         int ahenk_shift);

// The lever a note sounds with. Under "şartlı", at the pitch levels that shift the strings
// by -2, -1, 1, 2 or 3, the file's lever is taken six positions higher.
int note_lever(const SequenceRecord& record, AccidentalSource source, int instrument_lever,
               int ahenk_shift);

// Where the speed bar starts: milliseconds per unit, a quarter note of 640 ms.
inline constexpr std::int16_t kStartSpeed = 40;

// What a record sounds: its step, the lever of a note, and how long the note or rest lasts
// at the speed in force (st.transport.speed ms per unit). Throws IndexOutOfRange for a note whose
// string has no lever, NumberOverflow for a duration beyond 16 bits.
struct SequenceSound {
    SequenceStep step;
    int lever = 0;        // a note's lever
    std::int16_t ms = 0;  // how long the note or rest lasts
};
SequenceSound sound_of_record(const SequenceRecord& record, std::int16_t& current_units,
                              AccidentalSource source, const InstrumentState& st);

}  // namespace orvena
