#pragma once
// Which output the program plays through, given the systems present and the player's
// choice, and the opening of it: the player's own choice first, then JACK, the sound
// server, ALSA, and in the end the silent output that says why.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sound/audio_host.h"

namespace orvena {

// The outputs to try, in order. Systems not available are left out.
std::vector<OutputRequest> output_candidates(const std::vector<AudioSystemInfo>& systems,
                                             const AudioChoice& choice);

struct OpenedOutput {
    std::unique_ptr<AudioOutput> output;   // never null: a NullOutput when nothing opened
    std::vector<AudioSystemInfo> systems;  // what was found, for the sound settings
    std::optional<OutputRequest> request;  // what opened the output; none for a NullOutput
};

// Tries every candidate in turn; tells `log` which output plays, or why the program is
// silent. Any thread.
OpenedOutput open_output(AudioHost& host, const AudioChoice& choice, std::ostream& log);

// One line for the log and the settings: system, device, block, latency, underruns.
std::string describe_output(const AudioOutput& output);

}  // namespace orvena
