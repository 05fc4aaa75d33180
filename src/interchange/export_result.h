#pragma once
// What an export of a recording or a sequence file into a file for another program ended
// with, and what the window tells the user about it. Shared by the MIDI and MusicXML exports.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "files/safe_output.h"

namespace orvena {

// Called now and then with the share of the export done (0..1); false cancels it.
using ExportProgress = std::function<bool(double done)>;

struct ExportResult {
    enum class Status {
        written,
        cancelled,
        unreadable_source,
        bad_record,         // the record the players would stop at
        nothing_to_play,    // no note (MIDI) or no note and no rest (MusicXML)
        not_a_sequence,     // a score is made from a sequence file only
        too_long,           // beyond the times the file format can hold
        unreadable_sample,  // a sample the WAV export could not play either
        refused_output,     // a file the program owns, the source itself, a folder ...
        unwritable_output,
    };
    Status status = Status::written;
    int record = 0;  // bad_record: 1-based record number
    // Why: the reader's words for a bad record or an unreadable source; the whole Turkish
    // sentence naming the file for a refused or unwritable output.
    std::string detail;
};

// The Turkish message for a result, naming the kind of file written ("MIDI", "MusicXML");
// empty for written and cancelled.
std::string export_message(const std::string& kind, const std::filesystem::path& source,
                           const ExportResult& result);

// The same for the command line, the source named in quotes, without a final stop.
std::string export_failure_text(const std::filesystem::path& source, const ExportResult& result);

// The text of an export's source (a regular file of at most kMaxTextFileBytes), or an
// unreadable_source result saying why not.
std::optional<ExportResult> read_export_source(const std::filesystem::path& source,
                                               std::string& text);

// Writes the whole of `bytes` to `out` under `rules`, the source being one of the files it
// may never be, or nothing: written, refused_output or unwritable_output.
ExportResult save_export(const std::filesystem::path& out, const std::string& bytes,
                         OutputRules rules, const std::filesystem::path& source);

}  // namespace orvena
