#include "sound/audio_output.h"

#include <RtAudio.h>

#if defined(ORVENA_QUIET_ALSA)
#include <alsa/asoundlib.h>
#endif

#include <algorithm>
#include <atomic>
#include <iostream>
#include <vector>

#include "sound/mixer.h"

namespace orvena {

namespace {

constexpr unsigned kPreferredRate = 48000;

class RtAudioOutput final : public AudioOutput {
  public:
    // Throws RtAudioError (or returns with an empty reason) when the device cannot be used.
    RtAudioOutput(RtAudio::Api api, std::string& why_not) : audio_(api) {
        audio_.showWarnings(false);
        if (audio_.getDeviceCount() == 0) {
            why_not = "no audio output device found";
            return;
        }
        const unsigned device = audio_.getDefaultOutputDevice();
        const RtAudio::DeviceInfo info = audio_.getDeviceInfo(device);
        if (!info.probed || info.outputChannels == 0) {
            why_not = "the default output device has no output channels";
            return;
        }
        channels_ = std::min(2u, info.outputChannels);
        unsigned rate = info.preferredSampleRate != 0 ? info.preferredSampleRate : kPreferredRate;
        if (std::find(info.sampleRates.begin(), info.sampleRates.end(), kPreferredRate) !=
            info.sampleRates.end()) {
            rate = kPreferredRate;
        }
        RtAudio::StreamParameters params;
        params.deviceId = device;
        params.nChannels = channels_;
        RtAudio::StreamOptions options;
        options.flags = RTAUDIO_MINIMIZE_LATENCY;
        options.streamName = "ORVENA";
        unsigned frames = kMaxDeviceBlockFrames;
        audio_.openStream(&params, nullptr, RTAUDIO_FLOAT32, rate, &frames, &callback, this,
                          &options);
        if (frames > kMaxDeviceBlockFrames) {
            audio_.closeStream();
            why_not = "the device will not play blocks of 256 frames or fewer";
            return;
        }
        rate_ = audio_.getStreamSampleRate();
        if (rate_ == 0) rate_ = rate;
        // A one-channel device gets the stereo mix folded down in a buffer made here, not
        // in the callback.
        scratch_.assign(2 * static_cast<std::size_t>(kMaxDeviceBlockFrames), 0.0f);
        name_ = info.name;
        open_ = true;
    }

    ~RtAudioOutput() override {
        stop();
        if (audio_.isStreamOpen()) audio_.closeStream();
    }

    bool ok() const { return open_; }
    double sample_rate() const override { return rate_; }
    bool start(Mixer& mixer) override {
        if (!open_) return false;
        mixer_ = &mixer;
        try {
            audio_.startStream();
        } catch (const RtAudioError&) {
            return false;
        }
        return true;
    }
    void stop() override {
        try {
            if (audio_.isStreamRunning()) audio_.stopStream();
        } catch (const RtAudioError&) {
        }
    }
    double latency_seconds() const override {
        auto& audio = const_cast<RtAudio&>(audio_);
        if (!open_ || rate_ == 0) return 0.0;
        return static_cast<double>(audio.getStreamLatency()) / rate_;
    }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }

  private:
    static int callback(void* out, void*, unsigned frames, double, RtAudioStreamStatus,
                        void* self_ptr) {
        auto* self = static_cast<RtAudioOutput*>(self_ptr);
        auto* dst = static_cast<float*>(out);
        if (self->channels_ == 2) {
            self->mixer_->render(dst, frames);
            return 0;
        }
        for (unsigned done = 0; done < frames;) {
            const unsigned n = std::min(frames - done, kMaxDeviceBlockFrames);
            self->mixer_->render(self->scratch_.data(), n);
            for (unsigned i = 0; i < n; ++i) {
                dst[done + i] = 0.5f * (self->scratch_[2 * i] + self->scratch_[2 * i + 1]);
            }
            done += n;
        }
        return 0;
    }

    RtAudio audio_;
    unsigned channels_ = 2;
    unsigned rate_ = 0;
    bool open_ = false;
    Mixer* mixer_ = nullptr;
    std::vector<float> scratch_;
    std::string name_;
};

std::atomic<bool> told_no_device{false};

#if defined(ORVENA_QUIET_ALSA)
void ignore_alsa_message(const char*, int, const char*, int, const char*, ...) {}
#endif

}  // namespace

std::unique_ptr<AudioOutput> open_default_output(std::ostream& log) {
    std::string why_not;
#if defined(ORVENA_QUIET_ALSA)
    snd_lib_error_set_handler(&ignore_alsa_message);
#endif
    // Each sound system in turn, asked with its warnings off (RtAudio's own search would
    // print them).
    std::vector<RtAudio::Api> apis;
    RtAudio::getCompiledApi(apis);
    for (const RtAudio::Api api : apis) {
        if (api == RtAudio::RTAUDIO_DUMMY) continue;
        try {
            auto out = std::make_unique<RtAudioOutput>(api, why_not);
            if (out->ok()) return out;
        } catch (const RtAudioError& e) {
            why_not = e.getMessage();
        } catch (const std::exception& e) {
            why_not = e.what();
        }
    }
    if (why_not.empty()) why_not = "the audio device could not be opened";
    if (!told_no_device.exchange(true)) {
        log << "ORVENA: playing silently (" << why_not << ")\n";
    }
    return std::make_unique<NullOutput>();
}

std::unique_ptr<AudioOutput> open_default_output() {
    return open_default_output(std::cerr);
}

}  // namespace orvena
