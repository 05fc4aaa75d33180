#pragma once
// JACK and ALSA through RtAudio: what each offers, and an output on one of its devices.
// Any thread.

#include <memory>
#include <string>

#include "sound/audio_host.h"

namespace orvena {

// api: jack or alsa. A JACK server that is not running is reported as not available (it is
// never started for us).
AudioSystemInfo probe_rtaudio(AudioApi api);

// device: an id from probe_rtaudio, or empty for the system's default.
std::unique_ptr<AudioOutput> open_rtaudio_output(AudioApi api, const std::string& device,
                                                 unsigned block_frames, std::string& why_not);

}  // namespace orvena
