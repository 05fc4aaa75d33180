#include "sound/system_audio_host.h"

#include "sound/pulse_output.h"
#include "sound/rtaudio_output.h"

namespace orvena {

std::vector<AudioSystemInfo> SystemAudioHost::systems() {
    return {probe_rtaudio(AudioApi::jack), probe_pulse(), probe_rtaudio(AudioApi::alsa)};
}

std::unique_ptr<AudioOutput> SystemAudioHost::open(const OutputRequest& request,
                                                   std::string& why_not) {
    if (request.api == AudioApi::pulse) {
        return open_pulse_output(request.device, request.block_frames, why_not, kPulseAnswerTime,
                                 request.block_fixed);
    }
    return open_rtaudio_output(request.api, request.device, request.block_frames, why_not);
}

}  // namespace orvena
