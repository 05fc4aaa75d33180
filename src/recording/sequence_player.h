#pragma once
// Sequence playback: the group "Velmora dosyası" plays a ".ses" file on the instrument. Each
// note is shown (strings, lever strip, staff, panel), sounded with the lever of the chosen
// accidental source and held for its note value at the speed of the speed bar; the counter
// box shows the record being played. Event thread only: the loop runs inside the click on
// the start button and lets window input run once per record, which is how the same button
// stops it.

#include <filesystem>
#include <functional>
#include <string>

#include "display/play_context.h"
#include "recording/sequence_rules.h"
#include "surface/clock.h"
#include "surface/event_pump.h"
#include "surface/surface.h"

namespace orvena {

inline constexpr const char* kSequenceFileError = "ses dosyasından kaynaklanan bir hata oluştu.";
inline constexpr const char* kSequenceIdleCaption = ">";
inline constexpr const char* kSequencePlayingCaption = "0";

// The window's part of a playback.
struct SequenceWindow {
    std::function<std::string()> file_name;               // Text2, without ".ses"
    std::function<AccidentalSource()> accidental_source;  // the selected "arızalar" option
    std::function<void(const char*)> set_button_caption;  // aç_kapa_buton
    // Frames 2, 3, 4, 1, 7 and 10: everything that could disturb a playback.
    std::function<void(bool enabled)> enable_frames;
};

struct SequencePlayback {
    PlayContext& play;
    Surface& Picture7;  // the record counter
    Clock& clock;
    EventPump& pump;
    std::filesystem::path folder;  // where the bare file name is looked up
    SequenceWindow window;
};

// The start/stop button: stops a running playback at its next record, or starts one.
void aç_kapa_buton_Click(SequencePlayback& p);

// Plays the file named in Text2 to its end, until stopped, or until a fault in the file,
// which is reported with the number of its record. Returns when the playback has ended.
void yürüt10(SequencePlayback& p);

// The name File3 puts into Text2: the chosen file name without its extension.
std::string sequence_name_of(const std::string& file_name);

}  // namespace orvena
