#pragma once
// A machine's sound systems as a test says they are: which answer, with which devices, which
// outputs open. Outputs play nothing and report the figures the test sets, at any time.

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sound/audio_host.h"

namespace orvena::test {

// What every output of a host reports; changed by the test while they play.
struct FakeDevices {
    std::atomic<int> opened{0};
    std::atomic<int> lost_below{0};  // outputs opened before this many are lost
    std::atomic<unsigned> block{0};  // 0: the block asked for
    std::atomic<unsigned> blocks{2};
    std::atomic<SizeChange> change{SizeChange::none};
    std::atomic<long> thread{0};
    std::atomic<bool> gone{false};  // the server went away: nothing opens
};

class FakeOutput final : public AudioOutput {
  public:
    FakeOutput(std::string name, unsigned block, std::shared_ptr<FakeDevices> devices = nullptr)
        : name_(std::move(name)),
          block_(block),
          devices_(devices ? std::move(devices) : std::make_shared<FakeDevices>()),
          serial_(devices_->opened++) {}
    double sample_rate() const override { return 48000.0; }
    bool start(Mixer&) override { return true; }
    void stop() override {}
    double latency_seconds() const override { return 0.005; }
    unsigned block_frames() const override {
        const unsigned moved = devices_->block;
        return moved != 0 ? moved : block_;
    }
    unsigned buffer_blocks() const override { return devices_->blocks; }
    SizeChange size_change() const override { return devices_->change; }
    bool lost() const override { return serial_ < devices_->lost_below; }
    long feeder_thread() const override { return devices_->thread; }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }

  private:
    std::string name_;
    unsigned block_;
    std::shared_ptr<FakeDevices> devices_;
    int serial_;
};

class FakeAudioHost final : public AudioHost {
  public:
    std::vector<AudioSystemInfo> present;
    std::set<std::string> refusing;  // "api device" pairs that refuse to open ("pulse ")
    std::shared_ptr<FakeDevices> devices = std::make_shared<FakeDevices>();

    std::vector<AudioSystemInfo> systems() override { return present; }
    std::unique_ptr<AudioOutput> open(const OutputRequest& request, std::string& why_not) override {
        const std::string key = std::string(api_name(request.api)) + " " + request.device;
        if (refusing.count(key) == 0 && !devices->gone)
            return std::make_unique<FakeOutput>(key, request.block_frames, devices);
        why_not = "refused " + key;
        return nullptr;
    }
};

// A system that answers with these device ids (the first the default), or one that does not.
inline AudioSystemInfo system_with(AudioApi api, std::vector<std::string> device_ids) {
    AudioSystemInfo info{api, true, {}, {}};
    for (std::string& id : device_ids) info.devices.push_back({id, id});
    return info;
}
inline AudioSystemInfo system_without(AudioApi api, std::string why) {
    return AudioSystemInfo{api, false, std::move(why), {}};
}

}  // namespace orvena::test
