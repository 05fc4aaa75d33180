#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace orvena {

namespace {

// The interpolation kernel: a sinc low-pass with its cutoff a little below the sample's
// Nyquist frequency, shaped by a Kaiser window over 8 input frames each side. The phase
// table holds it at 1024 fractional positions; between them weights are interpolated
// linearly, which keeps the table error far below the window's own sidelobes.
constexpr int kPhases = 1024;
constexpr int kHalf = 8;
constexpr int kTaps = 2 * kHalf;
constexpr double kCutoff = 0.45;         // cycles per input frame
constexpr double kBeta = 8.0;            // Kaiser shape: about -80 dB sidelobes
constexpr double kMaxCompression = 4.0;  // beyond 4:1 a voice aliases rather than cost more
constexpr float kKneeLevel = 0.8f;       // above this the sum bends smoothly towards 1

double bessel_i0(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 50; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < 1e-17 * sum) break;
    }
    return sum;
}

double kernel_at(double u) {  // u in input frames, any sign
    u = std::abs(u);
    if (u >= kHalf) return 0.0;
    const double t = u / kHalf;
    const double window = bessel_i0(kBeta * std::sqrt(1.0 - t * t)) / bessel_i0(kBeta);
    const double arg = 2.0 * kCutoff * u;
    const double sinc =
        arg == 0.0 ? 1.0 : std::sin(std::numbers::pi * arg) / (std::numbers::pi * arg);
    return sinc * window;
}

using Lanes = float __attribute__((vector_size(16)));

inline Lanes load4(const float* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

float soft_limit(float x) {
    const float a = std::abs(x);
    if (a <= kKneeLevel) return x;
    // Slope 1 at the knee, approaching full scale only slowly: even every string at once
    // keeps its shape instead of flattening into a square wave.
    const float t = (a - kKneeLevel) / (1.0f - kKneeLevel);
    const float bent = kKneeLevel + (1.0f - kKneeLevel) * t / (1.0f + t);
    return std::copysign(bent, x);
}

}  // namespace

Mixer::Mixer(double device_rate_hz, std::size_t queue_capacity)
    : device_rate_(device_rate_hz),
      fade_frames_(std::max(1, static_cast<int>(std::lround(kFadeSeconds * device_rate_hz)))),
      queue_(queue_capacity),
      stream_clock_(device_rate_hz),
      voices_(kMaxVoices) {
    // Phase rows 0..kPhases; row j holds the weights of taps index-7 .. index+8 for a read
    // position index + j/kPhases, normalised so that every row passes DC unchanged.
    std::vector<double> rows(static_cast<std::size_t>((kPhases + 1) * kTaps));
    for (int j = 0; j <= kPhases; ++j) {
        const double frac = static_cast<double>(j) / kPhases;
        double sum = 0.0;
        for (int k = 0; k < kTaps; ++k) {
            const double w = kernel_at(frac + (kHalf - 1) - k);
            rows[static_cast<std::size_t>(j * kTaps + k)] = w;
            sum += w;
        }
        for (int k = 0; k < kTaps; ++k) rows[static_cast<std::size_t>(j * kTaps + k)] /= sum;
    }
    phase_taps_.resize(static_cast<std::size_t>(kPhases * kTaps));
    phase_deltas_.resize(phase_taps_.size());
    for (std::size_t i = 0; i < phase_taps_.size(); ++i) {
        phase_taps_[i] = static_cast<float>(rows[i]);
        phase_deltas_[i] = static_cast<float>(rows[i + kTaps] - rows[i]);
    }
    kernel_.resize(static_cast<std::size_t>(kHalf * kPhases + 2));
    for (std::size_t i = 0; i < kernel_.size(); ++i) {
        kernel_[i] = static_cast<float>(kernel_at(static_cast<double>(i) / kPhases));
    }
}

Mixer::~Mixer() {
    clear();
}

void Mixer::clear() noexcept {
    // Whatever is still queued or sounding gives its claim on the sample back, so the bank
    // may free it.
    Command c;
    while (next_command(c)) {
        if (c.sample != nullptr) c.sample->users().fetch_sub(1, std::memory_order_release);
    }
    for (Voice& v : voices_) {
        if (v.sample != nullptr) release(v);
    }
    stream_clock_.forget();
    frames_rendered_ = 0;
}

void Mixer::set_block_lead(unsigned block_frames) noexcept {
    const double seconds = static_cast<double>(block_frames) / device_rate_ + kLeadMarginSeconds;
    lead_ns_.store(std::llround(seconds * 1e9), std::memory_order_relaxed);
}

bool Mixer::send(const Command& c) {
    if (c.sample != nullptr) c.sample->users().fetch_add(1, std::memory_order_relaxed);
    if (queue_.push(c)) return true;
    if (c.sample != nullptr) c.sample->users().fetch_sub(1, std::memory_order_release);
    return false;
}

