#include "recording/wav_export_menu.h"

#include "files/shown_text.h"
#include "surface/file_list.h"

namespace orvena {

namespace {

// The WAV file the user picks and agrees to write, or nothing when the user backs out.
std::optional<std::filesystem::path> chosen_output(Dialogs& dialogs, WavExportJob& job,
                                                   std::filesystem::path suggested,
                                                   const WavExportQuestions& ask) {
    for (;;) {
        const auto out = ask.choose_output(suggested);
        if (!out) return std::nullopt;
        job.out = *out;
        const auto refusal = output_refusal(job.out, wav_output_rules(job));
        if (!refusal) break;
        dialogs.message(*refusal);
        suggested = *out;
    }
    std::error_code ec;
    if (std::filesystem::exists(job.out, ec) &&
        dialogs.message(shown(job.out.filename()) + " zaten var. Üzerine yazılsın mı?",
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
        return std::nullopt;
    }
    return job.out;
}

}  // namespace

void wav_export_Click(const InstrumentState& st, Dialogs& dialogs, const WavExportPlace& place,
                      const WavExportQuestions& ask) {
    if (place.sources.empty()) {
        dialogs.message(kNoWavSourceMessage);
        return;
    }
    const auto source = ask.choose_source(place.sources);
    if (!source) return;
    // The window writes files only: a device or a FIFO would hold the window until read.
    WavExportJob job{*source,           {}, place.sample_folder, place.sequence_levers, false,
                     place.tuning_files};
    if (!chosen_output(dialogs, job, place.output_folder / (source->stem().string() + ".wav"),
                       ask)) {
        return;
    }
    WavExportResult result;
    {
        RenderProgress progress;
        result = export_wav(job, st, [&](std::uint64_t bytes) {
            progress = ask.show_progress(bytes);
            return progress;
        });
    }
    if (result.status == WavExportResult::Status::written) {
        dialogs.notice(wav_export_done_notice(job));
    } else if (const std::string text = wav_export_message(job, result); !text.empty()) {
        dialogs.message(text);
    }
}

std::string wav_export_done_notice(const WavExportJob& job) {
    return "WAV dosyası yazıldı:\r\n" + shown(job.out);
}

std::vector<std::filesystem::path> wav_export_sources(
    const std::filesystem::path& recording, const std::filesystem::path& sequence_folder) {
    std::vector<std::filesystem::path> sources;
    std::error_code ec;
    if (std::filesystem::is_regular_file(recording, ec)) sources.push_back(recording);
    for (const std::string& name : list_matching_files(sequence_folder, "*.ses")) {
        sources.push_back(sequence_folder / name);
    }
    return sources;
}

}  // namespace orvena
