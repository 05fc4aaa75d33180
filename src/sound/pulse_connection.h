#pragma once
// One connection to the PulseAudio server, served by a mainloop thread of its own, and the
// server's answers the outputs need. Its members are touched with the loop locked. Any thread.

#include <pulse/pulseaudio.h>

#include <chrono>
#include <string>
#include <thread>

namespace orvena {

// Why there is no sound when the server is there but slow, as the player reads it.
inline constexpr const char* kServerTooSlow = "ses sunucusu zamanında yanıt vermedi";

class PulseConnection {
  public:
    using Clock = std::chrono::steady_clock;

    PulseConnection() = default;
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;
    ~PulseConnection();

    // Leaves the loop (when there is one) locked on success and on failure alike.
    bool connect(Clock::time_point deadline, std::string& why_not);

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
    bool finish(pa_operation* op, Clock::time_point deadline);

    // Loop locked: no callback of the stream or the context reaches its owner any more.
    void forget_callbacks();

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
    unsigned rate = 48000;
};

// The server's default sink and rate; false when it did not answer in time.
bool ask_server(PulseConnection& c, PulseConnection::Clock::time_point deadline,
                ServerFacts& facts);

}  // namespace orvena
