#pragma once
// The mixer that turns voice commands into the stereo stream of the sound device. It knows
// no device and no Qt: the event thread sends it small commands through a lock-free queue,
// and whoever plays the sound (the device's callback, or a test rendering offline) calls
// render(). render() never locks, allocates or touches a file.
//
// Voices: one plucked channel (a new pluck fades the last one out) and held voices named by
// an id the event thread chooses, at most kMaxVoices (64) sounding or fading at once. When
// all are busy a new voice takes over the one closest to the end of its fade; with none
// fading it is dropped, and dropped_voices() counts it. Each voice resamples its sample from the
// rate in its file header to the device rate with a windowed-sinc interpolator, and every
// cut or stop fades over about 3 ms so that no note ends in a click.
//
// Timing: every command carries the steady-clock moment it belongs to. A device renders with
// render(out, frames, asked_at): the mixer then knows where each moment falls in the stream
// and starts or stops the voice at that frame inside the block, a fixed lead later. So every
// note sounds the same lead after its moment, instead of 0..1 block late depending on where
// in the block its command arrived. render(out, frames) without a time applies every queued
// command at the start of the block.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/sample_data.h"
#include "sound/spsc_queue.h"
#include "sound/stream_clock.h"

namespace orvena {

class Mixer {
  public:
    static constexpr std::size_t kMaxVoices = 64;
    static constexpr double kFadeSeconds = 0.003;
    static constexpr float kVoiceGain = 0.5f;  // headroom for chords of many strings
    // A command whose moment lies further ahead than this (beyond the lead) is applied at
    // once rather than holding up the commands behind it.
    static constexpr double kLongestWaitSeconds = 0.1;
    using TimePoint = StreamClock::TimePoint;
    static TimePoint now() { return std::chrono::steady_clock::now(); }

    // device_rate_hz: frames per second that render() produces.
    explicit Mixer(double device_rate_hz, std::size_t queue_capacity = 256);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    double device_rate() const { return device_rate_; }

    // --- Event thread (the one producer). Each returns false when the command could not
    // be queued (queue full); nothing changes then. sample_rate_hz is the rate stored in
    // the sample's header: the data plays at that many frames per second. `at` is the moment
    // the command belongs to (a player keeping deadlines passes the deadline).
    bool start_pluck(const SampleData& sample, double sample_rate_hz, TimePoint at = now());
    bool cut_pluck(TimePoint at = now());
    bool start_held(std::uint32_t voice_id, const SampleData& sample, double sample_rate_hz,
                    TimePoint at = now());
    bool stop_held(std::uint32_t voice_id, TimePoint at = now());

    // How long after its moment a command takes effect in timed rendering. The device sets
    // a little more than one block, so that a command sent at its moment is queued before
    // the block holding moment + lead is rendered. Any thread.
    void set_lead(std::chrono::nanoseconds lead) { lead_ns_.store(lead.count()); }
    // The lead for a device that asks for `block_frames` at a time: one block and a margin,
    // so that a command sent at its moment is queued before the device asks for the block it
    // falls in, even when the device asks a little early. Any thread (the device's own, when
    // it changes its block as it plays).
    static constexpr double kLeadMarginSeconds = 0.001;
    void set_block_lead(unsigned block_frames) noexcept;

    // The memory render() reads besides the samples (tables, voices, the queue), to be kept
    // in RAM. Event thread.
    template <class Region>
    void for_each_region(Region region) const {
        region(phase_taps_.data(), phase_taps_.size() * sizeof(float));
        region(phase_deltas_.data(), phase_deltas_.size() * sizeof(float));
        region(kernel_.data(), kernel_.size() * sizeof(float));
        region(voices_.data(), voices_.size() * sizeof(Voice));
        region(this, sizeof *this);
        queue_.for_each_region(region);
    }

    // --- Audio thread (the one consumer), or a test rendering offline. Writes `frames`
    // frames of interleaved stereo float (left, right) into out. The timed form is called by
    // a device at the moment it asks for the block; each command then acts at its frame.
    void render(float* out, std::size_t frames) noexcept;
    void render(float* out, std::size_t frames, TimePoint asked_at) noexcept;
    // The device ran dry: its timeline moved, and the next timed render learns it afresh.
    // True when the gap was heard (a voice was sounding): a gap in silence costs nothing.
    bool note_dropout() noexcept {
        stream_clock_.forget();
        return active_voices() != 0;
    }

    // Drops every queued command and silences every voice at once, as a fresh mixer would be.
    // Only while nothing renders (between two outputs).
    void clear() noexcept;

    // Voices sounding or fading; read on the rendering thread only.
    std::size_t active_voices() const noexcept;
    // Voices not started because all kMaxVoices were sounding. Any thread.
    std::uint64_t dropped_voices() const { return dropped_voices_.load(std::memory_order_relaxed); }

  private:
    enum class Kind : std::uint8_t { start_pluck, cut_pluck, start_held, stop_held };
    struct Command {
        Kind kind;
        std::uint32_t id;
        const SampleData* sample;
        double step;  // input frames per output frame
        TimePoint at;
    };
    struct Voice {
        const SampleData* sample = nullptr;  // null: the slot is free
        std::uint32_t id = 0;
        bool pluck = false;
        std::int64_t index = 0;  // integer part of the read position
        double frac = 0.0;       // fractional part, 0 <= frac < 1
        double step = 1.0;
        float scale = 1.0f;  // kernel compression when the voice plays faster than 1:1
        int half_width = 8;  // taps each side
        float gain = 1.0f;
        float fade_step = 0.0f;
        int fade_left = 0;  // frames of fade still to go; 0 = not fading
    };

    bool send(const Command& c);
    bool next_command(Command& c) noexcept;
    std::size_t frame_in_block(const Command& c, std::size_t from, std::size_t frames,
                               bool timed) const noexcept;
    void render_block(float* out, std::size_t frames, bool timed) noexcept;
    void mix_voices(float* out, std::size_t from, std::size_t to) noexcept;
    void apply(const Command& c) noexcept;
    Voice* free_slot() noexcept;
    void begin_fade(Voice& v) noexcept;
    void release(Voice& v) noexcept;
    template <int Channels>
    void render_voice(Voice& v, float* out, std::size_t frames) noexcept;
    template <int Channels>
    void interpolate(const Voice& v, const float* at, double frac, float* value) const noexcept;

    double device_rate_;
    int fade_frames_;
    SpscQueue<Command> queue_;
    std::atomic<std::int64_t> lead_ns_{0};
    std::atomic<std::uint64_t> dropped_voices_{0};
    // Rendering thread: the frames rendered so far, where moments fall among them, and a
    // command taken from the queue whose frame lies in a later block.
    std::int64_t frames_rendered_ = 0;
    StreamClock stream_clock_;
    Command waiting_{};
    bool has_waiting_ = false;
    std::vector<Voice> voices_;
    Voice* pluck_ = nullptr;
    // Interpolation tables (see mixer.cpp).
    std::vector<float> phase_taps_;    // per phase: 16 weights, summing to 1
    std::vector<float> phase_deltas_;  // per phase: next phase's weights minus these
    std::vector<float> kernel_;        // the continuous kernel on [0, 8], for fast voices
};

}  // namespace orvena
