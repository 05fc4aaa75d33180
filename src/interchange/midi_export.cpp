#include "interchange/midi_export.h"

#include <stdexcept>

#include "interchange/played_notes.h"
#include "recording/render_schedule.h"
#include "recording/wav_export.h"
#include "sound/sample_bank.h"

namespace orvena {

ExportResult export_midi(const MidiExportJob& job, const InstrumentState& st,
                         const ExportProgress& progress) {
    using Status = ExportResult::Status;
    const auto go_on = [&progress](double done) { return !progress || progress(done); };
    std::string text;
    if (auto unreadable = read_export_source(job.source, text)) return *unreadable;
    RenderSchedule schedule;
    try {
        schedule = is_sequence_file(job.source) ? schedule_sequence(text, st, job.levers)
                                                : schedule_recording(text, st);
    } catch (const ScheduleError& e) {
        return {Status::bad_record, e.record(), e.what()};
    }
    if (!go_on(0.25)) return {Status::cancelled, 0, {}};
    SampleBank bank(job.sample_folder);
    // The note ends come from the samples, and the WAV export plays no source with one it
    // cannot read: neither does this.
    if (auto problem = unreadable_sample(schedule, st.build, bank)) {
        return {Status::unreadable_sample, 0, *problem};
    }
    const std::vector<PlayedNote> notes = played_notes(schedule, st, bank);
    if (notes.empty()) return {Status::nothing_to_play, 0, {}};
    if (!go_on(0.5)) return {Status::cancelled, 0, {}};
    std::string bytes;
    try {
        bytes = midi_file(notes, st.transport.speed > 0 ? st.transport.speed : kStartSpeed,
                          job.tuning, job.source.stem().string());
    } catch (const std::out_of_range& e) {
        return {Status::too_long, 0, e.what()};
    }
    if (!go_on(0.75)) return {Status::cancelled, 0, {}};
    const ExportResult saved = save_export(job.out, bytes, job.rules, job.source);
    if (saved.status == Status::written) go_on(1.0);
    return saved;
}

}  // namespace orvena
