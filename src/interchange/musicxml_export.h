#pragma once
// MusicXML export of a sequence file: its notes and rests as a score a score editor opens,
// spelled as the instrument's staff draws them, with the exact pitch each note sounds at the
// levers in force. Shared by the window's menu entry and the command line. Event thread only.

#include <filesystem>

#include "interchange/export_result.h"
#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kMusicXmlExportMenuText = "MusicXML olarak dışa aktar…";

struct MusicXmlExportJob {
    std::filesystem::path source;                            // a ".ses" file
    std::filesystem::path out;                               // the MusicXML file to write
    AccidentalSource levers = AccidentalSource::Instrument;  // the sequence's "arızalar"
    OutputRules rules;  // where the file may be written (the source is never its target)
};

// Quarter notes a minute at `speed` ms per unit (a quarter is 16 units).
double quarters_per_minute(int speed);

// Writes job.out from job.source at the state st (levers, pitch level, speed, tuning).
// Nothing is written unless the whole file reads as the sequence player reads it; a cancel
// or a failure leaves job.out as it was.
ExportResult export_musicxml(const MusicXmlExportJob& job, const InstrumentState& st,
                             const ExportProgress& progress = {});

}  // namespace orvena
