#include "sound/rtaudio_output.h"

#include <RtAudio.h>

#if defined(ORVENA_QUIET_ALSA)
#include <alsa/asoundlib.h>
#endif
#if defined(ORVENA_QUIET_JACK)
#include <jack/jack.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "sound/linux_scheduling.h"
#include "sound/mixer.h"

namespace orvena {

namespace {

constexpr unsigned kPreferredRate = 48000;
constexpr const char* kCannotOpen = "aygıt açılamadı";
// A started device that has not asked for sound for this long has stopped (unplugged, or
// its server gone).
constexpr std::chrono::milliseconds kSilentDeviceTime{1000};

std::int64_t steady_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

#if defined(ORVENA_QUIET_ALSA)
void ignore_alsa_message(const char*, int, const char*, int, const char*, ...) {}
#endif
#if defined(ORVENA_QUIET_JACK)
void ignore_jack_message(const char*) {}
#endif

RtAudio::Api rtaudio_api(AudioApi api) {
    return api == AudioApi::jack ? RtAudio::UNIX_JACK : RtAudio::LINUX_ALSA;
}

// ALSA reports a missing device on stderr by itself, and a JACK client would start a server
// of its own; neither should happen while we only look.
void quiet_the_libraries() {
#if defined(ORVENA_QUIET_ALSA)
    snd_lib_error_set_handler(&ignore_alsa_message);
#endif
#if defined(ORVENA_QUIET_JACK)
    jack_set_error_function(&ignore_jack_message);
    jack_set_info_function(&ignore_jack_message);
#endif
    ::setenv("JACK_NO_START_SERVER", "1", 0);
}

bool compiled_in(RtAudio::Api api) {
    std::vector<RtAudio::Api> apis;
    RtAudio::getCompiledApi(apis);
    return std::find(apis.begin(), apis.end(), api) != apis.end();
}

class RtAudioOutput final : public AudioOutput {
  public:
    RtAudioOutput(AudioApi api, const std::string& device, unsigned block_frames,
                  std::string& why_not)
        : audio_(rtaudio_api(api)), api_(api) {
        audio_.showWarnings(false);
        const unsigned count = audio_.getDeviceCount();
        if (count == 0) {
            why_not = "çıkış aygıtı bulunamadı";
            return;
        }
        unsigned id = audio_.getDefaultOutputDevice();
        if (!device.empty()) {
            id = count;
            for (unsigned i = 0; i < count; ++i) {
                if (audio_.getDeviceInfo(i).name == device) id = i;
            }
            if (id == count) {
                why_not = "'" + device + "' adlı aygıt yok";
                return;
            }
        }
        const RtAudio::DeviceInfo info = audio_.getDeviceInfo(id);
        if (!info.probed || info.outputChannels == 0) {
            why_not = "aygıtın çıkış kanalı yok";
            return;
        }
        channels_ = std::min(2u, info.outputChannels);
        unsigned rate = info.preferredSampleRate != 0 ? info.preferredSampleRate : kPreferredRate;
        if (std::find(info.sampleRates.begin(), info.sampleRates.end(), kPreferredRate) !=
            info.sampleRates.end()) {
            rate = kPreferredRate;
        }
        RtAudio::StreamParameters params;
        params.deviceId = id;
        params.nChannels = channels_;
        RtAudio::StreamOptions options;
        options.flags = RTAUDIO_MINIMIZE_LATENCY;
        options.numberOfBuffers = 2;
        options.streamName = "ORVENA";
        unsigned frames = block_frames;
        audio_.openStream(&params, nullptr, RTAUDIO_FLOAT32, rate, &frames, &callback, this,
                          &options);
        rate_ = audio_.getStreamSampleRate();
        if (rate_ == 0) rate_ = rate;
        block_ = frames;
        // RtAudio counts the buffer behind the block being written; the block is ahead of it.
        latency_ = static_cast<double>(audio_.getStreamLatency() + block_) / rate_;
        // A one-channel device gets the stereo mix folded down in a buffer made here, not
        // in the callback.
        scratch_.assign(2 * static_cast<std::size_t>(kScratchFrames), 0.0f);
        name_ = std::string(api_name(api)) + " '" + info.name + "'";
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
            last_call_ns_.store(steady_ns(), std::memory_order_relaxed);
            audio_.startStream();
        } catch (const RtAudioError&) {
            return false;
        }
        running_.store(true, std::memory_order_relaxed);
        return true;
    }
    void stop() override {
        running_.store(false, std::memory_order_relaxed);
        try {
            if (audio_.isStreamRunning()) audio_.stopStream();
        } catch (const RtAudioError&) {
        }
    }
    double latency_seconds() const override { return latency_; }
    std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }
    bool lost() const override {
        const auto silent =
            std::chrono::nanoseconds(steady_ns() - last_call_ns_.load(std::memory_order_relaxed));
        return running_.load(std::memory_order_relaxed) && silent > kSilentDeviceTime;
    }
    long feeder_thread() const override { return thread_id_.load(std::memory_order_relaxed); }
    unsigned block_frames() const override { return block_; }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }

  private:
    static constexpr unsigned kScratchFrames = 256;

    static int callback(void* out, void*, unsigned frames, double, RtAudioStreamStatus status,
                        void* self_ptr) {
        auto* self = static_cast<RtAudioOutput*>(self_ptr);
        if (self->thread_id_.load(std::memory_order_relaxed) == 0) {
            self->thread_id_.store(current_thread_id(), std::memory_order_relaxed);
        }
        self->last_call_ns_.store(steady_ns(), std::memory_order_relaxed);
        if ((status & RTAUDIO_OUTPUT_UNDERFLOW) != 0) {
            self->underruns_.fetch_add(1, std::memory_order_relaxed);
            self->mixer_->note_dropout();
        }
        auto* dst = static_cast<float*>(out);
        const Mixer::TimePoint asked_at = Mixer::now();
        if (self->channels_ == 2) {
            self->mixer_->render(dst, frames, asked_at);
            return 0;
        }
        for (unsigned done = 0; done < frames;) {
            const unsigned n = std::min(frames - done, kScratchFrames);
            self->mixer_->render(self->scratch_.data(), n, asked_at);
            for (unsigned i = 0; i < n; ++i) {
                dst[done + i] = 0.5f * (self->scratch_[2 * i] + self->scratch_[2 * i + 1]);
            }
            done += n;
        }
        return 0;
    }

    RtAudio audio_;
    AudioApi api_;
    unsigned channels_ = 2;
    unsigned rate_ = 0;
    unsigned block_ = 0;
    double latency_ = 0.0;
    bool open_ = false;
    Mixer* mixer_ = nullptr;
    // Kept by the device's thread, read by any.
    std::atomic<std::uint64_t> underruns_{0};
    std::atomic<std::int64_t> last_call_ns_{0};
    std::atomic<long> thread_id_{0};
    std::atomic<bool> running_{false};
    std::vector<float> scratch_;
    std::string name_;
};

}  // namespace

