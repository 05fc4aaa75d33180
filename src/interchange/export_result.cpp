#include "interchange/export_result.h"

#include "files/shown_text.h"
#include "files/user_file.h"
#include "recording/performance_recorder.h"
#include "recording/render_schedule.h"
#include "recording/sequence_player.h"

namespace orvena {

std::string export_message(const std::string& kind, const std::filesystem::path& source,
                           const ExportResult& result) {
    using Status = ExportResult::Status;
    const std::string name = shown(source.filename());
    switch (result.status) {
        case Status::written:
        case Status::cancelled:
            return {};
        case Status::unreadable_source:
            return name + " dosyası okunamadı: " + result.detail + ".";
        case Status::bad_record:
            // The record's number first, as the players report it.
            return std::to_string(result.record) + "\r\n" +
                   (is_sequence_file(source) ? kSequenceFileError : kRecordFileErrorMessage);
        case Status::nothing_to_play:
            return name + " içinde çalınacak nota yok.";
        case Status::not_a_sequence:
            return name + " bir ses dosyası değil; nota yalnızca ses dosyalarından yazılır.";
        case Status::too_long:
            return name + " " + kind + " dosyasına sığmayacak kadar uzun.";
        case Status::unreadable_sample:
            return result.detail + "\r\n" + kind + " dosyası yazılmadı.";
        case Status::refused_output:
        case Status::unwritable_output:
            return result.detail;
    }
    return {};
}

std::string export_failure_text(const std::filesystem::path& source, const ExportResult& r) {
    using Status = ExportResult::Status;
    const std::string name = in_quotes(source);
    switch (r.status) {
        case Status::unreadable_source:
            return name + " okunamadı: " + r.detail;
        case Status::bad_record:
            return name + ", kayıt " + std::to_string(r.record) + ": " + r.detail;
        case Status::nothing_to_play:
            return name + " içinde dışa aktarılacak nota yok";
        case Status::not_a_sequence:
            return name + " bir ses dosyası (.ses) değil";
        case Status::too_long:
            return name + " bu dosya biçimine sığmayacak kadar uzun";
        case Status::unreadable_sample:
        case Status::refused_output:
        case Status::unwritable_output:
            return r.detail;
        case Status::written:
        case Status::cancelled:
            break;
    }
    return "dışa aktarma durdu";
}

std::optional<ExportResult> read_export_source(const std::filesystem::path& source,
                                               std::string& text) {
    UserFileRead read = read_user_file(source, kMaxTextFileBytes);
    if (read.problem)
        return ExportResult{ExportResult::Status::unreadable_source, 0, *read.problem};
    text = std::move(read.bytes);
    return std::nullopt;
}

ExportResult save_export(const std::filesystem::path& out, const std::string& bytes,
                         OutputRules rules, const std::filesystem::path& source) {
    using Status = ExportResult::Status;
    rules.inputs.push_back(source);
    if (auto why = output_refusal(out, rules)) return {Status::refused_output, 0, *why};
    if (auto why = save_file(out, bytes, rules)) return {Status::unwritable_output, 0, *why};
    return {Status::written, 0, {}};
}

}  // namespace orvena
