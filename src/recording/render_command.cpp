#include "recording/render_command.h"

#include <algorithm>

#include "files/shown_text.h"
#include "recording/wav_export.h"
#include "surface/file_list.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {

namespace {

constexpr const char* kUsage = "kullanım: orvena --render DOSYA ÇIKTI.wav";
// The sequence player's "arızalar" as the window starts: the file's accidentals.
constexpr AccidentalSource kStartAccidentals = AccidentalSource::Conditional;

}  // namespace

std::optional<std::string> start_render_instrument(
    InstrumentState& st, const std::filesystem::path& folder,
    const std::optional<std::filesystem::path>& tuning) {
    set_lever_limits(st.build);
    const std::filesystem::path workbook = folder / st.build.workbook_name;
    if (const auto failure = import_tuning(st, workbook))
        return import_failure_line(workbook, *failure);
    if (tuning) {
        try {
            use_tuning_file(st, *tuning, folder);
        } catch (const ScalaFileError& e) {
            return std::string("akort sistemi yüklenemedi: ") + e.what();
        }
    }
    const std::vector<std::string> samples = list_matching_files(folder, "*.wav");
    st.build.wav_file_count = std::min<int>(static_cast<int>(samples.size()), kWavFileSlots);
    for (int i = 0; i < st.build.wav_file_count; ++i)
        st.build.wav_files[i] = samples[static_cast<std::size_t>(i)];
    st.transport.speed = kStartSpeed;
    return std::nullopt;
}

namespace {

std::string failure_text(const WavExportJob& job, const WavExportResult& r) {
    using Status = WavExportResult::Status;
    const std::string source = in_quotes(job.source);
    switch (r.status) {
        case Status::unreadable_source:
            return source + " okunamadı: " + r.detail;
        case Status::bad_record:
            return source + ", kayıt " + std::to_string(r.record) + ": " + r.detail;
        case Status::nothing_to_play:
            return source + " içinde çalınacak nota yok";
        case Status::unwritable_output:
        case Status::unreadable_sample:
        case Status::too_large:
            return r.detail;
        case Status::written:
        case Status::cancelled:
            break;
    }
    return "dışa aktarma durdu";
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
        err << "orvena: --render bir kaynak dosya ile bir WAV dosyası ister, başka bir şey değil\n"
            << kUsage << "\n";
        return 2;
    }
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, program_folder, tuning)) {
        err << "orvena: " << *problem << "\n";
        return 1;
    }
    WavExportJob job{args[1], args[2], program_folder, kStartAccidentals};
    if (tuning) job.also_read = tuning_source_files(*tuning);
    const WavExportResult result = export_wav(job, st, [&](std::uint64_t bytes) {
        out << "orvena: " << in_quotes(job.out) << " yazılıyor (" << size_text(bytes) << ")...\n"
            << std::flush;
        return RenderProgress{};
    });
    if (result.status != WavExportResult::Status::written) {
        err << "orvena: " << failure_text(job, result) << "\n";
        return 1;
    }
    out << "orvena: " << in_quotes(job.out) << " yazıldı (48000 Hz, 24 bit stereo)\n";
    return 0;
}

}  // namespace orvena
