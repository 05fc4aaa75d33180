#include "interchange/export_result.h"

#include <QFile>
#include <QSaveFile>

#include "recording/performance_recorder.h"
#include "recording/render_schedule.h"
#include "recording/sequence_player.h"

namespace orvena {

std::string export_message(const std::string& kind, const std::filesystem::path& source,
                           const std::filesystem::path& out, const ExportResult& result) {
    using Status = ExportResult::Status;
    const std::string name = source.filename().string();
    switch (result.status) {
        case Status::written:
        case Status::cancelled:
            return {};
        case Status::unreadable_source:
            return name + " dosyası okunamadı.";
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
        case Status::unwritable_output:
            return kind + " dosyası yazılamadı:\r\n" + out.string() + "\r\n" + result.detail;
    }
    return {};
}

std::string export_failure_text(const std::filesystem::path& source,
                                const std::filesystem::path& out, const ExportResult& r) {
    using Status = ExportResult::Status;
    switch (r.status) {
        case Status::unreadable_source:
            return source.string() + ": cannot be read (" + r.detail + ")";
        case Status::bad_record:
            return source.string() + ": record " + std::to_string(r.record) + ": " + r.detail;
        case Status::nothing_to_play:
            return source.string() + ": no note to export";
        case Status::not_a_sequence:
            return source.string() + ": not a sequence file (.ses)";
        case Status::too_long:
            return source.string() + ": too long for the file format";
        case Status::unwritable_output:
            return "cannot write " + out.string() + ": " + r.detail;
        case Status::written:
        case Status::cancelled:
            break;
    }
    return "the export stopped";
}

std::string save_whole_file(const std::filesystem::path& out, const std::string& bytes) {
    QSaveFile file(QFile::decodeName(out.c_str()));
    if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.commit()) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why.empty() ? "the file could not be written" : why;
    }
    return {};
}

}  // namespace orvena
