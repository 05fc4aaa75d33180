#pragma once
// The sound device behind a small interface: the real ones play the mixer through JACK,
// a PulseAudio stream or ALSA (float stereo, small blocks); the null output is used when
// there is no device and stays silent. Event thread only; the device calls the mixer's
// render() on its own thread. The figures (latency, underruns, block, lost) are published by
// the device's thread as it plays: reading them never waits for it.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "sound/block_size_policy.h"

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
    // Times the device ran out of sound since it opened (each a dropout heard).
    virtual std::uint64_t underruns() const { return 0; }
    // Frames the device asks for at a time; 0 for the null output. May change as the output
    // plays (more sound in hand after dropouts).
    virtual unsigned block_frames() const { return 0; }
    // Blocks kept in the device's or server's hands; 0 when the output does not say.
    virtual unsigned buffer_blocks() const { return 0; }
    // Why the block or the blocks in hand last moved by themselves.
    virtual SizeChange size_change() const { return SizeChange::none; }
    // The server went away or the device stopped: nothing more will be heard from it.
    virtual bool lost() const { return false; }
    // The kernel's id of the thread that calls the mixer; 0 until it is known.
    virtual long feeder_thread() const { return 0; }
    virtual bool is_device() const = 0;
    // The system and device ("pulse 'cap'"), or for the null output why it is silent.
    virtual std::string description() const = 0;
};

class NullOutput final : public AudioOutput {
  public:
    explicit NullOutput(double rate_hz = 48000.0, std::string why = "ses aygıtı yok")
        : rate_(rate_hz), why_(std::move(why)) {}
    double sample_rate() const override { return rate_; }
    bool start(Mixer&) override { return false; }
    void stop() override {}
    double latency_seconds() const override { return 0.0; }
    bool is_device() const override { return false; }
    std::string description() const override { return why_; }

  private:
    double rate_;
    std::string why_;
};

// Opens the output the machine's systems offer first (see output_choice.h). When there is
// none, or it cannot be opened, returns a NullOutput and writes the reason to `log` (the
// first time only, per program run).
std::unique_ptr<AudioOutput> open_default_output(std::ostream& log);
std::unique_ptr<AudioOutput> open_default_output();  // logs to std::cerr

}  // namespace orvena
