#pragma once
// The sound procedures every pluck source calls. Handlers take a Sound& so that tests can
// hand them a recording fake instead of the real sound module. Event thread only; every
// call returns at once and the note sounds in the background.

#include <optional>
#include <string>

namespace orvena {

class Sound {
  public:
    virtual ~Sound() = default;

    // Writes the rate of lever position `lever` of string `string` (1..26) into the header
    // of that string's sample file and plays the file on the plucked channel, cutting the
    // note that channel was playing.
    virtual void play_tuned_sample(int string, int lever) = 0;

    // Tunes string `string` to lever position `lever` as play_tuned_sample does (the rate,
    // fine tuning included, goes into the header of its sample file) and plays it as a held
    // note named `alias`. An alias that is already open is left as it is: the note is neither
    // restarted nor doubled, and the file is not written.
    virtual void play_note_alias(int string, int lever, const std::string& alias) = 0;

    // Stops and closes a held note; an alias that is not open is ignored.
    virtual void stop_note_alias(const std::string& alias) = 0;

    // Silences the plucked channel; held notes keep sounding.
    virtual void stop_plucked() = 0;

    // The notes started and stopped from now on belong to `steady_ms` (the steady clock in
    // milliseconds, as SystemClock::now_ms reads it) rather than to the moment of each call:
    // a player keeping deadlines passes the deadline, so that what it does after the deadline
    // (drawing, rewriting a header) does not make the note late. None: the moment of each call.
    virtual void set_note_time(std::optional<double> steady_ms) { (void)steady_ms; }
};

// Stamps the notes sent during its life with one moment (see Sound::set_note_time).
class NoteTime {
  public:
    NoteTime(Sound& sound, double steady_ms) : sound_(sound) { sound_.set_note_time(steady_ms); }
    ~NoteTime() { sound_.set_note_time(std::nullopt); }
    NoteTime(const NoteTime&) = delete;
    NoteTime& operator=(const NoteTime&) = delete;

  private:
    Sound& sound_;
};

}  // namespace orvena
