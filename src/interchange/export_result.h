#pragma once
// What an export of a recording or a sequence file into a file for another program ended
// with, and what the window tells the user about it. Shared by the MIDI and MusicXML exports.

#include <filesystem>
#include <functional>
#include <string>

namespace orvena {

// Called now and then with the share of the export done (0..1); false cancels it.
using ExportProgress = std::function<bool(double done)>;

struct ExportResult {
    enum class Status {
        written,
        cancelled,
        unreadable_source,
        bad_record,       // the record the players would stop at
        nothing_to_play,  // no note (MIDI) or no note and no rest (MusicXML)
        not_a_sequence,   // a score is made from a sequence file only
        too_long,         // beyond the times the file format can hold
        unwritable_output,
    };
    Status status = Status::written;
    int record = 0;      // bad_record: 1-based record number
    std::string detail;  // why, in the reader's or the system's words
};

// The Turkish message for a result, naming the kind of file written ("MIDI", "MusicXML");
// empty for written and cancelled.
std::string export_message(const std::string& kind, const std::filesystem::path& source,
                           const std::filesystem::path& out, const ExportResult& result);

// The same for the command line, in English.
std::string export_failure_text(const std::filesystem::path& source,
                                const std::filesystem::path& out, const ExportResult& result);

// Writes the whole of `bytes` to `out` or nothing: a temporary file beside it is renamed over
// it once complete. The system's reason when it could not; empty on success.
std::string save_whole_file(const std::filesystem::path& out, const std::string& bytes);

}  // namespace orvena
