#pragma once
// The machine's own sound systems: JACK and ALSA through RtAudio, the sound server through
// libpulse. Any thread.

#include "sound/audio_host.h"

namespace orvena {

class SystemAudioHost final : public AudioHost {
  public:
    std::vector<AudioSystemInfo> systems() override;
    std::unique_ptr<AudioOutput> open(const OutputRequest& request, std::string& why_not) override;
};

}  // namespace orvena
