#include "recording/render_schedule.h"

#include <algorithm>
#include <cctype>

#include "files/user_file.h"
#include "recording/record_file.h"
#include "recording/replay_rules.h"

namespace orvena {

namespace {

ScheduledPluck pluck_at(std::int64_t at_ms, int string, int lever, const DerivedTables& derived) {
    // The lookup a pluck makes; a string or lever off the table fails the record.
    return {at_ms, string, derived.sample_rate(string, lever)};
}

}  // namespace

RenderSchedule schedule_recording(const std::string& text, const InstrumentState& st) {
    RenderSchedule schedule;
    NumberTextReader reader(text);
    int record_number = 0;
    try {
        while (!reader.at_end()) {
            ++record_number;
            const Record record = read_record(reader);
            const ReplayedPluck pluck = replayed_pluck(replayed_string(record), st.settings);
            schedule.plucks.push_back(
                pluck_at(schedule.end_ms, pluck.sample_string, pluck.lever, st.derived));
            schedule.end_ms += replayed_ms(record);
        }
    } catch (const std::exception& e) {
        throw ScheduleError(record_number, e.what());
    }
    return schedule;
}

RenderSchedule schedule_sequence(const std::string& text, const InstrumentState& st,
                                 AccidentalSource source) {
    RenderSchedule schedule;
    SequenceReader reader(text);
    std::int16_t current_units = 0;
    try {
        while (const auto record = reader.next()) {
            const SequenceSound sound = sound_of_record(*record, current_units, source, st);
            if (sound.step.kind == SequenceStep::Kind::Skip) continue;
            schedule.plucks.push_back(
                sound.step.kind == SequenceStep::Kind::Note
                    ? pluck_at(schedule.end_ms, sound.step.string, sound.lever, st.derived)
                    : ScheduledPluck{schedule.end_ms, 0, 0});
            schedule.end_ms += sound.ms;
        }
    } catch (const std::exception& e) {
        throw ScheduleError(reader.records_read(), e.what());
    }
    return schedule;
}

bool is_sequence_file(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ses";
}

RenderSchedule schedule_file(const std::filesystem::path& file, const InstrumentState& st,
                             AccidentalSource source) {
    const UserFileRead read = read_user_file(file, kMaxTextFileBytes);
    if (read.problem) throw ScheduleError(0, *read.problem);
    return is_sequence_file(file) ? schedule_sequence(read.bytes, st, source)
                                  : schedule_recording(read.bytes, st);
}

}  // namespace orvena
