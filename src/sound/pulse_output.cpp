#include "sound/pulse_output.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstring>

#include "sound/block_size_policy.h"
#include "sound/linux_scheduling.h"
#include "sound/mixer.h"
#include "sound/pulse_connection.h"

namespace orvena {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameBytes = 2 * sizeof(float);

// The server's own words come after ours: it does not speak the player's language.
std::string stream_refused(const PulseConnection& c) {
    return std::string("ses akışı açılamadı: ") + pa_strerror(pa_context_errno(c.context));
}

class PulseOutput final : public AudioOutput {
  public:
    PulseOutput(unsigned block_frames, bool block_fixed)
        : policy_(block_frames, block_fixed, Clock::now()),
          applied_(policy_.size()),
          block_(applied_.block_frames),
          blocks_(applied_.blocks) {}

    bool open(const std::string& sink, std::string& why_not, Clock::time_point deadline) {
        const bool connected = c_.connect(deadline, why_not);
        struct Unlock {
            PulseConnection& c;
            ~Unlock() { c.unlock(); }
        } unlock_at_return{c_};
        if (!connected) return false;
        ServerFacts facts;
        if (!ask_server(c_, deadline, facts)) {
            why_not = kServerTooSlow;
            return false;
        }
        // The sink's own rate, so that the server need not resample (nor delay) our sound.
        auto on_sink = [](pa_context*, const pa_sink_info* info, int eol, void* out) {
            if (eol == 0 && info != nullptr)
                static_cast<ServerFacts*>(out)->rate = info->sample_spec.rate;
        };
        const std::string& target = sink.empty() ? facts.default_sink : sink;
        if (!target.empty()) {
            c_.finish(pa_context_get_sink_info_by_name(c_.context, target.c_str(), on_sink, &facts),
                      deadline);
        }
        rate_ = facts.rate;
        if (!connect_stream(sink, why_not, deadline)) return false;
        // The first timing report, so that the latency is known from the start, even if the
        // stream drops out before anyone asks.
        c_.wait_until(std::min(deadline, Clock::now() + std::chrono::milliseconds(300)),
                      [this] { return note_latency(c_.stream); });
        const char* device = pa_stream_get_device_name(c_.stream);
        name_ = std::string("pulse '") + (device != nullptr ? device : "default") + "'";
        // From now on a server that goes away, or a stream it drops, makes the output lost.
        pa_context_set_state_callback(c_.context, &on_context_state, this);
        pa_stream_set_state_callback(c_.stream, &on_stream_state, this);
        return true;
    }

    ~PulseOutput() override {
        stop();
        c_.lock();
        c_.forget_callbacks();
        c_.unlock();
    }

