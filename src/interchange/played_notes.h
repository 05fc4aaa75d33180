#pragma once
// The notes a recording or a sequence file sounds, as the WAV export renders them: when each
// starts, when it stops (cut by the next pluck, or at the end of its sample), and the pitch
// it sounds as a fractional MIDI key. Files for other programs (MIDI) are written from
// these, so they hold exactly the notes the WAV file holds. Event thread only.

#include <cstdint>
#include <vector>

#include "recording/render_schedule.h"
#include "sound/sample_bank.h"
#include "tuning/instrument_state.h"

namespace orvena {

struct PlayedNote {
    std::int64_t start_ms = 0;
    std::int64_t end_ms = 0;  // > start_ms
    int sample_string = 0;    // 1..26, the string whose sample sounds
    double pitch = 0.0;       // fractional MIDI key (69.0 = 440 Hz)
    int key = 0;              // 0..127, the key the note is played on
};

// The pitch a pluck of the sample string's file at rate_hz sounds, as a fractional MIDI key:
// the sample sounds the string's home pitch at the rate of its lever 0 without fine tuning,
// and any other rate moves it by the ratio. NaN when the string has no pitch to scale.
double pluck_pitch(const InstrumentState& st, int sample_string, std::int32_t rate_hz);

// The key the MIDI keyboard map gives the sample string when it sounds `pitch` (the other
// strings at their levers in force); where the map leaves it without a key, the key nearest
// the pitch. -1 when the pitch lies off the keyboard.
int played_key(const InstrumentState& st, int sample_string, double pitch);

// Every pluck of the schedule that makes a sound: rests, plucks at a rate the render leaves
// silent, samples that do not decode, and notes cut on the frame they start are left out.
std::vector<PlayedNote> played_notes(const RenderSchedule& schedule, const InstrumentState& st,
                                     SampleBank& bank);

}  // namespace orvena
