#pragma once
// The window's "MIDI dosyası olarak dışa aktar…" and "MusicXML olarak dışa aktar…" entries:
// the user picks a source (the recording or a sequence file of the program folder, as for the
// WAV export; a sequence file only for a score), for MIDI how the pitches travel, and a file;
// a file the export may not write (one of the program's, the source, a device) is refused with
// a message and the file dialog opens again, an existing file is replaced only when the user
// agrees; the export shows its progress, may be cancelled, and writes the whole file or
// nothing, which a notice then names. Event thread only.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interchange/export_result.h"
#include "interchange/midi_file.h"
#include "recording/sequence_rules.h"
#include "surface/dialogs.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kMidiExportTitle = "MIDI dosyası olarak dışa aktar";
inline constexpr const char* kMusicXmlExportTitle = "MusicXML olarak dışa aktar";
inline constexpr const char* kMidiSourcePrompt = "Dışa aktarılacak kayıt ya da ses dosyası:";
inline constexpr const char* kMusicXmlSourcePrompt = "Notaya dökülecek ses dosyası:";
inline constexpr const char* kNoMidiSourceMessage =
    "Dışa aktarılacak bir kayıt ya da ses dosyası bulunamadı.";
inline constexpr const char* kNoMusicXmlSourceMessage =
    "Notaya dökülecek bir ses dosyası bulunamadı.";
inline constexpr const char* kMidiTuningPrompt = "Perdeler nasıl aktarılsın?";
struct MidiTuningChoice {
    const char* text;
    MidiTuning tuning;
};
// The two ways, in the order the dialog lists them.
inline constexpr MidiTuningChoice kMidiTuningChoices[] = {
    {"MIDI ayar standardı (MTS): her notanın tam perdesi", MidiTuning::mts},
    {"Nota başına perde bükme (MPE biçimi), MTS bilmeyen çalgılar için", MidiTuning::bend},
};
inline constexpr const char* kMidiProgressText = "MIDI dosyası yazılıyor...";
inline constexpr const char* kMusicXmlProgressText = "MusicXML dosyası yazılıyor...";

// What an export asks the user; each chooser answers nothing when the user backs out.
struct ExportQuestions {
    std::function<std::optional<std::filesystem::path>(const std::vector<std::filesystem::path>&)>
        choose_source;
    std::function<std::optional<MidiTuning>()> choose_tuning;  // MIDI only
    // suggested: a file name after the source's.
    std::function<std::optional<std::filesystem::path>(const std::string& suggested)> choose_output;
    // Shows the progress of one export until the returned reporter is gone.
    std::function<ExportProgress()> show_progress;
};

struct ExportPlace {
    std::filesystem::path program_folder;  // the sequence files and the program's own files
    std::filesystem::path recording;       // the recording, when it exists
    std::filesystem::path sample_folder;   // where the files of st.build.wav_files lie
    AccidentalSource sequence_levers = AccidentalSource::Instrument;  // Option2
    std::filesystem::path output_folder;              // where the file dialog first opens
    std::vector<std::filesystem::path> tuning_files;  // the scale played: read, never written
};

// What the player is told once the file is written: its kind ("MIDI") and where it went.
std::string export_done_notice(const std::string& kind, const std::filesystem::path& out);

void midi_export_Click(const InstrumentState& st, Dialogs& dialogs, const ExportPlace& place,
                       const ExportQuestions& ask);
void musicxml_export_Click(const InstrumentState& st, Dialogs& dialogs, const ExportPlace& place,
                           const ExportQuestions& ask);

}  // namespace orvena
