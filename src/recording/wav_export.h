#pragma once
// WAV export of a recording ("kayıt.txt") or a sequence file: the whole source is checked
// first, as the players read it, then rendered offline into the WAV file. Shared by the
// window's menu entry and the command line. Event thread only.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "recording/sequence_rules.h"
#include "recording/wav_render.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kWavExportMenuText = "WAV olarak dışa aktar...";

struct WavExportJob {
    std::filesystem::path source;         // a recording or a ".ses" file
    std::filesystem::path out;            // the WAV file to write
    std::filesystem::path sample_folder;  // where the files of st.build.wav_files lie
    AccidentalSource levers = AccidentalSource::Instrument;  // a sequence's "arızalar"
    // Devices and FIFOs as the WAV file (the command line); the window writes files only.
    bool in_place_allowed = true;
    // Other files the render reads (the tuning system's), never its output either.
    std::vector<std::filesystem::path> also_read;
};

// Shows the progress of the render of a file of that many bytes; the reporter it returns is
// called while the render runs.
using ProgressStarter = std::function<RenderProgress(std::uint64_t file_bytes)>;

struct WavExportResult {
    enum class Status {
        written,
        cancelled,
        unreadable_source,
        bad_record,         // the record the players would stop at
        nothing_to_play,    // no note and no rest
        unwritable_output,  // refused, or it failed: detail is the sentence for the user
        unreadable_sample,  // detail names the sample file and why
        too_large,          // the file would not fit the free space: detail says both sizes
    };
    Status status = Status::written;
    int record = 0;                // bad_record: 1-based record number
    std::string detail;            // why, in the reader's or the system's words
    std::uint64_t file_bytes = 0;  // the size of the WAV file, once known
};

// The first sample the schedule sounds that cannot be decoded, as a sentence naming it and
// why; nothing when every one can. (The MIDI export refuses the same sources.)
std::optional<std::string> unreadable_sample(const RenderSchedule& schedule,
                                             const InstrumentBuild& build, SampleBank& bank);

// The rules job.out is checked by: no file the program owns (in the sample folder, which is
// the program folder), not the source.
OutputRules wav_output_rules(const WavExportJob& job);

// Writes job.out from job.source at the instrument's state st (levers, pitch level, speed,
// tuning). Nothing is written unless the target may be written, the source is sound
// throughout, every sample it plays can be read and the file fits the free space; a cancel or
// a failure leaves job.out as it was.
WavExportResult export_wav(const WavExportJob& job, const InstrumentState& st,
                           const ProgressStarter& start_progress = {});

// What the window tells the user about a result; empty for written and cancelled.
std::string wav_export_message(const WavExportJob& job, const WavExportResult& result);

}  // namespace orvena