bool Mixer::start_pluck(const SampleData& sample, double sample_rate_hz, TimePoint at) {
    if (!(sample_rate_hz > 0.0)) return false;
    return send({Kind::start_pluck, 0, &sample, sample_rate_hz / device_rate_, at});
}

bool Mixer::cut_pluck(TimePoint at) {
    return send({Kind::cut_pluck, 0, nullptr, 0.0, at});
}

bool Mixer::start_held(std::uint32_t voice_id, const SampleData& sample, double sample_rate_hz,
                       TimePoint at) {
    if (!(sample_rate_hz > 0.0)) return false;
    return send({Kind::start_held, voice_id, &sample, sample_rate_hz / device_rate_, at});
}

bool Mixer::stop_held(std::uint32_t voice_id, TimePoint at) {
    return send({Kind::stop_held, voice_id, nullptr, 0.0, at});
}

bool Mixer::next_command(Command& c) noexcept {
    if (!has_waiting_) return queue_.pop(c);
    c = waiting_;
    has_waiting_ = false;
    return true;
}

// The frame of the block (from `from` on, so that commands keep their order) at which c acts;
// `frames` or more when it belongs to a later block.
std::size_t Mixer::frame_in_block(const Command& c, std::size_t from, std::size_t frames,
                                  bool timed) const noexcept {
    if (!timed || !stream_clock_.known()) return from;
    const auto lead = std::chrono::nanoseconds(lead_ns_.load(std::memory_order_relaxed));
    const std::int64_t ahead = stream_clock_.frame_at(c.at + lead) - frames_rendered_;
    const auto longest = static_cast<std::int64_t>(
        (kLongestWaitSeconds + static_cast<double>(lead.count()) * 1e-9) * device_rate_);
    if (ahead <= static_cast<std::int64_t>(from) || ahead > longest) return from;
    return std::min(static_cast<std::size_t>(ahead), frames);
}

Mixer::Voice* Mixer::free_slot() noexcept {
    for (Voice& v : voices_) {
        if (v.sample == nullptr) return &v;
    }
    // All busy: take over the voice closest to the end of its fade.
    Voice* best = nullptr;
    for (Voice& v : voices_) {
        if (v.fade_left > 0 && (best == nullptr || v.fade_left < best->fade_left)) best = &v;
    }
    if (best != nullptr) release(*best);
    return best;
}

void Mixer::begin_fade(Voice& v) noexcept {
    if (v.fade_left > 0) return;
    v.fade_left = fade_frames_;
    v.fade_step = 1.0f / static_cast<float>(fade_frames_);
    v.gain = 1.0f;
}

void Mixer::release(Voice& v) noexcept {
    v.sample->users().fetch_sub(1, std::memory_order_release);
    v.sample = nullptr;
    if (pluck_ == &v) pluck_ = nullptr;
}

void Mixer::apply(const Command& c) noexcept {
    switch (c.kind) {
        case Kind::cut_pluck:
            if (pluck_ != nullptr) begin_fade(*pluck_);
            pluck_ = nullptr;
            return;
        case Kind::stop_held:
            for (Voice& v : voices_) {
                if (v.sample != nullptr && !v.pluck && v.id == c.id) begin_fade(v);
            }
            return;
        case Kind::start_pluck:
        case Kind::start_held: {
            const bool pluck = c.kind == Kind::start_pluck;
            if (pluck && pluck_ != nullptr) {
                begin_fade(*pluck_);
                pluck_ = nullptr;
            }
            Voice* v = free_slot();
            if (v == nullptr) {
                c.sample->users().fetch_sub(1, std::memory_order_release);
                dropped_voices_.fetch_add(1, std::memory_order_relaxed);
                return;
            }
            *v = Voice{};
            v->sample = c.sample;
            v->id = c.id;
            v->pluck = pluck;
            v->step = c.step;
            if (c.step > 0.5 / kCutoff) {
                // Playing so much faster than the device that the kernel's cutoff would lie
                // above the device's Nyquist frequency: lower it by widening the kernel.
                v->scale = static_cast<float>(1.0 / std::min(c.step, kMaxCompression));
                v->half_width = static_cast<int>(std::ceil(kHalf / v->scale));
            }
            if (pluck) pluck_ = v;
            return;
        }
    }
}

