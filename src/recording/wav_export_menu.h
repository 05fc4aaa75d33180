#pragma once
// The window's "WAV olarak dışa aktar..." entry: the user picks a source (the recording or a
// sequence file of the program folder) and a WAV file, watches the render's progress and may
// cancel it. Event thread only.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "recording/wav_export.h"
#include "surface/dialogs.h"

namespace orvena {

inline constexpr const char* kWavExportTitle = "WAV olarak dışa aktar";
inline constexpr const char* kWavSourcePrompt = "Dışa aktarılacak kayıt ya da ses dosyası:";
inline constexpr const char* kWavOutputTitle = "WAV dosyasının adını ve yerini seçin";
// The progress text: the size of the file in place of %1.
inline constexpr const char* kWavProgressText = "WAV dosyası yazılıyor (%1)...";
inline constexpr const char* kWavCancelText = "İptal";
inline constexpr const char* kNoWavSourceMessage =
    "Dışa aktarılacak bir kayıt ya da ses dosyası bulunamadı.";

// What the export asks the user; each chooser answers nothing when the user backs out.
struct WavExportQuestions {
    // One of the sources offered (never none).
    std::function<std::optional<std::filesystem::path>(const std::vector<std::filesystem::path>&)>
        choose_source;
    // suggested: the folder to open and the file name to offer for the WAV file.
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& suggested)>
        choose_output;
    // Shows the progress of one render of a file of file_bytes until the returned reporter is
    // gone.
    std::function<RenderProgress(std::uint64_t file_bytes)> show_progress;
};

struct WavExportPlace {
    std::filesystem::path sample_folder;                              // the program folder
    AccidentalSource sequence_levers = AccidentalSource::Instrument;  // Option2
    std::filesystem::path output_folder;              // where the file dialog first opens
    std::vector<std::filesystem::path> tuning_files;  // the scale played: read, never written
    std::vector<std::filesystem::path> sources;       // wav_export_sources: what may be exported
};

// Runs one export from the menu: without a source the user is told there is nothing to
// export; nothing is written when the user backs out or cancels, and every failure is told
// in Turkish. A WAV file the export may not write (a file of the
// program, the source, a device) is refused with a message and the file dialog opens again;
// an existing file is replaced only when the user says so. A finished file is named in a
// notice that leaves the window free.
void wav_export_Click(const InstrumentState& st, Dialogs& dialogs, const WavExportPlace& place,
                      const WavExportQuestions& ask);

// What the player is told once the WAV file is written: where it went.
std::string wav_export_done_notice(const WavExportJob& job);

// The sources the window offers: the recording when it exists, then the sequence files.
std::vector<std::filesystem::path> wav_export_sources(const std::filesystem::path& recording,
                                                      const std::filesystem::path& sequence_folder);

}  // namespace orvena