    double sample_rate() const override { return rate_; }
    bool start(Mixer& mixer) override {
        c_.lock();
        mixer_ = &mixer;
        mixer.set_block_lead(applied_.block_frames);
        c_.unlock();
        return true;
    }
    void stop() override {
        // Callbacks run with the loop locked: once this returns, none holds the mixer.
        c_.lock();
        mixer_ = nullptr;
        c_.unlock();
    }
    // The figures below are kept by the loop's thread as it plays; reading them never waits
    // for it.
    double latency_seconds() const override {
        return static_cast<double>(latency_us_.load(std::memory_order_relaxed)) / 1e6;
    }
    std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }
    unsigned block_frames() const override { return block_.load(std::memory_order_relaxed); }
    unsigned buffer_blocks() const override { return blocks_.load(std::memory_order_relaxed); }
    SizeChange size_change() const override { return change_.load(std::memory_order_relaxed); }
    bool lost() const override { return lost_.load(std::memory_order_relaxed); }
    long feeder_thread() const override { return thread_id_.load(std::memory_order_relaxed); }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }

  private:
    bool connect_stream(const std::string& sink, std::string& why_not, Clock::time_point deadline) {
        const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, rate_, 2};
        c_.stream = pa_stream_new(c_.context, "ORVENA", &format, nullptr);
        if (c_.stream == nullptr) {
            why_not = stream_refused(c_);
            return false;
        }
        pa_stream_set_write_callback(c_.stream, &on_write, this);
        pa_stream_set_underflow_callback(c_.stream, &on_underflow, this);
        // A few blocks in the server's hands, asked for one block at a time.
        const pa_buffer_attr attr = buffer_attr(applied_);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(c_.stream, sink.empty() ? nullptr : sink.c_str(), &attr,
                                       flags, nullptr, nullptr) < 0) {
            why_not = stream_refused(c_);
            return false;
        }
        const bool ready = c_.wait_until(deadline, [this] {
            const pa_stream_state_t s = pa_stream_get_state(c_.stream);
            return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
        });
        if (!ready || pa_stream_get_state(c_.stream) != PA_STREAM_READY) {
            why_not = ready ? stream_refused(c_) : "ses sunucusu akışı zamanında açmadı";
            return false;
        }
        return true;
    }

    // Loop locked. Just after a dropout the stream reads ahead of itself (negative): the last
    // real figure stands until there is a new one.
    bool note_latency(pa_stream* stream) {
        pa_usec_t usec = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &usec, &negative) != 0 || negative != 0 || usec == 0)
            return false;
        latency_us_.store(static_cast<std::int64_t>(usec), std::memory_order_relaxed);
        return true;
    }

    // On the mainloop thread, loop locked: the server wants nbytes more.
    static void on_write(pa_stream* stream, std::size_t nbytes, void* self_ptr) {
        auto* self = static_cast<PulseOutput*>(self_ptr);
        if (self->thread_id_.load(std::memory_order_relaxed) == 0) {
            self->thread_id_.store(current_thread_id(), std::memory_order_relaxed);
        }
        self->policy_.tick(Clock::now());
        self->apply_size(stream);
        while (nbytes >= kFrameBytes) {
            void* data = nullptr;
            std::size_t n = nbytes;
            if (pa_stream_begin_write(stream, &data, &n) < 0 || data == nullptr) break;
            n -= n % kFrameBytes;
            if (n == 0) {
                pa_stream_cancel_write(stream);
                break;
            }
            if (self->mixer_ != nullptr) {
                self->mixer_->render(static_cast<float*>(data), n / kFrameBytes, Mixer::now());
            } else {
                std::memset(data, 0, n);
            }
            pa_stream_write(stream, data, n, nullptr, 0, PA_SEEK_RELATIVE);
            nbytes -= std::min(n, nbytes);
        }
        self->note_latency(stream);
    }
    // The server ran dry: a machine this busy may need more sound in hand (see the policy).
    // Only a gap that was heard counts: one in silence (while the samples load at the start,
    // between two pieces) would only make every later note late.
    static void on_underflow(pa_stream* stream, void* self_ptr) {
        auto* self = static_cast<PulseOutput*>(self_ptr);
        self->underruns_.fetch_add(1, std::memory_order_relaxed);
        if (self->mixer_ == nullptr || !self->mixer_->note_dropout()) return;
        self->policy_.underrun(Clock::now());
        self->apply_size(stream);
    }
    static void on_context_state(pa_context* context, void* self_ptr) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
            static_cast<PulseOutput*>(self_ptr)->lost_.store(true, std::memory_order_relaxed);
    }
    static void on_stream_state(pa_stream* stream, void* self_ptr) {
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
            static_cast<PulseOutput*>(self_ptr)->lost_.store(true, std::memory_order_relaxed);
    }

    // Loop locked: tells the server what the policy wants, when that changed.
    void apply_size(pa_stream* stream) {
        const BufferSize wanted = policy_.size();
        if (wanted == applied_) return;
        applied_ = wanted;
        change_.store(policy_.last_change(), std::memory_order_relaxed);
        const pa_buffer_attr attr = buffer_attr(wanted);
        if (pa_operation* op = pa_stream_set_buffer_attr(stream, &attr, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        if (mixer_ != nullptr) mixer_->set_block_lead(wanted.block_frames);
        block_.store(wanted.block_frames, std::memory_order_relaxed);
        blocks_.store(wanted.blocks, std::memory_order_relaxed);
    }
    static pa_buffer_attr buffer_attr(BufferSize size) {
        const auto block_bytes = static_cast<std::uint32_t>(size.block_frames * kFrameBytes);
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = size.blocks * block_bytes;
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = block_bytes;
        attr.fragsize = static_cast<std::uint32_t>(-1);
        return attr;
    }

    mutable PulseConnection c_;
    Mixer* mixer_ = nullptr;  // guarded by the loop's lock
    // The loop's thread only.
    BlockSizePolicy policy_;
    BufferSize applied_;
    // Kept by the loop's thread, read by any.
    std::atomic<std::uint64_t> underruns_{0};
    std::atomic<std::int64_t> latency_us_{0};
    std::atomic<unsigned> block_;
    std::atomic<unsigned> blocks_;
    std::atomic<SizeChange> change_{SizeChange::none};
    std::atomic<bool> lost_{false};
    std::atomic<long> thread_id_{0};
    unsigned rate_ = 48000;
    std::string name_;
};

}  // namespace

AudioSystemInfo probe_pulse(std::chrono::milliseconds answer_time) {
    AudioSystemInfo info{AudioApi::pulse, false, {}, {}};
    const Clock::time_point deadline = Clock::now() + answer_time;
    PulseConnection c;
    const bool connected = c.connect(deadline, info.why_not);
    if (connected) {
        ServerFacts facts;
        ask_server(c, deadline, facts);
        auto on_sink = [](pa_context*, const pa_sink_info* sink, int eol, void* out) {
            if (eol != 0 || sink == nullptr) return;
            static_cast<std::vector<AudioDevice>*>(out)->push_back(
                {sink->name, sink->description != nullptr ? sink->description : sink->name});
        };
        if (!c.finish(pa_context_get_sink_info_list(c.context, on_sink, &info.devices), deadline)) {
            info.why_not = "ses sunucusu çıkışlarını zamanında bildirmedi";
        }
        // The default sink first.
        for (std::size_t i = 1; i < info.devices.size(); ++i) {
            if (info.devices[i].id == facts.default_sink)
                std::swap(info.devices[0], info.devices[i]);
        }
        info.available = !info.devices.empty();
        if (!info.available && info.why_not.empty()) info.why_not = "ses sunucusunun çıkışı yok";
    }
    c.unlock();
    return info;
}

std::unique_ptr<AudioOutput> open_pulse_output(const std::string& sink, unsigned block_frames,
                                               std::string& why_not,
                                               std::chrono::milliseconds answer_time,
                                               bool block_fixed) {
    auto out = std::make_unique<PulseOutput>(block_frames, block_fixed);
    if (!out->open(sink, why_not, Clock::now() + answer_time)) return nullptr;
    return out;
}

}  // namespace orvena
