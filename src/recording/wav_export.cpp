#include "recording/wav_export.h"

#include "recording/performance_recorder.h"
#include "recording/render_schedule.h"
#include "recording/sequence_player.h"

namespace orvena {

WavExportResult export_wav(const WavExportJob& job, const InstrumentState& st,
                           const RenderProgress& progress) {
    using Status = WavExportResult::Status;
    RenderSchedule schedule;
    try {
        schedule = schedule_file(job.source, st, job.levers);
    } catch (const ScheduleError& e) {
        return {e.record() == 0 ? Status::unreadable_source : Status::bad_record, e.record(),
                e.what()};
    }
    if (schedule.plucks.empty()) return {Status::nothing_to_play, 0, {}};
    SampleBank bank(job.sample_folder);
    const RenderResult rendered = render_wav(schedule, st, bank, job.out, progress);
    switch (rendered.outcome) {
        case RenderOutcome::written:
            return {Status::written, 0, {}};
        case RenderOutcome::cancelled:
            return {Status::cancelled, 0, {}};
        case RenderOutcome::unwritable:
            break;
    }
    return {Status::unwritable_output, 0, rendered.why};
}

std::string wav_export_message(const WavExportJob& job, const WavExportResult& result) {
    using Status = WavExportResult::Status;
    const std::string source = job.source.filename().string();
    switch (result.status) {
        case Status::written:
        case Status::cancelled:
            return {};
        case Status::unreadable_source:
            return source + " dosyası okunamadı.";
        case Status::bad_record:
            // The record's number first, as the players report it.
            return std::to_string(result.record) + "\r\n" +
                   (is_sequence_file(job.source) ? kSequenceFileError : kRecordFileErrorMessage);
        case Status::nothing_to_play:
            return source + " içinde çalınacak nota yok.";
        case Status::unwritable_output:
            return "WAV dosyası yazılamadı:\r\n" + job.out.string() + "\r\n" + result.detail;
    }
    return {};
}

}  // namespace orvena
