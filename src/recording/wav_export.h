#pragma once
// WAV export of a recording ("kayıt.txt") or a sequence file: the whole source is checked
// first, as the players read it, then rendered offline into the WAV file. Shared by the
// window's menu entry and the command line. Event thread only.

#include <filesystem>
#include <string>

#include "recording/sequence_rules.h"
#include "recording/wav_render.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kWavExportMenuText = "WAV olarak dışa aktar...";

struct WavExportJob {
    std::filesystem::path source;                            // a recording or a ".ses" file
    std::filesystem::path out;                               // the WAV file to write
    std::filesystem::path sample_folder;                     // where the files of st.wav_files lie
    AccidentalSource levers = AccidentalSource::Instrument;  // a sequence's "arızalar"
};

struct WavExportResult {
    enum class Status {
        written,
        cancelled,
        unreadable_source,
        bad_record,       // the record the players would stop at
        nothing_to_play,  // no note and no rest
        unwritable_output,
    };
    Status status = Status::written;
    int record = 0;      // bad_record: 1-based record number
    std::string detail;  // why, in the reader's or the system's words
};

// Writes job.out from job.source at the instrument's state st (levers, pitch level, speed,
// tuning). Nothing is written unless the source is sound throughout; a cancel or a failure
// leaves job.out as it was.
WavExportResult export_wav(const WavExportJob& job, const InstrumentState& st,
                           const RenderProgress& progress = {});

// What the window tells the user about a result; empty for written and cancelled.
std::string wav_export_message(const WavExportJob& job, const WavExportResult& result);

}  // namespace orvena
