#include "sound/pulse_connection.h"

namespace orvena {

PulseConnection::~PulseConnection() {
    if (loop_ == nullptr) return;
    pa_threaded_mainloop_lock(loop_);
    forget_callbacks();
    if (stream != nullptr) {
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

bool PulseConnection::connect(Clock::time_point deadline, std::string& why_not) {
    loop_ = pa_threaded_mainloop_new();
    if (loop_ == nullptr) {
        why_not = "ses sunucusunun olay döngüsü kurulamadı";
        return false;
    }
    pa_threaded_mainloop_lock(loop_);
    context = pa_context_new(pa_threaded_mainloop_get_api(loop_), "ORVENA");
    if (context == nullptr ||
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop_) < 0) {
        why_not = context == nullptr ? "ses sunucusu yok"
                                     : std::string("ses sunucusuna bağlanılamadı: ") +
                                           pa_strerror(pa_context_errno(context));
        return false;
    }
    const bool answered = wait_until(deadline, [this] {
        const pa_context_state_t s = pa_context_get_state(context);
        return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
    });
    if (!answered) {
        why_not = kServerTooSlow;
        return false;
    }
    if (pa_context_get_state(context) != PA_CONTEXT_READY) {
        why_not = std::string("ses sunucusu yok: ") + pa_strerror(pa_context_errno(context));
        return false;
    }
    return true;
}

bool PulseConnection::finish(pa_operation* op, Clock::time_point deadline) {
    if (op == nullptr) return false;
    const bool done =
        wait_until(deadline, [op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
    pa_operation_unref(op);
    return done;
}

void PulseConnection::forget_callbacks() {
    if (stream != nullptr) {
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
    }
    if (context != nullptr) pa_context_set_state_callback(context, nullptr, nullptr);
}

bool ask_server(PulseConnection& c, PulseConnection::Clock::time_point deadline,
                ServerFacts& facts) {
    auto on_info = [](pa_context*, const pa_server_info* info, void* out) {
        auto* f = static_cast<ServerFacts*>(out);
        if (info->default_sink_name != nullptr) f->default_sink = info->default_sink_name;
        if (info->sample_spec.rate != 0) f->rate = info->sample_spec.rate;
    };
    return c.finish(pa_context_get_server_info(c.context, on_info, &facts), deadline);
}

}  // namespace orvena
