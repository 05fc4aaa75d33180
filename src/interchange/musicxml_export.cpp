#include "interchange/musicxml_export.h"

#include "interchange/musicxml_score.h"
#include "recording/render_schedule.h"

namespace orvena {

double quarters_per_minute(int speed) {
    return 60000.0 / (16.0 * (speed > 0 ? speed : kStartSpeed));
}

ExportResult export_musicxml(const MusicXmlExportJob& job, const InstrumentState& st,
                             const ExportProgress& progress) {
    using Status = ExportResult::Status;
    const auto go_on = [&progress](double done) { return !progress || progress(done); };
    if (!is_sequence_file(job.source)) return {Status::not_a_sequence, 0, {}};
    ScoreSheet sheet;
    sheet.title = job.source.stem().string();
    sheet.quarters_per_minute = quarters_per_minute(st.transport.speed);
    std::string text;
    if (auto unreadable = read_export_source(job.source, text)) return *unreadable;
    try {
        sheet.events = score_events(text, st, job.levers);
    } catch (const ScheduleError& e) {
        return {Status::bad_record, e.record(), e.what()};
    }
    if (sheet.events.empty()) return {Status::nothing_to_play, 0, {}};
    if (!go_on(0.4)) return {Status::cancelled, 0, {}};
    sheet.measures = score_measures(sheet.events);
    const QByteArray score = musicxml_score(sheet);
    if (!go_on(0.8)) return {Status::cancelled, 0, {}};
    const ExportResult saved = save_export(job.out, score.toStdString(), job.rules, job.source);
    if (saved.status == Status::written) go_on(1.0);
    return saved;
}

}  // namespace orvena
