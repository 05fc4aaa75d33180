#include "interchange/export_command.h"

#include <algorithm>

#include "files/shown_text.h"
#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "recording/render_command.h"
#include "tuning/tuning_file.h"

namespace orvena {

namespace {

constexpr const char* kMidiOption = "--export-midi";
constexpr const char* kScoreOption = "--export-musicxml";
constexpr const char* kTuningOption = "--midi-tuning";
constexpr const char* kUsage =
    "kullanım: orvena --export-midi DOSYA ÇIKTI.mid [--midi-tuning mts|bend]\n"
    "          orvena --export-musicxml DOSYA.ses ÇIKTI.musicxml";
// The sequence player's "arızalar" as the window starts: the file's accidentals.
constexpr AccidentalSource kStartAccidentals = AccidentalSource::Conditional;

struct ExportRequest {
    bool midi = false;
    std::filesystem::path source, out;
    MidiTuning tuning = MidiTuning::mts;
};

// The request the arguments make, or the reason they make none.
std::optional<ExportRequest> parse_request(const std::vector<std::string>& args, std::string& why) {
    ExportRequest request;
    bool have_export = false, have_tuning = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string& a = args[i];
        if ((a == kMidiOption || a == kScoreOption) && !have_export && i + 2 < args.size()) {
            have_export = true;
            request.midi = a == kMidiOption;
            request.source = args[i + 1];
            request.out = args[i + 2];
            i += 3;
        } else if (a == kTuningOption && !have_tuning && i + 1 < args.size() &&
                   (args[i + 1] == "mts" || args[i + 1] == "bend")) {
            have_tuning = true;
            request.tuning = args[i + 1] == "mts" ? MidiTuning::mts : MidiTuning::bend;
            i += 2;
        } else {
            why = in_quotes(a) + " burada kullanılamaz";
            return std::nullopt;
        }
    }
    if (have_tuning && !request.midi) {
        why = std::string(kTuningOption) + " yalnız " + kMidiOption + " ile kullanılır";
        return std::nullopt;
    }
    return request;
}

}  // namespace

bool is_export_command(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == kMidiOption || a == kScoreOption; });
}

std::optional<int> run_export_command(const std::vector<std::string>& args,
                                      const std::filesystem::path& program_folder,
                                      std::ostream& out, std::ostream& err,
                                      const std::optional<std::filesystem::path>& tuning) {
    if (!is_export_command(args)) return std::nullopt;
    std::string why;
    const auto request = parse_request(args, why);
    if (!request) {
        err << "orvena: " << why << "\n" << kUsage << "\n";
        return 2;
    }
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, program_folder, tuning)) {
        err << "orvena: " << *problem << "\n";
        return 1;
    }
    const OutputRules rules{
        {program_folder},
        tuning ? tuning_source_files(*tuning) : std::vector<std::filesystem::path>{},
        true};
    const ExportResult result =
        request->midi
            ? export_midi({request->source, request->out, program_folder, kStartAccidentals,
                           request->tuning, rules},
                          st)
            : export_musicxml({request->source, request->out, kStartAccidentals, rules}, st);
    if (result.status != ExportResult::Status::written) {
        err << "orvena: " << export_failure_text(request->source, result) << "\n";
        return 1;
    }
    out << "orvena: " << in_quotes(request->out) << " yazıldı\n";
    return 0;
}

}  // namespace orvena
