#include "interchange/score_events.h"

#include <cmath>
#include <optional>

#include "interchange/played_notes.h"
#include "recording/render_schedule.h"

namespace orvena {

namespace {

constexpr const char* kTypeNames[] = {"whole", "half", "quarter", "eighth", "16th", "32nd", "64th"};
constexpr int kWholeDivisions = 4 * kDivisionsPerQuarter;
constexpr int kLengthCodes = 6;  // 1 whole .. 6 thirty-second

// The written value of a rest, from its units (2 .. 64, one unit a sixty-fourth of a whole).
NoteValue rest_value(int units) {
    int type = 0;
    while ((64 >> type) > units) ++type;
    return {type, false, false};
}

// The value a record writes, or nothing when it keeps the value in force (as its duration
// keeps the units in force). Triplets are the eighths and sixteenths the player shortens.
std::optional<NoteValue> written_value(const SequenceRecord& r) {
    if (r.length_code < 1 || r.length_code > kLengthCodes) return std::nullopt;
    const bool triplet = r.tuplet_flag > 0 && (r.length_code == 4 || r.length_code == 5);
    return NoteValue{r.length_code - 1, r.dot_flag == 1 && !triplet, triplet};
}

}  // namespace

int value_divisions(const NoteValue& v) {
    const int plain = kWholeDivisions >> v.type;
    if (v.triplet) return plain * 2 / 3;
    return v.dotted ? plain * 3 / 2 : plain;
}

const char* value_type_name(int type) {
    return type >= 0 && type < static_cast<int>(std::size(kTypeNames)) ? kTypeNames[type] : "64th";
}

int staff_sign_step(const TuningTables& tables, int string, int lever) {
    if (lever == 0) return 0;
    const int step = tables.mandal_step(string, lever);
    return (step > 0) == (lever > 0) ? step : 0;
}

std::vector<ScoreEvent> score_events(const std::string& text, const InstrumentState& st,
                                     AccidentalSource source) {
    std::vector<ScoreEvent> events;
    SequenceReader reader(text);
    std::int16_t units = 0;
    std::optional<NoteValue> in_force;
    try {
        while (const auto record = reader.next()) {
            const SequenceSound sound = sound_of_record(*record, units, source, st);
            if (sound.step.kind == SequenceStep::Kind::Skip) continue;
            ScoreEvent e;
            if (sound.step.kind == SequenceStep::Kind::Rest) {
                in_force = rest_value(sound.step.units);
                e.rest = true;
            } else {
                if (const auto written = written_value(*record)) in_force = written;
                e.string = sound.step.string;
                // The lookup the player's pluck makes: a lever off the table fails the record.
                e.pitch = pluck_pitch(st, e.string, st.derived.sample_rate(e.string, sound.lever));
                e.step = staff_sign_step(st.tables, e.string, sound.lever);
            }
            if (!in_force || sound.step.units == 0) continue;  // takes no time
            e.value = *in_force;
            e.divisions = value_divisions(e.value);
            events.push_back(e);
        }
    } catch (const std::exception& e) {
        throw ScheduleError(reader.records_read(), e.what());
    }
    return events;
}

}  // namespace orvena
