#include "interchange/export_menu.h"

#include "files/shown_text.h"
#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "recording/wav_export_menu.h"
#include "surface/file_list.h"

namespace orvena {

namespace {

// Rules of the window: besides the program's files and the source, no device or pipe.
OutputRules window_rules(const ExportPlace& place) {
    return {{place.program_folder}, {}, false};
}

// The file to write, once the user has named one the export may write (a refused name is
// told and the dialog opens again on it) and agreed to replace an existing one; nothing when
// the user backs out.
std::optional<std::filesystem::path> output_for(const std::filesystem::path& source,
                                                const std::string& suffix, Dialogs& dialogs,
                                                const ExportPlace& place,
                                                const ExportQuestions& ask) {
    OutputRules rules = window_rules(place);
    rules.inputs.push_back(source);
    rules.inputs.insert(rules.inputs.end(), place.tuning_files.begin(), place.tuning_files.end());
    std::filesystem::path suggested = place.output_folder / (source.stem().string() + suffix);
    std::optional<std::filesystem::path> out;
    for (;;) {
        out = ask.choose_output(suggested);
        if (!out) return std::nullopt;
        const auto refusal = output_refusal(*out, rules);
        if (!refusal) break;
        dialogs.message(*refusal);
        suggested = *out;
    }
    std::error_code ec;
    if (std::filesystem::exists(*out, ec) &&
        dialogs.message(shown(out->filename()) + " zaten var. Üzerine yazılsın mı?",
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
        return std::nullopt;
    }
    return out;
}

// A written file is named in a notice that leaves the window free, a failure in a message.
void tell(Dialogs& dialogs, const std::string& kind, const std::filesystem::path& source,
          const std::filesystem::path& out, const ExportResult& result) {
    if (result.status == ExportResult::Status::written) {
        dialogs.notice(export_done_notice(kind, out));
    } else if (const std::string text = export_message(kind, source, result); !text.empty()) {
        dialogs.message(text);
    }
}

}  // namespace

std::string export_done_notice(const std::string& kind, const std::filesystem::path& out) {
    return kind + " dosyası yazıldı:\r\n" + shown(out);
}

void midi_export_Click(const InstrumentState& st, Dialogs& dialogs, const ExportPlace& place,
                       const ExportQuestions& ask) {
    const auto sources = wav_export_sources(place.recording, place.program_folder);
    if (sources.empty()) {
        dialogs.message(kNoMidiSourceMessage);
        return;
    }
    const auto source = ask.choose_source(sources);
    if (!source) return;
    const auto tuning = ask.choose_tuning();
    if (!tuning) return;
    const auto out = output_for(*source, ".mid", dialogs, place, ask);
    if (!out) return;
    const MidiExportJob job{
        *source, *out, place.sample_folder, place.sequence_levers, *tuning, window_rules(place)};
    ExportResult result;
    {
        const ExportProgress progress = ask.show_progress();
        result = export_midi(job, st, progress);
    }
    tell(dialogs, "MIDI", *source, *out, result);
}

void musicxml_export_Click(const InstrumentState& st, Dialogs& dialogs, const ExportPlace& place,
                           const ExportQuestions& ask) {
    std::vector<std::filesystem::path> sources;
    for (const std::string& name : list_matching_files(place.program_folder, "*.ses")) {
        sources.push_back(place.program_folder / name);
    }
    if (sources.empty()) {
        dialogs.message(kNoMusicXmlSourceMessage);
        return;
    }
    const auto source = ask.choose_source(sources);
    if (!source) return;
    const auto out = output_for(*source, ".musicxml", dialogs, place, ask);
    if (!out) return;
    const MusicXmlExportJob job{*source, *out, place.sequence_levers, window_rules(place)};
    ExportResult result;
    {
        const ExportProgress progress = ask.show_progress();
        result = export_musicxml(job, st, progress);
    }
    tell(dialogs, "MusicXML", *source, *out, result);
}

}  // namespace orvena
