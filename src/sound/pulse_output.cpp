#include "sound/pulse_output.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "sound/mixer.h"

namespace orvena {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameBytes = 2 * sizeof(float);
constexpr unsigned kFallbackRate = 48000;
constexpr unsigned kStartBlocks = 2;
constexpr unsigned kMaxTargetBlocks = 4;

// One connection to the server, served by a mainloop thread of its own. Its members are
// touched with the loop locked.
class PulseConnection {
  public:
    PulseConnection() = default;
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    ~PulseConnection() {
        if (loop_ == nullptr) return;
        pa_threaded_mainloop_lock(loop_);
        if (stream != nullptr) {
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            pa_stream_set_underflow_callback(stream, nullptr, nullptr);
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
        }
        if (context != nullptr) {
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }

    // Leaves the loop (when there is one) locked on success and on failure alike.
    bool connect(Clock::time_point deadline, std::string& why_not) {
        loop_ = pa_threaded_mainloop_new();
        if (loop_ == nullptr) {
            why_not = "the sound server's mainloop could not be made";
            return false;
        }
        pa_threaded_mainloop_lock(loop_);
        context = pa_context_new(pa_threaded_mainloop_get_api(loop_), "ORVENA");
        if (context == nullptr ||
            pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop_) < 0) {
            why_not =
                context == nullptr ? "no sound server" : pa_strerror(pa_context_errno(context));
            return false;
        }
        const bool answered = wait_until(deadline, [this] {
            const pa_context_state_t s = pa_context_get_state(context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        if (!answered) {
            why_not = "the sound server did not answer in time";
            return false;
        }
        if (pa_context_get_state(context) != PA_CONTEXT_READY) {
            why_not = std::string("no sound server: ") + pa_strerror(pa_context_errno(context));
            return false;
        }
        return true;
    }

    // Called with the loop locked; lets the loop run between looks.
    template <class Done>
    bool wait_until(Clock::time_point deadline, Done done) {
        while (!done()) {
            if (Clock::now() >= deadline) return false;
            pa_threaded_mainloop_unlock(loop_);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            pa_threaded_mainloop_lock(loop_);
        }
        return true;
    }

    // Waits for a server operation (and drops it); false when it did not finish in time.
    bool finish(pa_operation* op, Clock::time_point deadline) {
        if (op == nullptr) return false;
        const bool done = wait_until(
            deadline, [op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
        pa_operation_unref(op);
        return done;
    }

    void lock() const {
        if (loop_ != nullptr) pa_threaded_mainloop_lock(loop_);
    }
    void unlock() const {
        if (loop_ != nullptr) pa_threaded_mainloop_unlock(loop_);
    }

    pa_context* context = nullptr;
    pa_stream* stream = nullptr;

  private:
    pa_threaded_mainloop* loop_ = nullptr;
};

struct ServerFacts {
    std::string default_sink;
    unsigned rate = kFallbackRate;
};

bool ask_server(PulseConnection& c, Clock::time_point deadline, ServerFacts& facts) {
    auto on_info = [](pa_context*, const pa_server_info* info, void* out) {
        auto* f = static_cast<ServerFacts*>(out);
        if (info->default_sink_name != nullptr) f->default_sink = info->default_sink_name;
        if (info->sample_spec.rate != 0) f->rate = info->sample_spec.rate;
    };
    return c.finish(pa_context_get_server_info(c.context, on_info, &facts), deadline);
}

class PulseOutput final : public AudioOutput {
  public:
    bool open(const std::string& sink, unsigned block_frames, std::string& why_not,
              Clock::time_point deadline) {
        const bool connected = c_.connect(deadline, why_not);
        struct Unlock {
            PulseConnection& c;
            ~Unlock() { c.unlock(); }
        } unlock_at_return{c_};
        if (!connected) return false;
        ServerFacts facts;
        if (!ask_server(c_, deadline, facts)) {
            why_not = "the sound server did not answer in time";
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
        block_ = block_frames;
        const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, rate_, 2};
        c_.stream = pa_stream_new(c_.context, "ORVENA", &format, nullptr);
        if (c_.stream == nullptr) {
            why_not = pa_strerror(pa_context_errno(c_.context));
            return false;
        }
        pa_stream_set_write_callback(c_.stream, &on_write, this);
        pa_stream_set_underflow_callback(c_.stream, &on_underflow, this);
        // Two blocks in the server's hands, asked for one block at a time.
        const pa_buffer_attr attr = buffer_attr(block_, target_blocks_);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(c_.stream, sink.empty() ? nullptr : sink.c_str(), &attr,
                                       flags, nullptr, nullptr) < 0) {
            why_not = pa_strerror(pa_context_errno(c_.context));
            return false;
        }
        const bool ready = c_.wait_until(deadline, [this] {
            const pa_stream_state_t s = pa_stream_get_state(c_.stream);
            return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
        });
        if (!ready || pa_stream_get_state(c_.stream) != PA_STREAM_READY) {
            why_not = ready ? pa_strerror(pa_context_errno(c_.context))
                            : "the sound server did not open the stream in time";
            return false;
        }
        // The first timing report, so that the latency is known from the start, even if the
        // stream drops out before anyone asks.
        c_.wait_until(std::min(deadline, Clock::now() + std::chrono::milliseconds(300)), [this] {
            pa_usec_t usec = 0;
            int negative = 0;
            if (pa_stream_get_latency(c_.stream, &usec, &negative) != 0 || negative != 0 ||
                usec == 0)
                return false;
            last_latency_ = static_cast<double>(usec) / 1e6;
            return true;
        });
        const char* device = pa_stream_get_device_name(c_.stream);
        name_ = std::string("pulse '") + (device != nullptr ? device : "default") + "'";
        return true;
    }

    ~PulseOutput() override { stop(); }

    double sample_rate() const override { return rate_; }
    bool start(Mixer& mixer) override {
        c_.lock();
        mixer_ = &mixer;
        c_.unlock();
        return true;
    }
    void stop() override {
        // Callbacks run with the loop locked: once this returns, none holds the mixer.
        c_.lock();
        mixer_ = nullptr;
        c_.unlock();
    }
    double latency_seconds() const override {
        pa_usec_t usec = 0;
        int negative = 0;
        c_.lock();
        const int got = pa_stream_get_latency(c_.stream, &usec, &negative);
        c_.unlock();
        // Just after a dropout the stream reads ahead of itself (negative): the last real
        // figure stands until there is a new one.
        if (got == 0 && negative == 0 && usec > 0) last_latency_ = static_cast<double>(usec) / 1e6;
        return last_latency_;
    }
    std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }
    unsigned block_frames() const override { return block_; }
    bool is_device() const override { return true; }
    std::string description() const override { return name_; }

  private:
    // On the mainloop thread, loop locked: the server wants nbytes more.
    static void on_write(pa_stream* stream, std::size_t nbytes, void* self_ptr) {
        auto* self = static_cast<PulseOutput*>(self_ptr);
        while (nbytes >= kFrameBytes) {
            void* data = nullptr;
            std::size_t n = nbytes;
            if (pa_stream_begin_write(stream, &data, &n) < 0 || data == nullptr) return;
            n -= n % kFrameBytes;
            if (n == 0) {
                pa_stream_cancel_write(stream);
                return;
            }
            if (self->mixer_ != nullptr) {
                self->mixer_->render(static_cast<float*>(data), n / kFrameBytes, Mixer::now());
            } else {
                std::memset(data, 0, n);
            }
            pa_stream_write(stream, data, n, nullptr, 0, PA_SEEK_RELATIVE);
            nbytes -= std::min(n, nbytes);
        }
    }
    // The server ran dry: a machine this busy needs more sound in hand. Each dropout adds a
    // block to the target, up to kMaxTargetBlocks.
    static void on_underflow(pa_stream* stream, void* self_ptr) {
        auto* self = static_cast<PulseOutput*>(self_ptr);
        self->underruns_.fetch_add(1, std::memory_order_relaxed);
        if (self->mixer_ != nullptr) self->mixer_->note_dropout();
        if (self->target_blocks_ >= kMaxTargetBlocks) return;
        ++self->target_blocks_;
        pa_buffer_attr attr = buffer_attr(self->block_, self->target_blocks_);
        if (pa_operation* op = pa_stream_set_buffer_attr(stream, &attr, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
    }
    static pa_buffer_attr buffer_attr(unsigned block_frames, unsigned blocks) {
        const auto block_bytes = static_cast<std::uint32_t>(block_frames * kFrameBytes);
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = blocks * block_bytes;
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = block_bytes;
        attr.fragsize = static_cast<std::uint32_t>(-1);
        return attr;
    }

    mutable PulseConnection c_;
    Mixer* mixer_ = nullptr;  // guarded by the loop's lock
    std::atomic<std::uint64_t> underruns_{0};
    mutable double last_latency_ = 0.0;
    unsigned target_blocks_ = kStartBlocks;  // the server's target, in blocks; loop locked
    unsigned rate_ = kFallbackRate;
    unsigned block_ = 0;
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
            info.why_not = "the sound server did not list its outputs in time";
        }
        // The default sink first.
        for (std::size_t i = 1; i < info.devices.size(); ++i) {
            if (info.devices[i].id == facts.default_sink)
                std::swap(info.devices[0], info.devices[i]);
        }
        info.available = !info.devices.empty();
        if (!info.available && info.why_not.empty())
            info.why_not = "the sound server has no output";
    }
    c.unlock();
    return info;
}

std::unique_ptr<AudioOutput> open_pulse_output(const std::string& sink, unsigned block_frames,
                                               std::string& why_not,
                                               std::chrono::milliseconds answer_time) {
    auto out = std::make_unique<PulseOutput>();
    if (!out->open(sink, block_frames, why_not, Clock::now() + answer_time)) return nullptr;
    return out;
}

}  // namespace orvena
