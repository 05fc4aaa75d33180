#pragma once
// MIDI export of a recording ("kayıt.txt") or a sequence file: the notes the WAV export would
// render, at the same times, into a Standard MIDI File that plays in the instrument's tuning.
// Shared by the window's menu entry and the command line. Event thread only.

#include <filesystem>

#include "interchange/export_result.h"
#include "interchange/midi_file.h"
#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kMidiExportMenuText = "MIDI dosyası olarak dışa aktar…";

struct MidiExportJob {
    std::filesystem::path source;         // a recording or a ".ses" file
    std::filesystem::path out;            // the MIDI file to write
    std::filesystem::path sample_folder;  // where the files of st.build.wav_files lie
    AccidentalSource levers = AccidentalSource::Instrument;  // a sequence's "arızalar"
    MidiTuning tuning = MidiTuning::mts;
    OutputRules rules;  // where the file may be written (the source is never its target)
};

// Writes job.out from job.source at the instrument's state st (levers, pitch level, speed,
// tuning). Nothing is written unless the source is sound throughout; a cancel or a failure
// leaves job.out as it was.
ExportResult export_midi(const MidiExportJob& job, const InstrumentState& st,
                         const ExportProgress& progress = {});

}  // namespace orvena
