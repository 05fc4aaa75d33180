#include "recording/wav_export_menu.h"

#include "surface/file_list.h"

namespace orvena {

void wav_export_Click(const InstrumentState& st, Dialogs& dialogs, const WavExportPlace& place,
                      const WavExportQuestions& ask) {
    const auto source = ask.choose_source();
    if (!source) return;
    const auto out = ask.choose_output(source->stem().string() + ".wav");
    if (!out) return;
    const WavExportJob job{*source, *out, place.sample_folder, place.sequence_levers};
    WavExportResult result;
    {
        const RenderProgress progress = ask.show_progress();
        result = export_wav(job, st, progress);
    }
    if (result.status == WavExportResult::Status::written) {
        dialogs.notice(wav_export_done_notice(job));
    } else if (const std::string text = wav_export_message(job, result); !text.empty()) {
        dialogs.message(text);
    }
}

std::string wav_export_done_notice(const WavExportJob& job) {
    return "WAV dosyası yazıldı:\r\n" + job.out.string();
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
