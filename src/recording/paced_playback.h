#pragma once
// The loop replay and sequence playback share: each record is read and drawn a little before
// it is due, the window's input is let through once (stop, pause and the controls act
// there), and its note sounds exactly at its time from the playback's start, stamped with
// its deadline so that a late wake-up does not move it. What a record is, what it shows and
// what it sounds is the source's business. Event thread only.

#include <limits>
#include <optional>

#include "recording/playback_pacer.h"
#include "sound/sound.h"
#include "surface/event_pump.h"

namespace orvena {

// One record as its source makes it sound, once the window's input has had its turn.
struct PacedStep {
    bool skip = false;  // the record takes no time and sounds nothing
    int string = 0;     // plucked at the record's due time; 0 = silence
    int lever = 0;
    double ms = 0;         // from this record's due time to the next one's
    bool restart = false;  // the schedule starts afresh at this record (after a pause)
    bool last = false;     // the playback ends once this record has had its time
};

class PacedSource {
  public:
    virtual ~PacedSource() = default;
    // Reads the next record and shows what is shown before the input runs; false at the end.
    // Throws on a bad record.
    virtual bool read_next() = 0;
    // After the input: what the record sounds, or nothing when the playback was stopped
    // before it.
    virtual std::optional<PacedStep> step() = 0;
};

struct PacingRules {
    // A record is read and drawn this long before it is due.
    double lead_ms = 0;
    // true: the pluck channel is cut at the sounding note's end as soon as the next record is
    // read (so a pause held in the input cannot keep the note sounding), whether a note
    // sounds or not, and once more at the end. false: a sounding note is cut when the next
    // note or rest begins.
    bool cut_as_read = false;
    // A playback held up longer than this (a busy machine) goes on from where it is instead
    // of rushing the notes it missed.
    double resync_after_ms = std::numeric_limits<double>::infinity();
};

// Plays the source to its end, to a step marked last, or until it is stopped; returns once
// the last note has had its time and been cut. `sounding` says whether a note sounds, for a
// caller that must cut it when the source throws.
void play_paced(PacedSource& source, const PacingRules& rules, PlaybackPacer& pacer,
                EventPump& pump, Sound& sound, bool& sounding);

}  // namespace orvena
