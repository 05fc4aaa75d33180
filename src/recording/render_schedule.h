#pragma once
// What a recording or a sequence file sounds, and when, worked out in advance for an offline
// render: the replay's and the sequence player's own rules, with the time read off the
// records instead of waited for. Event thread only.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace orvena {

// One pluck: it cuts the note before it and sounds the sample string's file at a rate.
struct ScheduledPluck {
    std::int64_t at_ms = 0;  // from the start of the first note
    int sample_string = 0;   // 1..26; 0 for a rest, which only cuts the note before it
    std::int32_t rate_hz = 0;
};

struct RenderSchedule {
    std::vector<ScheduledPluck> plucks;  // in time order
    std::int64_t end_ms = 0;             // the last note is cut here
};

// A record the players would stop at, or a source that cannot be read.
class ScheduleError : public std::runtime_error {
  public:
    // record: 1-based number of the record at fault; 0 when the file itself cannot be read.
    ScheduleError(int record, const std::string& why) : std::runtime_error(why), record_(record) {}
    int record() const { return record_; }

  private:
    int record_;
};

// A recording's text, replayed with "çalgı" (the replay's only choice that sounds).
RenderSchedule schedule_recording(const std::string& text, const InstrumentState& st);

// A sequence file's text at the speed st.transport.speed, each note's lever from `source`.
RenderSchedule schedule_sequence(const std::string& text, const InstrumentState& st,
                                 AccidentalSource source);

// Either of the two, by the file's name: a ".ses" file is a sequence, anything else a
// recording. Throws ScheduleError with record 0 when the file cannot be read.
RenderSchedule schedule_file(const std::filesystem::path& file, const InstrumentState& st,
                             AccidentalSource source);

// Whether the file is read as a sequence file.
bool is_sequence_file(const std::filesystem::path& file);

}  // namespace orvena
