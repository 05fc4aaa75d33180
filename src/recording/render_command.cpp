#include "recording/render_command.h"

#include <algorithm>

#include "recording/wav_export.h"
#include "surface/file_list.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {

namespace {

constexpr const char* kUsage = "usage: orvena --render FILE OUT.wav";
// The sequence player's "arızalar" as the window starts: the file's accidentals.
constexpr AccidentalSource kStartAccidentals = AccidentalSource::Conditional;

}  // namespace

std::optional<std::string> start_render_instrument(
    InstrumentState& st, const std::filesystem::path& folder,
    const std::optional<std::filesystem::path>& tuning) {
    set_lever_limits(st);
    const std::filesystem::path workbook = folder / st.workbook_name;
    if (const auto failure = import_tuning(st, workbook)) {
        return workbook.string() + ": " + failure->cell + ": " + failure->reason;
    }
    if (tuning) {
        try {
            use_tuning_file(st, *tuning, folder);
        } catch (const ScalaFileError& e) {
            return std::string("akort sistemi yüklenemedi: ") + e.what();
        }
    }
    const std::vector<std::string> samples = list_matching_files(folder, "*.wav");
    st.wav_file_count = std::min<int>(static_cast<int>(samples.size()), kWavFileSlots);
    for (int i = 0; i < st.wav_file_count; ++i)
        st.wav_files[i] = samples[static_cast<std::size_t>(i)];
    st.speed = kStartSpeed;
    return std::nullopt;
}

namespace {

std::string failure_text(const WavExportJob& job, const WavExportResult& r) {
    using Status = WavExportResult::Status;
    const std::string source = job.source.string();
    switch (r.status) {
        case Status::unreadable_source:
            return source + ": cannot be read (" + r.detail + ")";
        case Status::bad_record:
            return source + ": record " + std::to_string(r.record) + ": " + r.detail;
        case Status::nothing_to_play:
            return source + ": no note or rest to play";
        case Status::unwritable_output:
            return "cannot write " + job.out.string() + ": " + r.detail;
        case Status::written:
        case Status::cancelled:
            break;
    }
    return "the render stopped";
}

}  // namespace

bool is_render_command(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--render") != args.end();
}

std::optional<int> run_render_command(const std::vector<std::string>& args,
                                      const std::filesystem::path& program_folder,
                                      std::ostream& out, std::ostream& err,
                                      const std::optional<std::filesystem::path>& tuning) {
    if (!is_render_command(args)) return std::nullopt;
    if (args.size() != 3 || args[0] != "--render") {
        err << "orvena: --render takes a source file and a WAV file, and nothing else\n"
            << kUsage << "\n";
        return 2;
    }
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, program_folder, tuning)) {
        err << "orvena: " << *problem << "\n";
        return 1;
    }
    const WavExportJob job{args[1], args[2], program_folder, kStartAccidentals};
    const WavExportResult result = export_wav(job, st);
    if (result.status != WavExportResult::Status::written) {
        err << "orvena: " << failure_text(job, result) << "\n";
        return 1;
    }
    out << "orvena: wrote " << job.out.string() << " (48000 Hz, 24-bit stereo)\n";
    return 0;
}

}  // namespace orvena