AudioSystemInfo probe_rtaudio(AudioApi api) {
    quiet_the_libraries();
    AudioSystemInfo info{api, false, {}, {}};
    if (!compiled_in(rtaudio_api(api))) {
        info.why_not = "ses kitaplığında desteği yok";
        return info;
    }
    try {
        RtAudio audio(rtaudio_api(api));
        audio.showWarnings(false);
        const unsigned count = audio.getDeviceCount();
        const unsigned preferred = count == 0 ? 0 : audio.getDefaultOutputDevice();
        for (unsigned i = 0; i < count; ++i) {
            const RtAudio::DeviceInfo d = audio.getDeviceInfo(i);
            if (!d.probed || d.outputChannels == 0) continue;
            AudioDevice device{d.name, d.name};
            if (i == preferred) {
                info.devices.insert(info.devices.begin(), device);
            } else {
                info.devices.push_back(device);
            }
        }
    } catch (const RtAudioError& e) {
        info.why_not = "aygıtlar sorulamadı: " + e.getMessage();
    }
    info.available = !info.devices.empty();
    if (!info.available && info.why_not.empty()) {
        info.why_not = api == AudioApi::jack ? "çalışan JACK sunucusu yok" : "çıkış aygıtı yok";
    }
    return info;
}

std::unique_ptr<AudioOutput> open_rtaudio_output(AudioApi api, const std::string& device,
                                                 unsigned block_frames, std::string& why_not) {
    quiet_the_libraries();
    try {
        auto out = std::make_unique<RtAudioOutput>(api, device, block_frames, why_not);
        if (out->ok()) return out;
    } catch (const RtAudioError& e) {
        why_not = std::string(kCannotOpen) + ": " + e.getMessage();
    } catch (const std::exception& e) {
        why_not = std::string(kCannotOpen) + ": " + e.what();
    }
    if (why_not.empty()) why_not = kCannotOpen;
    return nullptr;
}

}  // namespace orvena
