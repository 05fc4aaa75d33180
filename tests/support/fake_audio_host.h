#pragma once
// A machine's sound systems as a test says they are: which systems answer, with which
// devices, and which outputs open. Outputs it opens play nothing and report the figures
// the test gives them.

#include <set>
#include <string>
#include <vector>

#include "sound/audio_host.h"

namespace orvena::test {

class FakeOutput final : public AudioOutput {
  public:
    FakeOutput(std::string name, unsigned block, double latency_s = 0.005)
        : name_(std::move(name)), block_(block), latency_(latency_s) {}
    double sample_rate() const override { return 48000.0; }
    bool start(Mixer&) override { return true; }
    void stop() override {}
    double latency_seconds() const override { return latency_; }
    std::uint64_t underruns() const override { return underruns_; }
    unsigned block_frames() const override { return block_; }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }
    std::uint64_t underruns_ = 0;

  private:
    std::string name_;
    unsigned block_;
    double latency_;
};

class FakeAudioHost final : public AudioHost {
  public:
    std::vector<AudioSystemInfo> present;
    // "api device" pairs that refuse to open ("alsa default", "pulse ").
    std::set<std::string> refusing;
    std::vector<OutputRequest> asked;

    std::vector<AudioSystemInfo> systems() override { return present; }
    std::unique_ptr<AudioOutput> open(const OutputRequest& request, std::string& why_not) override {
        asked.push_back(request);
        const std::string key = std::string(api_name(request.api)) + " " + request.device;
        if (refusing.count(key) != 0) {
            why_not = "refused " + key;
            return nullptr;
        }
        return std::make_unique<FakeOutput>(key, request.block_frames);
    }
};

// A system that answers with these device ids (the first the default), or one that does not.
AudioSystemInfo system_with(AudioApi api, std::vector<std::string> device_ids);
AudioSystemInfo system_without(AudioApi api, std::string why);

}  // namespace orvena::test
