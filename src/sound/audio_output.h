#pragma once
// The sound device behind a small interface: the real one plays the mixer through RtAudio
// (default output device, float stereo, blocks of at most 256 frames); the null output is
// used when there is no device and stays silent. Event thread only; the device calls the
// mixer's render() on its own thread.

#include <iosfwd>
#include <memory>
#include <string>

namespace orvena {

class Mixer;

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Frames per second the output plays; the mixer renders at this rate.
    virtual double sample_rate() const = 0;
    // Starts pulling blocks from the mixer; false when nothing will be heard.
    virtual bool start(Mixer& mixer) = 0;
    // Stops pulling; after it returns the mixer is no longer called. Safe to call twice.
    virtual void stop() = 0;
    // Seconds from render() to the loudspeaker as the device reports it; 0 when unknown.
    virtual double latency_seconds() const = 0;
    virtual bool is_device() const = 0;
    virtual std::string description() const = 0;
};

class NullOutput final : public AudioOutput {
  public:
    explicit NullOutput(double rate_hz = 48000.0) : rate_(rate_hz) {}
    double sample_rate() const override { return rate_; }
    bool start(Mixer&) override { return false; }
    void stop() override {}
    double latency_seconds() const override { return 0.0; }
    bool is_device() const override { return false; }
    std::string description() const override { return "no sound device"; }

  private:
    double rate_;
};

constexpr unsigned kMaxDeviceBlockFrames = 256;

// Opens the default output device. When there is none, or it cannot be opened, returns a
// NullOutput and writes the reason to `log` (the first time only, per program run).
std::unique_ptr<AudioOutput> open_default_output(std::ostream& log);
std::unique_ptr<AudioOutput> open_default_output();  // logs to std::cerr

}  // namespace orvena