template <int Channels>
__attribute__((always_inline)) inline void Mixer::interpolate(const Voice& v, const float* at,
                                                              double frac,
                                                              float* value) const noexcept {
    if (v.scale == 1.0f) {
        const double p = frac * kPhases;
        const int j = static_cast<int>(p);
        const float fp = static_cast<float>(p - j);
        const float* t = &phase_taps_[static_cast<std::size_t>(j * kTaps)];
        const float* d = &phase_deltas_[static_cast<std::size_t>(j * kTaps)];
        const float* x = at - (kHalf - 1) * Channels;
        if constexpr (Channels == 1) {
            // Four taps at a time; the compiler keeps each group in one vector register.
            Lanes acc = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int k = 0; k < kTaps; k += 4) {
                acc += (load4(t + k) + fp * load4(d + k)) * load4(x + k);
            }
            value[0] = (acc[0] + acc[1]) + (acc[2] + acc[3]);
            return;
        }
        float w[kTaps];
        for (int k = 0; k < kTaps; ++k) w[k] = t[k] + fp * d[k];
        for (int c = 0; c < Channels; ++c) {
            float lane[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int k = 0; k < kTaps; k += 4) {
                for (int l = 0; l < 4; ++l) lane[l] += w[k + l] * x[(k + l) * Channels + c];
            }
            value[c] = (lane[0] + lane[1]) + (lane[2] + lane[3]);
        }
        return;
    }
    // Compressed kernel: weights from the continuous table, normalised per frame.
    const float table_scale = v.scale * static_cast<float>(kPhases);
    const float limit = static_cast<float>(kHalf * kPhases);
    const float f = static_cast<float>(frac);
    float acc[2] = {0.0f, 0.0f};
    float sum = 0.0f;
    for (int n = 1 - v.half_width; n <= v.half_width; ++n) {
        const float u = std::abs(f - static_cast<float>(n)) * table_scale;
        if (u >= limit) continue;
        const auto i = static_cast<std::size_t>(u);
        const float w = kernel_[i] + (u - static_cast<float>(i)) * (kernel_[i + 1] - kernel_[i]);
        const float* x = at + n * Channels;
        for (int c = 0; c < Channels; ++c) acc[c] += w * x[c];
        sum += w;
    }
    for (int c = 0; c < Channels; ++c) value[c] = acc[c] / sum;
}

template <int Channels>
void Mixer::render_voice(Voice& v, float* out, std::size_t frames) noexcept {
    // The read position lives in locals for the block: stores to `out` could otherwise
    // alias the voice and force every field to be reloaded each frame.
    const float* base = v.sample->frame_ptr();
    const std::int64_t end = v.sample->frames();
    std::int64_t index = v.index;
    double frac = v.frac;
    const double step = v.step;
    float gain = v.gain;
    int fade_left = v.fade_left;
    const float fade_step = v.fade_step;
    bool ended = false;
    for (std::size_t i = 0; i < frames; ++i) {
        if (index >= end) {
            ended = true;
            break;
        }
        float value[2];
        interpolate<Channels>(v, base + index * Channels, frac, value);
        float g = kVoiceGain;
        if (fade_left > 0) {
            g *= gain;
            gain -= fade_step;
        }
        out[2 * i] += g * value[0];
        out[2 * i + 1] += g * value[Channels - 1];
        if (fade_left > 0 && --fade_left == 0) {
            ended = true;
            break;
        }
        frac += step;
        const auto whole = static_cast<std::int64_t>(frac);  // frac >= 0
        index += whole;
        frac -= static_cast<double>(whole);
    }
    v.index = index;
    v.frac = frac;
    v.gain = gain;
    v.fade_left = fade_left;
    if (ended) release(v);
}

void Mixer::mix_voices(float* out, std::size_t from, std::size_t to) noexcept {
    if (to <= from) return;
    for (Voice& v : voices_) {
        if (v.sample == nullptr) continue;
        if (v.sample->channels() == 1) {
            render_voice<1>(v, out + 2 * from, to - from);
        } else {
            render_voice<2>(v, out + 2 * from, to - from);
        }
    }
}

void Mixer::render_block(float* out, std::size_t frames, bool timed) noexcept {
    std::fill(out, out + 2 * frames, 0.0f);
    // The voices sound up to each command's frame, the command acts, and so on.
    std::size_t done = 0;
    Command c;
    while (next_command(c)) {
        const std::size_t at = frame_in_block(c, done, frames, timed);
        // Only a timed command waits for a later block; an untimed one acts now, even in a
        // render of no frames (an offline render uses that to apply what it has queued).
        if (timed && at >= frames) {
            waiting_ = c;
            has_waiting_ = true;
            break;
        }
        mix_voices(out, done, at);
        done = at;
        apply(c);
    }
    mix_voices(out, done, frames);
    frames_rendered_ += static_cast<std::int64_t>(frames);
    for (std::size_t i = 0; i < 2 * frames; ++i) out[i] = soft_limit(out[i]);
}

void Mixer::render(float* out, std::size_t frames) noexcept {
    render_block(out, frames, false);
}

void Mixer::render(float* out, std::size_t frames, TimePoint asked_at) noexcept {
    stream_clock_.block_asked(frames_rendered_, asked_at);
    render_block(out, frames, true);
}

std::size_t Mixer::active_voices() const noexcept {
    return static_cast<std::size_t>(std::count_if(
        voices_.begin(), voices_.end(), [](const Voice& v) { return v.sample != nullptr; }));
}

}  // namespace orvena
