#include "recording/wav_export.h"

#include <set>

#include "files/shown_text.h"
#include "recording/performance_recorder.h"
#include "recording/render_schedule.h"
#include "recording/sequence_player.h"

namespace orvena {

namespace {

using Status = WavExportResult::Status;

std::string refusal_reason(SampleRefusal refusal) {
    switch (refusal) {
        case SampleRefusal::too_large:
            return "dosya çok büyük";
        case SampleRefusal::out_of_memory:
            return "belleğe sığmadı";
        case SampleRefusal::none:
        case SampleRefusal::unreadable:
            break;
    }
    return "okunamıyor ya da çalınabilir bir WAV dosyası değil";
}

}  // namespace

// The render would play a sample it cannot decode as silence and call the file finished.
std::optional<std::string> unreadable_sample(const RenderSchedule& schedule,
                                             const InstrumentBuild& build, SampleBank& bank) {
    std::set<int> checked;
    for (const ScheduledPluck& pluck : schedule.plucks) {
        if (pluck.sample_string == 0 || !audible_rate(pluck.rate_hz)) continue;
        if (!checked.insert(pluck.sample_string).second) continue;
        const std::string& name = build.wav_files[pluck.sample_string];
        if (name.empty()) {
            return "Tel " + std::to_string(pluck.sample_string) + " için bir ses dosyası yok.";
        }
        bank.take_refusals();
        if (bank.get(name) != nullptr) continue;
        const auto refusals = bank.take_refusals();
        const SampleRefusal why = refusals.empty() ? SampleRefusal::unreadable : refusals[0].second;
        return in_quotes(name) + " tel sesi (tel " + std::to_string(pluck.sample_string) + ") " +
               refusal_reason(why) + ".";
    }
    return std::nullopt;
}

OutputRules wav_output_rules(const WavExportJob& job) {
    OutputRules rules{{job.sample_folder}, job.also_read, job.in_place_allowed};
    rules.inputs.push_back(job.source);
    return rules;
}

WavExportResult export_wav(const WavExportJob& job, const InstrumentState& st,
                           const ProgressStarter& start_progress) {
    if (auto refusal = output_refusal(job.out, wav_output_rules(job)))
        return {Status::unwritable_output, 0, *refusal};
    RenderSchedule schedule;
    try {
        schedule = schedule_file(job.source, st, job.levers);
    } catch (const ScheduleError& e) {
        return {e.record() == 0 ? Status::unreadable_source : Status::bad_record, e.record(),
                e.what()};
    }
    if (schedule.plucks.empty()) return {Status::nothing_to_play, 0, {}};
    SampleBank bank(job.sample_folder);
    if (auto problem = unreadable_sample(schedule, st.build, bank))
        return {Status::unreadable_sample, 0, *problem};

    const WavFileSize size = wav_file_size(rendered_frames(schedule));
    OutputFile out(job.out, wav_output_rules(job));
    if (auto problem = out.open()) return {Status::unwritable_output, 0, *problem, size.bytes};
    if (const auto free = out.free_bytes(); free && size.bytes > *free) {
        return {Status::too_large, 0,
                "WAV dosyası " + size_text(size.bytes) + " olacak, ama yazılacağı yerde yalnız " +
                    size_text(*free) + " boş yer var.",
                size.bytes};
    }
    const RenderProgress progress = start_progress ? start_progress(size.bytes) : RenderProgress{};
    const RenderResult rendered = render_wav(schedule, st, bank, out, progress);
    switch (rendered.outcome) {
        case RenderOutcome::written:
            return {Status::written, 0, {}, size.bytes};
        case RenderOutcome::cancelled:
            return {Status::cancelled, 0, {}, size.bytes};
        case RenderOutcome::unwritable:
            break;
    }
    return {Status::unwritable_output, 0, rendered.why, size.bytes};
}

std::string wav_export_message(const WavExportJob& job, const WavExportResult& result) {
    const std::string source = shown(job.source.filename());
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
        case Status::too_large:
            return result.detail;
        case Status::unreadable_sample:
            return result.detail + "\r\nWAV dosyası yazılmadı.";
    }
    return {};
}

}  // namespace orvena
